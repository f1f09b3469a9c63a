// What the store and report benchmarks share: the two database sizes and a Worksheet loaded
// from one of them.
#pragma once

#include <cstdint>

#include "bench/Generator.h"
#include "store/MainDatabase.h"
#include "store/WorksheetRows.h"
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

}  // namespace wb::bench
