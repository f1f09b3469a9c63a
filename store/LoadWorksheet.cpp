// Showing a stored Worksheet: header fields with their Null rules, the scale and fluid
// rows, the two equipment lists and the recomputed new values.
#include "store/CaseFold.h"
#include "store/LoadingRows.h"
#include "store/Schema.h"
#include "store/WorksheetRows.h"
#include "worksheet/Balance.h"
#include "worksheet/Dates.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

constexpr std::string_view kJackNames[] = {"Right Main", "Left Main", "Nose"};
constexpr std::string_view kFluidNames[] = {"Forward Tanks", "Aft Tanks"};

std::string AircraftSelect() {
    std::string sql = "SELECT ";
    bool first = true;
    for (const AircraftColumn& c : AircraftColumns()) {
        if (!first) sql += ", ";
        sql += Quoted(c.name);
        first = false;
    }
    return sql + " FROM Aircraft WHERE Id = ?";
}

int ColumnIndex(std::string_view name) {
    const auto& cols = AircraftColumns();
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].name == name) return static_cast<int>(i);
    return -1;
}

std::string Column(const Statement& s, std::string_view name) {
    return s.Text(ColumnIndex(name)).value_or("");
}

void LoadHeader(const Statement& s, Worksheet& ws, const LoadDefaults& defaults) {
    for (const FieldInfo& info : AllFields()) {
        if (info.column.empty()) continue;
        const Nullable value = s.Text(ColumnIndex(info.column));
        std::string text;
        if (value) {
            text = *value;
            if (info.field == Field::Date)
                if (auto d = ParseIsoDate(*value)) text = ShownDate(*d);
        } else if (info.field == Field::Date) {
            text = defaults.today;
        } else if (info.field == Field::By) {
            text = defaults.mechanic;
        } else if (info.field == Field::Cert) {
            text = defaults.cert;
        }
        ws.Set(info.field, std::move(text));
    }
}

void LoadScaleAndFluidRows(const Statement& s, Worksheet& ws, const LoadDefaults& defaults) {
    RowStore& scaleRows = ws.ScaleRows();
    RowStore& fluidRows = ws.FluidRows();
    for (int n = 0; n < 5; ++n) {
        const std::string j = "J" + std::to_string(n + 1);
        const std::string f = "F" + std::to_string(n + 1);
        Nullable jackName = s.Text(ColumnIndex(j + "Dsc"));
        Nullable fluidName = s.Text(ColumnIndex(f + "Dsc"));
        if (defaults.defaultRowNames && !jackName && n < 3) jackName = std::string(kJackNames[n]);
        if (defaults.defaultRowNames && !fluidName && n < 2) fluidName = std::string(kFluidNames[n]);
        scaleRows.At(n, scale::Dsc) = jackName.value_or("");
        scaleRows.At(n, scale::Tar) = Column(s, j + "Tar");
        scaleRows.At(n, scale::Wgt) = Column(s, j + "Wgt");
        scaleRows.At(n, scale::Arm) = Column(s, j + "Arm");
        scaleRows.At(n, scale::Mom) =
            Entry::Number((scaleRows.At(n, scale::Wgt).Value() - scaleRows.At(n, scale::Tar).Value()) *
                          scaleRows.At(n, scale::Arm).Value());
        fluidRows.At(n, fluid::Dsc) = fluidName.value_or("");
        fluidRows.At(n, fluid::Wgt) = Column(s, f + "Wgt");
        fluidRows.At(n, fluid::Arm) = Column(s, f + "Arm");
        fluidRows.At(n, fluid::Mom) =
            Entry::Number(fluidRows.At(n, fluid::Wgt).Value() * fluidRows.At(n, fluid::Arm).Value());
    }
    ShowScaleAndFluidRows(ws);
}

void EmptyLists(Worksheet& ws) {
    for (GridId id : {GridId::Grid1, GridId::Grid3}) {
        RowStore& store = ws.store(id);
        Grid& grid = ws.grid(id);
        for (auto& e : store.entries)
            e = Entry();
        for (auto& cell : grid.cells)
            cell.clear();
    }
}

