// One press of the Next button on a window browsing every stored Worksheet (the move, the
// load of the Worksheet and its two lists, the recomputation), timed press by press; shared by
// the local-file and the shop-server benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

#include "app/MainForm.h"
#include "store/Records.h"
#include "tests/support/ScriptedDialogs.h"

namespace wb::bench {

inline void BrowseSteps(benchmark::State& state, std::unique_ptr<Records> records) {
    test::ScriptedDialogs dialogs;
    test::FixedClock clock;
    MainForm form(dialogs, clock);
    form.Load();
    form.records = std::move(records);
    form.FreshWorksheet = 0;
    form.SearchActive = 0;
    for (auto _ : state) {
        form.Clicked(Control::Command3D16);
        if (form.records->AircraftSet.Eof()) {
            state.PauseTiming();
            form.records->AircraftSet.MoveFirst();
            state.ResumeTiming();
        }
    }
    if (!dialogs.shown.empty()) state.SkipWithError("the browse showed a message");
}

}  // namespace wb::bench
