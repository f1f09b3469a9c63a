// The list of aircraft due for reweighing over the whole store: every tail's last weighing,
// reweigh interval and change since, at 1,000 and 100,000 Worksheets (4,000 tails).
#include <benchmark/benchmark.h>

#include "bench/Generator.h"
#include "store/MainDatabase.h"
#include "store/Scales.h"

namespace wb::bench {
namespace {

// The generated Worksheets are all weighings and set no interval: a copy of them where a third
// set one and one in seven is a weighing, so that the change since the last weighing spans a
// few Worksheets of each tail. Made once, beside the generated file.
std::filesystem::path DueDatabase(int worksheets) {
    const std::filesystem::path generated = CachedDatabase(worksheets);
    std::filesystem::path copy = generated;
    copy.replace_extension(".due.db");
    if (std::filesystem::exists(copy)) return copy;
    std::filesystem::path partial = copy;
    partial += ".partial";
    std::filesystem::copy_file(generated, partial, std::filesystem::copy_options::overwrite_existing);
    {
        Database db(partial, Database::Mode::OpenExisting);
        Transaction tx(db);
        db.Exec("UPDATE Aircraft SET ReweighMonths = 48 WHERE Id % 3 = 0");
        db.Exec(
            "UPDATE Aircraft SET J1Wgt = 0, J2Wgt = 0, J3Wgt = 0, J4Wgt = 0, J5Wgt = 0 WHERE Id % 7 <> 0");
        tx.Commit();
    }
    std::filesystem::rename(partial, copy);
    return copy;
}

void BM_DueForReweighing(benchmark::State& state) {
    MainDatabase main(DueDatabase(static_cast<int>(state.range(0))));
    Database& db = main.db();
    size_t tails = 0, due = 0;
    for (auto _ : state) {
        const std::vector<DueLine> lines = DueForReweighing(db, {2026, 12, 7});
        tails = lines.size();
        due = 0;
        for (const DueLine& line : lines)
            due += line.due ? 1 : 0;
    }
    state.counters["tails"] = static_cast<double>(tails);
    state.counters["with due date"] = static_cast<double>(due);
}
BENCHMARK(BM_DueForReweighing)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wb::bench

BENCHMARK_MAIN();
