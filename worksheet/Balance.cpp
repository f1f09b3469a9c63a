#include "worksheet/Balance.h"

#include "worksheet/Format.h"
#include "worksheet/GridEditing.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

double FieldValue(const Worksheet& ws, Field f) {
    return LeadingNumber(ws.Get(f));
}

}  // namespace

void RedisplayRow(Worksheet& ws, GridId id, int r) {
    const RowStore& s = ws.store(id);
    Grid& g = ws.grid(id);
    const UnitPatterns& p = PatternsOf(ws);
    switch (id) {
        case GridId::Grid1:
            g.Cell(r, installed::Description) = s.At(r, installed::Description).Text();
            g.Cell(r, installed::Serial) = s.At(r, installed::Serial).Text();
            g.Cell(r, installed::Weight) = s.At(r, installed::Weight).Formatted(p.weight);
            g.Cell(r, installed::Arm) = s.At(r, installed::Arm).Formatted(p.arm);
            g.Cell(r, installed::Moment) = s.At(r, installed::Moment).Formatted(p.rowMoment);
            g.Cell(r, installed::Install) = s.At(r, installed::Install).Text();
            g.Cell(r, installed::Remove) = s.At(r, installed::Remove).Text();
            break;
        case GridId::Grid2:
            g.Cell(r, scale::Dsc) = s.At(r, scale::Dsc).Text();
            g.Cell(r, scale::Tar) = s.At(r, scale::Tar).Text();
            g.Cell(r, scale::Wgt) = s.At(r, scale::Wgt).Formatted(p.weight);
            g.Cell(r, scale::Arm) = s.At(r, scale::Arm).Formatted(p.arm);
            g.Cell(r, scale::Mom) = s.At(r, scale::Mom).Formatted(p.rowMoment);
            break;
        case GridId::Grid4:
            g.Cell(r, fluid::Dsc) = s.At(r, fluid::Dsc).Text();
            g.Cell(r, fluid::Wgt) = s.At(r, fluid::Wgt).Formatted(p.weight);
            g.Cell(r, fluid::Arm) = s.At(r, fluid::Arm).Formatted(p.arm);
            g.Cell(r, fluid::Mom) = s.At(r, fluid::Mom).Formatted(p.rowMoment);
            break;
        case GridId::Grid3:
            // The equipment list shows every number, an empty one as 0.00.
            g.Cell(r, equipment::Description) = s.At(r, equipment::Description).Text();
            g.Cell(r, equipment::Serial) = s.At(r, equipment::Serial).Text();
            g.Cell(r, equipment::Weight) = FormatNumber(s.At(r, equipment::Weight).Value(), p.weight);
            g.Cell(r, equipment::Arm) = FormatNumber(s.At(r, equipment::Arm).Value(), p.arm);
            g.Cell(r, equipment::Moment) = FormatNumber(s.At(r, equipment::Moment).Value(), p.rowMoment);
            break;
    }
}

void CommitRowMoment(Worksheet& ws, GridId id, int r) {
    RowStore& s = ws.store(id);
    double moment = 0;
    switch (id) {
        case GridId::Grid1:
            moment = s.At(r, installed::Weight).Value() * s.At(r, installed::Arm).Value();
            s.At(r, installed::Moment) = Entry::Number(moment);
            break;
        case GridId::Grid2:
            moment =
                (s.At(r, scale::Wgt).Value() - s.At(r, scale::Tar).Value()) * s.At(r, scale::Arm).Value();
            s.At(r, scale::Mom) = Entry::Number(moment);
            break;
        case GridId::Grid4:
            moment = s.At(r, fluid::Wgt).Value() * s.At(r, fluid::Arm).Value();
            s.At(r, fluid::Mom) = Entry::Number(moment);
            break;
        case GridId::Grid3:
            moment = s.At(r, equipment::Weight).Value() * s.At(r, equipment::Arm).Value();
            s.At(r, equipment::Moment) = Entry::Number(moment);
            break;
    }
    RedisplayRow(ws, id, r);
}

