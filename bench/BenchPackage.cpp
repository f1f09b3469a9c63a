// The record package of one tail with 200 signed Worksheets (a long-lived aircraft's whole
// record): its export and its import into an empty store. The printed record is measured
// apart (bench_pdf); here the package carries a stand-in for it.
#include <benchmark/benchmark.h>

#include <sodium.h>

#include <fstream>
#include <system_error>

#include "bench/Generator.h"
#include "package/RecordPackage.h"
#include "store/Audit.h"
#include "store/MainDatabase.h"
#include "store/Signing.h"

namespace wb::bench {
namespace {

namespace fs = std::filesystem;
constexpr const char* kTail = "N200PK";

// The generated 200 Worksheets made one tail's, 40 days apart, audited and each signed in date
// order: a chain of 200. Made once and kept.
fs::path OneTailDatabase() {
    const fs::path source = CachedDatabase(200);
    const fs::path made = source.parent_path() / "one-tail-200.MDB";
    std::error_code ec;
    if (fs::exists(made, ec)) return made;
    const fs::path part = made.string() + ".part";
    fs::remove(part, ec);
    fs::copy_file(source, part, ec);
    {
        MainDatabase main(part);
        Database& db = main.db();
        db.Exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY");
        db.Exec(
            "CREATE TEMP TABLE Moved AS SELECT Tail AS OldTail, \"Date\" AS OldDate, "
            "date('1990-01-01', '+' || (Id * 40) || ' days') AS NewDate FROM Aircraft;"
            "UPDATE Equipment SET \"Date\" = (SELECT NewDate FROM Moved WHERE OldTail = Equipment.Tail AND OldDate = "
            "Equipment.\"Date\"), Tail = 'N200PK', FoldedTail = 'n200pk';"
            "UPDATE Aircraft SET \"Date\" = (SELECT NewDate FROM Moved WHERE OldTail = Aircraft.Tail AND OldDate = "
            "Aircraft.\"Date\"), Tail = 'N200PK', FoldedTail = 'n200pk';");
        {
            Transaction tx(db);
            AuditEveryWorksheet(db, audit::kUpgrade);
            tx.Commit();
        }
        SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        const std::int64_t signer = AddSigner(db, "J. Smith", "A&P", "3456789", "bench passphrase");
        std::vector<std::int64_t> all;
        {
            Statement ids = db.Prepare("SELECT Id FROM Aircraft ORDER BY \"Date\", Id");
            while (ids.Step())
                all.push_back(ids.Int(0));
        }
        for (std::int64_t id : all)
            SignWorksheet(db, id, signer, "bench passphrase");
    }
    fs::rename(part, made, ec);
    return made;
}

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
        outcome = ExportTail(db, kTail, file, StandInPdf);
    state.counters["worksheets"] = static_cast<double>(outcome.worksheets);
    state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}
BENCHMARK(BM_ExportTailOf200)->Unit(benchmark::kMillisecond);

void BM_ImportTailOf200(benchmark::State& state) {
    const fs::path package = Scratch() / "import.zip";
    {
        Database db(OneTailDatabase(), Database::Mode::ReadOnly);
        ExportTail(db, kTail, package, StandInPdf);
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