// Rows of the InstalledList: only rows with a mark, and the previous-empty row, are shown.
void LoadChanges(Database& db, const std::string& tail, const std::string& date, Worksheet& ws) {
    Statement s = db.Prepare(
        "SELECT RowNum, Description, Serial, Weight, Arm, Install, Remove FROM Equipment "
        "WHERE FoldedTail = ? AND \"Date\" = ? AND List = ? AND RowNum BETWEEN 0 AND 29 ORDER BY "
        "RowNum, Id");
    s.BindAll({FoldCase(tail), date, std::string(kChangesList)});
    RowStore& store = ws.InstalledList();
    std::int64_t last = -1;
    while (s.Step()) {
        const std::int64_t n64 = s.Int(0);
        if (n64 == last) continue;  // the first row stored under a number counts
        last = n64;
        const int n = static_cast<int>(n64);
        const std::string description = s.Text(1).value_or("");
        const bool install = !s.IsNull(5) && s.Int(5) != 0;
        const bool remove = !s.IsNull(6) && s.Int(6) != 0;
        const bool previous = description == kPreviousEmpty;
        if (!install && !remove && !previous) continue;
        store.At(n, installed::Description) = description;
        store.At(n, installed::Serial) = s.Text(2).value_or("");
        store.At(n, installed::Weight) = s.Text(3).value_or("");
        store.At(n, installed::Arm) = s.Text(4).value_or("");
        store.At(n, installed::Install) = previous ? std::string(kNoMark) : std::string(install ? "X" : "");
        store.At(n, installed::Remove) = previous ? std::string() : std::string(remove ? "X" : "");
        ShowChangeRow(ws, n);
    }
}

void LoadEquipmentList(Database& db, const std::string& tail, const std::string& date, Worksheet& ws) {
    Statement s = db.Prepare(
        "SELECT RowNum, Description, Serial, Weight, Arm FROM Equipment "
        "WHERE FoldedTail = ? AND \"Date\" = ? AND List = ? AND RowNum BETWEEN 0 AND 99 "
        "AND NOT Install AND NOT Remove AND Description <> ? ORDER BY RowNum, Id");
    s.BindAll({FoldCase(tail), date, std::string(kEquipmentList), std::string(kPreviousEmpty)});
    std::int64_t last = -1;
    while (s.Step()) {
        const std::int64_t n64 = s.Int(0);
        if (n64 == last) continue;
        last = n64;
        ShowEquipmentListRow(ws, static_cast<int>(n64), s.Text(1), s.Text(2), s.Text(3), s.Text(4));
    }
}

}  // namespace

void ShowEquipmentListRow(Worksheet& ws, int n, const Nullable& description, const Nullable& serial,
                          const Nullable& weight, const Nullable& arm) {
    RowStore& store = ws.EquipmentList();
    store.At(n, equipment::Description) = description.value_or("");
    store.At(n, equipment::Serial) = serial.value_or("");
    store.At(n, equipment::Weight) = weight.value_or("");
    store.At(n, equipment::Arm) = arm.value_or("");
    ShowEquipmentRow(ws, n);
}

bool LoadWorksheet(Database& db, std::int64_t id, Worksheet& ws, const LoadDefaults& defaults) {
    Statement s = db.Prepare(AircraftSelect());
    s.Bind(1, id);
    if (!s.Step()) return false;
    LoadHeader(s, ws, defaults);
    LoadScaleAndFluidRows(s, ws, defaults);
    EmptyLists(ws);
    const std::string tail = s.Text(ColumnIndex("Tail")).value_or("");
    const std::string date = s.Text(ColumnIndex("Date")).value_or("");
    ws.loading = ReadLoadingRows(db, tail, date);

    // Without a single equipment row in the database the new values stay uncomputed.
    Statement any = db.Prepare("SELECT 1 FROM Equipment LIMIT 1");
    if (!any.Step()) return true;
    LoadChanges(db, tail, date, ws);
    LoadEquipmentList(db, tail, date, ws);
    Recalculate(ws);
    return true;
}

}  // namespace wb