void Recalculate(Worksheet& ws) {
    Computed& v = ws.values;
    const UnitPatterns& p = PatternsOf(ws);
    const RowStore& scaleRows = ws.ScaleRows();
    const RowStore& fluidRows = ws.FluidRows();
    RowStore& changes = ws.InstalledList();

    v.ScaleWeight = 0;
    v.ScaleMoment = 0;
    v.ScaleArm = 0;
    for (int n = 0; n < 5; ++n) {
        const double W = scaleRows.At(n, scale::Wgt).Value();
        const double T = scaleRows.At(n, scale::Tar).Value();
        const double A = scaleRows.At(n, scale::Arm).Value();
        const double FW = fluidRows.At(n, fluid::Wgt).Value();
        const double FA = fluidRows.At(n, fluid::Arm).Value();
        v.ScaleWeight += W - FW - T;
        v.ScaleMoment += (W - T) * A - FW * FA;
    }
    if (v.ScaleWeight != 0 && v.ScaleMoment != 0) v.ScaleArm = v.ScaleMoment / v.ScaleWeight;

    int start = 0;
    ws.FirstRowBlocked = false;
    if (v.ScaleArm == 0) {
        // No usable weighing: the typed previous empty weight and C.G. are the start.
        v.NewWeight = 0;
        v.NewMoment = 0;
        v.NewArm = 0;
        changes.At(0, installed::Moment) =
            Entry::Number(FieldValue(ws, Field::CG) * FieldValue(ws, Field::Empty));
    } else {
        v.NewWeight = v.ScaleWeight;
        v.NewMoment = v.ScaleMoment;
        v.NewArm = 0;
        ws.Set(Field::Empty, FormatNumber(v.ScaleWeight, p.weighedWeight));
        ws.Set(Field::CG, FormatNumber(v.ScaleArm, p.weighedCg));
        // A change typed into row 0 first moves down; with the last row in use nothing moves,
        // and row 0 stays a change of its own until a row is freed.
        ws.FirstRowBlocked = !FreeFirstRow(ws);
    }
    if (v.ScaleArm != 0 && !ws.FirstRowBlocked) {
        changes.At(0, installed::Description) = std::string(kPreviousEmpty);
        changes.At(0, installed::Weight) = Entry::Number(v.ScaleWeight);
        changes.At(0, installed::Arm) = Entry::Number(v.ScaleArm);
        changes.At(0, installed::Moment) = Entry::Number(v.ScaleMoment);
        changes.At(0, installed::Serial) = ws.Get(Field::Serial);
        changes.At(0, installed::Install) = std::string(kNoMark);
        Grid& g = ws.grid(GridId::Grid1);
        g.Cell(0, installed::Description) = std::string(kPreviousEmpty);
        g.Cell(0, installed::Serial) = ws.Get(Field::Serial);
        g.Cell(0, installed::Weight) = FormatNumber(v.ScaleWeight, p.weight);
        g.Cell(0, installed::Arm) = FormatNumber(v.ScaleArm, p.cg);
        g.Cell(0, installed::Moment) = FormatNumber(v.ScaleMoment, p.moment);
        g.Cell(0, installed::Install) = std::string(kNoMark);
        g.Cell(0, installed::Remove) = std::string(kNoMark);
        start = 1;
    }

    for (int i = start; i < 30; ++i) {
        const double w = changes.At(i, installed::Weight).Value();
        const double a = changes.At(i, installed::Arm).Value();
        if (changes.At(i, installed::Install).Text() == "X" ||
            changes.At(i, installed::Description).Text() == kPreviousEmpty) {
            v.NewWeight += w;
            v.NewMoment += a * w;
        }
        if (changes.At(i, installed::Remove).Text() == "X") {
            v.NewWeight -= w;
            v.NewMoment -= a * w;
        }
    }
    if (v.NewWeight != 0) v.NewArm = v.NewMoment / v.NewWeight;

    ws.Set(Field::Text23, FormatNumber(v.NewWeight, p.newWeight));
    ws.Set(Field::Text24, FormatNumber(v.NewArm, p.newArm));
    ws.Set(Field::Text27, FormatNumber(v.NewMoment, p.newMoment));
}

