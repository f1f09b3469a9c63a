#include "worksheet/Worksheet.h"

#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

constexpr std::array<FieldInfo, kFieldCount> kFields = {{
    {Field::Tail, "Tail", "Text1", 6, true},
    {Field::Serial, "Serial", "Text2", 10, true},
    {Field::Make, "Make", "Text3", 13, true},
    {Field::Model, "Model", "Text4", 11, true},
    {Field::Year, "Year", "Text5", 4, true},
    {Field::By, "By", "Text6", 15, true},
    {Field::Date, "Date", "Text7", 10, true},
    {Field::Tach, "Tach", "Text8", 8, true},
    {Field::Empty, "Empty", "Text9", 8, true},
    {Field::CG, "CG", "Text10", 7, true},
    {Field::MaxWt, "MaxWt", "Text11", 8, true},
    {Field::Work, "Work", "Text12", 10, true},
    {Field::Memo, "Memo", "Text13", 0, true},
    {Field::Range1, "Range1", "Text14", 40, true},
    {Field::Range2, "Range2", "Text15", 40, true},
    {Field::Range3, "Range3", "Text16", 40, true},
    {Field::Cert, "Cert", "Text22", 10, true},
    {Field::Text23, "", "Text23", 10, false},
    {Field::Text24, "", "Text24", 10, false},
    {Field::Text27, "", "Text27", 10, false},
    {Field::BallastArm, "BallastArm", "Text30", 8, true},
    {Field::Units, "Units", "", 0, true},
    {Field::Lemac, "Lemac", "Text35", 8, true},
    {Field::Mac, "Mac", "Text36", 8, true},
    {Field::Scale1, "J1Scale", "ScaleBox1", 20, true},
    {Field::Scale2, "J2Scale", "ScaleBox2", 20, true},
    {Field::Scale3, "J3Scale", "ScaleBox3", 20, true},
    {Field::Scale4, "J4Scale", "ScaleBox4", 20, true},
    {Field::Scale5, "J5Scale", "ScaleBox5", 20, true},
    {Field::Levelling, "Levelling", "LevellingBox", 60, true},
    {Field::FuelState, "FuelState", "FuelStateBox", 10, true},
    {Field::FuelPerGallon, "FuelPerGallon", "FuelPerGallonBox", 8, true},
    {Field::Oil, "Oil", "OilBox", 10, true},
    {Field::OtherFluids, "OtherFluids", "OtherFluidsBox", 60, true},
    {Field::WeighPlace, "WeighPlace", "WeighPlaceBox", 10, true},
    {Field::WeighedBy, "WeighedBy", "WeighedByBox", 30, true},
    {Field::Temperature, "Temperature", "TemperatureBox", 12, true},
    {Field::ReweighMonths, "ReweighMonths", "ReweighBox", 4, true},
}};

GridShape MakeShape(GridId id) {
    switch (id) {
        case GridId::Grid1:
            return {id, "Grid1",           "InstalledList", 30,     31,     installed::Count,
                    18, installed::Moment, {0, 1},          {2, 3}, {5, 6}, {2, 3}};
        case GridId::Grid2:
            return {id, "Grid2",    "ScaleRows", 5,         6,  scale::Count,
                    5,  scale::Mom, {0},         {1, 2, 3}, {}, {1, 2, 3}};
        case GridId::Grid3:
            return {id, "Grid3",           "EquipmentList", 100,    101, equipment::Count,
                    5,  equipment::Moment, {0, 1},          {2, 3}, {},  {2, 3}};
        case GridId::Grid4:
            return {id, "Grid4", "FluidRows", 5, 6, fluid::Count, 5, fluid::Mom, {0}, {1, 2}, {}, {1, 2}};
    }
    return {};
}

const std::array<GridShape, 4> kShapes = {MakeShape(GridId::Grid1), MakeShape(GridId::Grid2),
                                          MakeShape(GridId::Grid3), MakeShape(GridId::Grid4)};

constexpr std::array<std::string_view, 3> kJackDefaults = {"Right Main", "Left Main", "Nose"};
constexpr std::array<std::string_view, 2> kFluidDefaults = {"Forward Tanks", "Aft Tanks"};

}  // namespace

const FieldInfo& InfoOf(Field f) {
    return kFields[static_cast<size_t>(f)];
}
const std::array<FieldInfo, kFieldCount>& AllFields() {
    return kFields;
}

