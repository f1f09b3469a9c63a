// The printed record of a tail with 200 Worksheets, as a record package carries it: the record
// report and every Worksheet's calculation report, read from the store and bound into one
// PDF/A file; and the whole export with it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>

#include "app/qt/RecordPdf.h"
#include "bench/Generator.h"
#include "package/RecordPackage.h"
#include "store/Sqlite.h"

namespace wb::bench {
namespace {

void BM_RecordPdfOf200(benchmark::State& state) {
    Database db(OneTailDatabase(), Database::Mode::ReadOnly);
    const auto pdf = std::filesystem::temp_directory_path() / "wb-bench-record.pdf";
    for (auto _ : state)
        gui::WriteRecordPdf(db, kOneTail, pdf, NoProgress(), CalendarDate{2026, 12, 7});
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}
BENCHMARK(BM_RecordPdfOf200)->Unit(benchmark::kMillisecond);

// The whole export as the mechanic waits for it: the data, the printed record, the package.
void BM_ExportTailOf200WithItsPdf(benchmark::State& state) {
    Database db(OneTailDatabase(), Database::Mode::ReadOnly);
    const auto file = std::filesystem::temp_directory_path() / "wb-bench-record.zip";
    const RecordPdfWriter writer = [](Database& d, const std::string& tail, const std::filesystem::path& pdf,
                                      Progress& progress) {
        gui::WriteRecordPdf(d, tail, pdf, progress, CalendarDate{2026, 12, 7});
    };
    for (auto _ : state)
        ExportTail(db, kOneTail, file, writer);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}
BENCHMARK(BM_ExportTailOf200WithItsPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wb::bench

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // fonts; the offscreen platform needs no display
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