void ShowChangeRow(Worksheet& ws, int n) {
    RowStore& store = ws.InstalledList();
    Grid& grid = ws.grid(GridId::Grid1);
    const UnitPatterns& p = PatternsOf(ws);
    const std::string description = store.At(n, installed::Description).Text();
    const bool previous = description == kPreviousEmpty;
    const Entry& weight = store.At(n, installed::Weight);
    const Entry& arm = store.At(n, installed::Arm);
    const bool numeric = !weight.IsEmpty() && !arm.IsEmpty();
    if (numeric) store.At(n, installed::Moment) = Entry::Number(weight.Value() * arm.Value());
    grid.Cell(n, installed::Description) = description;
    grid.Cell(n, installed::Serial) = store.At(n, installed::Serial).Text();
    grid.Cell(n, installed::Weight) = weight.Formatted(p.weight);
    grid.Cell(n, installed::Arm) = arm.Formatted(previous ? p.cg : p.arm);
    grid.Cell(n, installed::Moment) = numeric ? FormatNumber(weight.Value() * arm.Value(), p.moment) : "";
    grid.Cell(n, installed::Install) =
        previous ? std::string(kNoMark) : store.At(n, installed::Install).Text();
    grid.Cell(n, installed::Remove) = previous ? std::string(kNoMark) : store.At(n, installed::Remove).Text();
}

void ShowEquipmentRow(Worksheet& ws, int n) {
    RowStore& store = ws.EquipmentList();
    Grid& grid = ws.grid(GridId::Grid3);
    const UnitPatterns& p = PatternsOf(ws);
    const double w = store.At(n, equipment::Weight).Value();
    const double a = store.At(n, equipment::Arm).Value();
    store.At(n, equipment::Moment) = Entry::Number(w * a);
    grid.Cell(n, equipment::Description) = store.At(n, equipment::Description).Text();
    grid.Cell(n, equipment::Serial) = store.At(n, equipment::Serial).Text();
    grid.Cell(n, equipment::Weight) = FormatNumber(w, p.weight);
    grid.Cell(n, equipment::Arm) = FormatNumber(a, p.arm);
    grid.Cell(n, equipment::Moment) = FormatNumber(w * a, p.moment);
}

void ShowScaleAndFluidRows(Worksheet& ws) {
    const RowStore& scaleRows = ws.ScaleRows();
    const RowStore& fluidRows = ws.FluidRows();
    Grid& scaleGrid = ws.grid(GridId::Grid2);
    Grid& fluidGrid = ws.grid(GridId::Grid4);
    const UnitPatterns& p = PatternsOf(ws);
    for (int n = 0; n < 5; ++n) {
        const double w = scaleRows.At(n, scale::Wgt).Value();
        const double t = scaleRows.At(n, scale::Tar).Value();
        const double a = scaleRows.At(n, scale::Arm).Value();
        scaleGrid.Cell(n, scale::Dsc) = scaleRows.At(n, scale::Dsc).Text();
        scaleGrid.Cell(n, scale::Tar) = scaleRows.At(n, scale::Tar).Text();
        scaleGrid.Cell(n, scale::Wgt) = FormatNumber(w, p.weight);
        scaleGrid.Cell(n, scale::Arm) = FormatNumber(a, p.arm);
        scaleGrid.Cell(n, scale::Mom) = FormatNumber((w - t) * a, p.moment);
        const double fw = fluidRows.At(n, fluid::Wgt).Value();
        const double fa = fluidRows.At(n, fluid::Arm).Value();
        fluidGrid.Cell(n, fluid::Dsc) = fluidRows.At(n, fluid::Dsc).Text();
        fluidGrid.Cell(n, fluid::Wgt) = FormatNumber(fw, p.weight);
        fluidGrid.Cell(n, fluid::Arm) = FormatNumber(fa, p.arm);
        fluidGrid.Cell(n, fluid::Mom) = FormatNumber(fw * fa, p.moment);
    }
}