std::optional<Field> FieldFromControl(std::string_view control) {
    for (const auto& info : kFields)
        if (!info.control.empty() && info.control == control) return info.field;
    return std::nullopt;
}

std::optional<Field> FieldFromColumn(std::string_view column) {
    for (const auto& info : kFields)
        if (!info.column.empty() && info.column == column) return info.field;
    return std::nullopt;
}

const GridShape& ShapeOf(GridId id) {
    return kShapes[static_cast<size_t>(id)];
}

std::string Entry::Text() const {
    if (const double* v = std::get_if<double>(&value_)) return NumberText(*v, 15);
    return std::get<std::string>(value_);
}

bool Entry::IsEmpty() const {
    const std::string* s = std::get_if<std::string>(&value_);
    return s != nullptr && s->empty();
}

double Entry::Value() const {
    return LeadingNumber(Text());
}

std::string Entry::Formatted(std::string_view pattern) const {
    if (!IsNumber()) return FormatText(std::get<std::string>(value_), pattern);
    return FormatNumber(std::get<double>(value_), pattern);
}

Worksheet::Worksheet() {
    for (GridId id : kAllGrids) {
        const GridShape& shape = ShapeOf(id);
        Grid& g = grid(id);
        g.rows = shape.rows;
        g.cols = shape.cols;
        g.cells.assign(static_cast<size_t>(shape.rows * shape.cols), std::string());
        RowStore& s = store(id);
        s.rows = shape.storeRows;
        s.cols = shape.cols;
        s.entries.assign(static_cast<size_t>(shape.storeRows * shape.cols), Entry());
    }
}

bool Worksheet::Set(Field f, std::string text) {
    std::string& slot = fields_[static_cast<size_t>(f)];
    if (slot == text) return false;
    slot = std::move(text);
    if (onFieldChanged) onFieldChanged(f);
    return true;
}

void ClearWorksheet(Worksheet& ws, bool searchActive) {
    ws.FirstRowBlocked = false;
    for (GridId id : kAllGrids) {
        Grid& g = ws.grid(id);
        for (auto& cell : g.cells)
            cell.clear();
        g.row = 0;
        g.col = 0;
        g.topRow = 0;
        // The cells the pending edit was typed into are gone; committing it later would
        // redisplay a row whose store has been cleared.
        ws.edit(id).EditCol = -1;
    }
    Grid& scaleGrid = ws.grid(GridId::Grid2);
    Grid& fluidGrid = ws.grid(GridId::Grid4);
    RowStore& scaleRows = ws.ScaleRows();
    RowStore& fluidRows = ws.FluidRows();
    for (int i = 0; i < 100; ++i) {
        if (i < 5) {
            if (i < 3) scaleGrid.Cell(i, scale::Dsc) = std::string(kJackDefaults[static_cast<size_t>(i)]);
            if (i < 2) fluidGrid.Cell(i, fluid::Dsc) = std::string(kFluidDefaults[static_cast<size_t>(i)]);
            scaleRows.At(i, scale::Dsc) = scaleGrid.Cell(i, scale::Dsc);
            fluidRows.At(i, fluid::Dsc) = fluidGrid.Cell(i, fluid::Dsc);
            for (int c : {scale::Tar, scale::Wgt, scale::Arm, scale::Mom})
                scaleRows.At(i, c) = Entry();
            for (int c : {fluid::Wgt, fluid::Arm, fluid::Mom})
                fluidRows.At(i, c) = Entry();
        }
        if (i < 30)
            for (int c = 0; c < installed::Count; ++c)
                ws.InstalledList().At(i, c) = Entry();
        for (int c = 0; c < equipment::Count; ++c)
            ws.EquipmentList().At(i, c) = Entry();
    }
    scaleGrid.col = 1;
    fluidGrid.col = 1;
    ws.loading = LoadingTexts{};

    for (const FieldInfo& info : AllFields()) {
        bool keepsCriterion = false;
        switch (info.field) {
            case Field::Tail:
            case Field::Date:
            case Field::Serial:
            case Field::Make:
            case Field::Model:
            case Field::Year:
            case Field::By:
            case Field::Cert:
            case Field::Work:
                keepsCriterion = true;
                break;
            default:
                break;
        }
        if (!(searchActive && keepsCriterion)) ws.Set(info.field, std::string());
    }
}

}  // namespace wb
