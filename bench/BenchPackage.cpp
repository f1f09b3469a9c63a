// The record package of one tail with 200 signed Worksheets (a long-lived aircraft's whole
// record): its export and its import into an empty store. The printed record is measured
// apart (bench_record_pdf); here the package carries a stand-in for it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <system_error>

#include "bench/Generator.h"
#include "package/RecordPackage.h"
#include "store/MainDatabase.h"

namespace wb::bench {
namespace {

namespace fs = std::filesystem;
void StandInPdf(Database&, const std::string& tail, const fs::path& pdf, Progress&) {
    std::ofstream(pdf, std::ios::binary) << "%PDF-1.4 the record of " << tail << "\n";
}

fs::path Scratch() {
    const fs::path folder = fs::temp_directory_path() / "wb-bench-package";
    fs::create_directories(folder);
    return folder;
}

void BM_ExportTailOf200(benchmark::State& state) {
    Database db(OneTailDatabase(), Database::Mode::ReadOnly);
    const fs::path file = Scratch() / "export.zip";
    ExportOutcome outcome;
    for (auto _ : state)
        outcome = ExportTail(db, kOneTail, file, StandInPdf);
    state.counters["worksheets"] = static_cast<double>(outcome.worksheets);
    state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}
BENCHMARK(BM_ExportTailOf200)->Unit(benchmark::kMillisecond);

void BM_ImportTailOf200(benchmark::State& state) {
    const fs::path package = Scratch() / "import.zip";
    {
        Database db(OneTailDatabase(), Database::Mode::ReadOnly);
        ExportTail(db, kOneTail, package, StandInPdf);
    }
    ImportOutcome outcome;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path file = Scratch() / ("empty-" + std::to_string(n++) + ".MDB");
        std::error_code ec;
        fs::remove(file, ec);
        auto main = std::make_unique<MainDatabase>(file);
        state.ResumeTiming();
        outcome = ImportPackage(main->db(), package);
        state.PauseTiming();
        main.reset();
        fs::remove(file, ec);
        state.ResumeTiming();
    }
    state.counters["worksheets"] = static_cast<double>(outcome.imported);
    state.counters["signatures"] = static_cast<double>(outcome.signatures);
}
BENCHMARK(BM_ImportTailOf200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wb::bench

BENCHMARK_MAIN();