void ShowAllRows(Worksheet& ws) {
    const auto typed = [&ws](GridId id, int r) {
        const RowStore& s = ws.store(id);
        for (int c = 0; c < s.cols; ++c)
            if (c != ShapeOf(id).computedCol && !s.At(r, c).IsEmpty()) return true;
        return false;
    };
    const auto clear = [&ws](GridId id, int r) {
        Grid& g = ws.grid(id);
        for (int c = 0; c < g.cols; ++c)
            g.Cell(r, c).clear();
        ws.store(id).At(r, ShapeOf(id).computedCol) = Entry();
    };
    for (int r = 0; r < ShapeOf(GridId::Grid1).rows; ++r)
        typed(GridId::Grid1, r) ? ShowChangeRow(ws, r) : clear(GridId::Grid1, r);
    for (int r = 0; r < ShapeOf(GridId::Grid3).rows; ++r)
        typed(GridId::Grid3, r) ? ShowEquipmentRow(ws, r) : clear(GridId::Grid3, r);
    // As a load works them out.
    for (int n = 0; n < 5; ++n) {
        RowStore& scales = ws.ScaleRows();
        RowStore& fluids = ws.FluidRows();
        scales.At(n, scale::Mom) =
            Entry::Number((scales.At(n, scale::Wgt).Value() - scales.At(n, scale::Tar).Value()) *
                          scales.At(n, scale::Arm).Value());
        fluids.At(n, fluid::Mom) =
            Entry::Number(fluids.At(n, fluid::Wgt).Value() * fluids.At(n, fluid::Arm).Value());
    }
    ShowScaleAndFluidRows(ws);
}

bool FreeFirstRow(Worksheet& ws) {
    RowStore& s = ws.InstalledList();
    Grid& g = ws.grid(GridId::Grid1);
    const auto blank = [&s](int r) {
        return s.At(r, installed::Description).IsEmpty() && s.At(r, installed::Weight).IsEmpty() &&
               s.At(r, installed::Arm).IsEmpty();
    };
    // The row the program built (marked "//////") is its own to rebuild, whatever was typed over it.
    if (s.At(0, installed::Description).Text() == kPreviousEmpty ||
        s.At(0, installed::Install).Text() == kNoMark || blank(0))
        return true;
    // A typed change in row 0 moves down a row, unless that would push the last row out.
    if (!blank(29)) return false;
    for (int r = 28; r >= 0; --r)
        for (int c = 0; c < installed::Count; ++c) {
            s.At(r + 1, c) = s.At(r, c);
            g.Cell(r + 1, c) = g.Cell(r, c);
        }
    return true;
}

bool RebuildPreviousEmptyRow(Worksheet& ws, Field leaving) {
    if (ws.Get(leaving).empty()) return true;
    // An edit still pending in the change list names its row by number: it lands before row 0
    // is rebuilt or the rows move down, so no later commit redisplays the wrong row.
    CommitRow(ws, GridId::Grid1);
    if (!FreeFirstRow(ws)) return false;
    RowStore& s = ws.InstalledList();
    Grid& g = ws.grid(GridId::Grid1);
    const std::string& empty = ws.Get(Field::Empty);
    const std::string& cg = ws.Get(Field::CG);
    const UnitPatterns& p = PatternsOf(ws);
    s.At(0, installed::Description) = std::string(kPreviousEmpty);
    s.At(0, installed::Serial) = ws.Get(Field::Serial);
    s.At(0, installed::Weight) = empty;
    s.At(0, installed::Arm) = cg;
    s.At(0, installed::Install) = std::string(kNoMark);
    s.At(0, installed::Remove) = Entry();
    g.Cell(0, installed::Description) = std::string(kPreviousEmpty);
    g.Cell(0, installed::Serial) = ws.Get(Field::Serial);
    g.Cell(0, installed::Weight) = FormatText(empty, p.typedWeight);
    g.Cell(0, installed::Arm) = FormatText(cg, p.cg);
    g.Cell(0, installed::Moment) = FormatNumber(LeadingNumber(empty) * LeadingNumber(cg), p.moment);
    g.Cell(0, installed::Install) = std::string(kNoMark);
    g.Cell(0, installed::Remove) = std::string(kNoMark);
    Recalculate(ws);
    return true;
}

}  // namespace wb
