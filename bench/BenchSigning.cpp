// Verifying signed records: one tail's chain of 25 signed Worksheets (the history panel), and
// the start-up verification of every signature and the whole audit trail. The signed copies
// of the generated databases are made once and kept beside them.
#include <benchmark/benchmark.h>

#include <sodium.h>

#include <system_error>

#include "bench/Generator.h"
#include "store/Audit.h"
#include "store/Signing.h"
#include "store/Verify.h"

namespace wb::bench {
namespace {

namespace fs = std::filesystem;

// A copy of the generated database with its audit trail and every Worksheet signed, each
// tail's in date order, so that each tail holds a chain of 25.
fs::path SignedDatabase(int worksheets) {
    const fs::path source = CachedDatabase(worksheets);
    const fs::path signedCopy = source.parent_path() / ("signed-" + std::to_string(worksheets) + ".MDB");
    std::error_code ec;
    if (fs::exists(signedCopy, ec)) return signedCopy;
    const fs::path part = signedCopy.string() + ".part";
    fs::remove(part, ec);
    fs::copy_file(source, part, ec);
    {
        Database db(part, Database::Mode::OpenExisting);
        // Made once for measuring: a crash here only means making it again.
        db.Exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY");
        {
            Transaction tx(db);
            AuditEveryWorksheet(db, audit::kUpgrade);
            tx.Commit();
        }
        SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        const std::int64_t signer = AddSigner(db, "J. Smith", "A&P", "3456789", "bench passphrase");
        Statement ids = db.Prepare("SELECT Id FROM Aircraft ORDER BY \"Date\", Id");
        std::vector<std::int64_t> all;
        while (ids.Step())
            all.push_back(ids.Int(0));
        ids = Statement();
        for (std::int64_t id : all)
            SignWorksheet(db, id, signer, "bench passphrase");
    }
    fs::rename(part, signedCopy, ec);
    return signedCopy;
}

void BM_VerifyChainOf25(benchmark::State& state) {
    Database db(SignedDatabase(static_cast<int>(state.range(0))), Database::Mode::ReadOnly);
    const std::string tail = TailName(7);
    std::int64_t signatures = 0;
    for (auto _ : state) {
        const Verification v = VerifyTail(db, tail);
        if (!v.Passed()) state.SkipWithError("a signature did not verify");
        signatures = v.signatures;
    }
    state.counters["signatures"] = static_cast<double>(signatures);
}
BENCHMARK(BM_VerifyChainOf25)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What the start-up's worker does after the file check: everything, once.
void BM_StartupVerification(benchmark::State& state) {
    const fs::path file = SignedDatabase(static_cast<int>(state.range(0)));
    Verification v;
    for (auto _ : state) {
        Database db(file, Database::Mode::ReadOnly);
        v = VerifyRecords(db);
        if (!v.Passed()) state.SkipWithError("the records did not verify");
    }
    state.counters["signatures"] = static_cast<double>(v.signatures);
    state.counters["entries"] = static_cast<double>(v.entries);
}
BENCHMARK(BM_StartupVerification)->Arg(1000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wb::bench
