// Each report written to a PDF file, from a Worksheet loaded out of each database size.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>

#include "bench/BenchShared.h"
#include "reports/Reports.h"
#include "reports/qt/PrintReport.h"

namespace wb::bench {
namespace {

template <void (*Report)(const ReportInput&, Page&)>
void BM_ReportToPdf(benchmark::State& state) {
    const ReportInput in = MakeReportInput(Loaded(static_cast<int>(state.range(0))), "Tach",
                                           {true, true, true, true}, CompanyRow{}, std::nullopt);
    const std::string file = (std::filesystem::temp_directory_path() / "wb-bench-report.pdf").string();
    for (auto _ : state)
        if (!PrintToPdfFile(file, in, Report).ok()) state.SkipWithError("the PDF was not written");
    std::filesystem::remove(file);
}

void BothSizes(benchmark::internal::Benchmark* b) {
    b->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReportToPdf<PrintCalculationReport>)->Apply(BothSizes);
BENCHMARK(BM_ReportToPdf<PrintFullChangeReport>)->Apply(BothSizes);
BENCHMARK(BM_ReportToPdf<PrintCompactChangeReport>)->Apply(BothSizes);

}  // namespace
}  // namespace wb::bench

int main(int argc, char** argv) {
    // Fonts and the PDF engine need an application object, not a screen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
