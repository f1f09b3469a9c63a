// What the store and report benchmarks share: the two database sizes and a Worksheet loaded
// from one of them.
#pragma once

#include <cstdint>

#include "bench/Generator.h"
#include "store/MainDatabase.h"
#include "store/WorksheetRows.h"
#include "worksheet/Balance.h"
#include "worksheet/Worksheet.h"

namespace wb::bench {

inline constexpr int kSmall = 1000;
inline constexpr int kLarge = 100000;

inline LoadDefaults Defaults() {
    LoadDefaults d;
    d.today = "12-06-2026";
    d.mechanic = "J. Smith";
    d.cert = "A&P 123";
    return d;
}

// The `n`-th of a spread of stored Worksheets, so that repeated loads do not all hit one.
inline std::int64_t SpreadId(std::int64_t n, int worksheets) {
    return 1 + (n * 7919) % worksheets;
}

inline Worksheet Loaded(int worksheets) {
    MainDatabase main(CachedDatabase(worksheets));
    Worksheet ws;
    ClearWorksheet(ws, false);
    LoadWorksheet(main.db(), SpreadId(17, worksheets), ws, Defaults());
    return ws;
}

// A full Worksheet (5 scale and fluid rows, 30 change rows, 100 items) for the save benchmarks.
inline Worksheet FullWorksheet() {
    Worksheet ws;
    ClearWorksheet(ws, false);
    ws.Set(Field::Tail, "NBENCH");
    ws.Set(Field::Date, "06-10-2001");
    for (int n = 0; n < 5; ++n) {
        ws.ScaleRows().At(n, scale::Wgt) = "612.5";
        ws.ScaleRows().At(n, scale::Arm) = "80.25";
        ws.FluidRows().At(n, fluid::Wgt) = "-30";
        ws.FluidRows().At(n, fluid::Arm) = "95";
    }
    for (int r = 0; r < 30; ++r) {
        ws.InstalledList().At(r, installed::Description) = "Change " + std::to_string(r);
        ws.InstalledList().At(r, installed::Weight) = "3.5";
        ws.InstalledList().At(r, installed::Arm) = "40.1";
        ws.InstalledList().At(r, installed::Install) = "X";
    }
    for (int r = 0; r < 100; ++r) {
        ws.EquipmentList().At(r, equipment::Description) = "Item " + std::to_string(r);
        ws.EquipmentList().At(r, equipment::Weight) = "1.25";
        ws.EquipmentList().At(r, equipment::Arm) = "60";
    }
    return ws;
}

}  // namespace wb::bench
