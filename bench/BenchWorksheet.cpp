// The computation runs after every committed edit: it must stay far below what a mechanic
// could notice.
#include <benchmark/benchmark.h>

#include "worksheet/Balance.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

namespace {

wb::Worksheet FullWorksheet() {
    wb::Worksheet ws;
    wb::ClearWorksheet(ws, false);
    for (int n = 0; n < 5; ++n) {
        ws.ScaleRows().At(n, wb::scale::Tar) = "2.5";
        ws.ScaleRows().At(n, wb::scale::Wgt) = std::to_string(600 + n);
        ws.ScaleRows().At(n, wb::scale::Arm) = "80.25";
        ws.FluidRows().At(n, wb::fluid::Wgt) = "12.5";
        ws.FluidRows().At(n, wb::fluid::Arm) = "95";
    }
    for (int r = 1; r < 30; ++r) {
        ws.InstalledList().At(r, wb::installed::Description) = "Item " + std::to_string(r);
        ws.InstalledList().At(r, wb::installed::Weight) = std::to_string(r) + ".5";
        ws.InstalledList().At(r, wb::installed::Arm) = "40.1";
        ws.InstalledList().At(r, r % 2 ? wb::installed::Install : wb::installed::Remove) = "X";
    }
    return ws;
}

void BM_Recalculate(benchmark::State& state) {
    wb::Worksheet ws = FullWorksheet();
    for (auto _ : state) {
        wb::Recalculate(ws);
        benchmark::DoNotOptimize(ws.values.NewArm);
    }
}
BENCHMARK(BM_Recalculate);

void BM_LeadingNumber(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::LeadingNumber(" 1 234.567E-2 lb"));
}
BENCHMARK(BM_LeadingNumber);

void BM_FormatNumber(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::FormatNumber(70.381426202321705, wb::pattern::Weighed));
}
BENCHMARK(BM_FormatNumber);

}  // namespace
