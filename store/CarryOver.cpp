#include "store/CarryOver.h"

#include "store/CaseFold.h"
#include "store/Schema.h"
#include "store/WorksheetRows.h"
#include "worksheet/Convert.h"
#include "worksheet/Format.h"
#include "worksheet/Units.h"

namespace wb {

std::optional<UnitSystem> LatestUnits(Database& db, std::string_view tail) {
    Statement s =
        db.Prepare("SELECT Units FROM Aircraft WHERE FoldedTail = ? ORDER BY \"Date\" DESC, Id DESC LIMIT 1");
    s.Bind(1, FoldCase(tail));
    if (!s.Step()) return std::nullopt;
    return UnitsFromCode(s.Text(0).value_or(""));
}

int CopyLatestEquipmentList(Database& db, Worksheet& ws, std::string_view tail) {
    // The latest date under which this tail has an equipment item, then that date's items.
    constexpr const char* kItems =
        "FoldedTail = ? AND List = 'equipment' AND NOT Install AND NOT Remove AND Description <> ?";
    Statement latest = db.Prepare(std::string("SELECT max(\"Date\") FROM Equipment WHERE ") + kItems);
    const std::string folded = FoldCase(tail);
    latest.BindAll({folded, std::string(kPreviousEmpty)});
    if (!latest.Step() || latest.IsNull(0)) return 0;
    const std::string date = *latest.Text(0);

    Statement rows = db.Prepare(std::string("SELECT Description, Serial, Weight, Arm FROM Equipment WHERE ") +
                                kItems + " AND \"Date\" = ? ORDER BY RowNum, Id LIMIT 100");
    rows.BindAll({folded, std::string(kPreviousEmpty), date});
    // The units of the Worksheet the rows belong to.
    Statement units = db.Prepare(
        "SELECT Units FROM Aircraft WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id DESC LIMIT 1");
    units.BindAll({folded, date});
    const UnitSystem from = units.Step() ? UnitsFromCode(units.Text(0).value_or("")) : UnitSystem::PoundInch;
    const UnitSystem to = Units(ws);
    const auto inUnits = [&](Nullable figure, Quantity q) -> Nullable {
        if (!figure || from == to) return figure;
        return ConvertText(*figure, q, from, to).value_or(*figure);
    };
    int k = 0;
    for (; rows.Step(); ++k)
        ShowEquipmentListRow(ws, k, rows.Text(0), rows.Text(1), inUnits(rows.Text(2), Quantity::Weight),
                             inUnits(rows.Text(3), Quantity::Arm));
    return k;
}

void ResetScaleAndFluidRows(Worksheet& ws) {
    constexpr std::string_view kJackNames[] = {"Right Main", "Left Main", "Nose", "", ""};
    constexpr std::string_view kFluidNames[] = {"Forward Tanks", "Aft Tanks", "", "", ""};
    RowStore& scaleRows = ws.ScaleRows();
    RowStore& fluidRows = ws.FluidRows();
    for (int n = 0; n < 5; ++n) {
        scaleRows.At(n, scale::Dsc) = std::string(kJackNames[n]);
        for (int c : {scale::Tar, scale::Wgt, scale::Arm, scale::Mom})
            scaleRows.At(n, c) = Entry();
        fluidRows.At(n, fluid::Dsc) = std::string(kFluidNames[n]);
        for (int c : {fluid::Wgt, fluid::Arm, fluid::Mom})
            fluidRows.At(n, c) = Entry();
    }
    // An edit typed into the old rows must not be committed into the new ones.
    ws.edit(GridId::Grid2).EditCol = -1;
    ws.edit(GridId::Grid4).EditCol = -1;
    ShowScaleAndFluidRows(ws);
}

}  // namespace wb
