// The record store on a PostgreSQL server over the local socket, beside the same operations on
// the local file, at 1,000 and 100,000 Worksheets. Needs a server: PGHOST, PGPORT and PGUSER
// name it (scripts/pg-test-server.sh starts a throwaway one); its databases "wb_bench_<n>" are
// filled from the local benchmark databases on first use and kept.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "app/MainForm.h"
#include "bench/BenchBrowse.h"
#include "bench/BenchShared.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/WorksheetRows.h"
#include "store/pg/CopyUp.h"
#include "store/pg/PgConnection.h"
#include "tests/support/ScriptedDialogs.h"
#include "worksheet/Balance.h"

namespace wb::bench {
namespace {

enum class Where { File, Server };

int Size(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}
Where EngineOf(const benchmark::State& state) {
    return state.range(1) == 0 ? Where::File : Where::Server;
}

ServerAddress BenchServer(int worksheets) {
    ServerAddress a;
    a.database = "wb_bench_" + std::to_string(worksheets);
    return a;
}

// An open store of `worksheets` Worksheets on the engine; nothing when there is no server.
std::optional<Database> Open(int worksheets, Where where) {
    if (where == Where::File) return OpenDatabaseFile(CachedDatabase(worksheets), MainTables());
    if (std::getenv("PGHOST") == nullptr) return std::nullopt;
    const ServerAddress address = BenchServer(worksheets);
    if (!TestServer(address).empty()) {
        ServerAddress admin;
        admin.database = "postgres";
        ConnectServer(admin).Exec("CREATE DATABASE " + address.database);
    }
    Database server = OpenServer(address);
    if (!HoldsWorksheets(server)) {
        Database local = OpenDatabaseFile(CachedDatabase(worksheets), MainTables());
        CopyUp(local, server);
        server.Exec("ANALYZE");
    }
    return server;
}

#define WB_OPEN_OR_SKIP(db)                                             \
    auto db = Open(Size(state), EngineOf(state));                       \
    if (!db) {                                                          \
        state.SkipWithError("no PostgreSQL server: PGHOST is not set"); \
        for (auto _ : state) {                                          \
        }                                                               \
        return;                                                         \
    }

// A full Worksheet stored over its previous copy, which is kept as an earlier version. Fifty
// aircraft in turn, as a shop re-saves a job a few times: each save also re-points the earlier
// versions of its Worksheet, so one Worksheet saved thousands of times would measure that alone.
void BM_Save(benchmark::State& state) {
    WB_OPEN_OR_SKIP(db);
    Worksheet ws = FullWorksheet();
    SaveRequest request;
    request.replaceSamePair = true;
    int n = 0;
    for (auto _ : state) {
        ws.Set(Field::Tail, "NBENCH" + std::to_string(n++ % 50));
        benchmark::DoNotOptimize(SaveWorksheet(*db, ws, request));
    }
    state.counters["versions"] = n / 50;
}

// A store of its own for the history benchmark, made afresh each run: the file in the temporary
// folder, or the server database "wb_bench_history".
std::optional<Database> FreshStore(Where where) {
    if (where == Where::File) {
        const std::filesystem::path file = std::filesystem::temp_directory_path() / "wb_bench_history.mdb";
        std::filesystem::remove(file);
        return OpenDatabaseFile(file, MainTables());
    }
    if (std::getenv("PGHOST") == nullptr) return std::nullopt;
    ServerAddress admin;
    admin.database = "postgres";
    Database server = ConnectServer(admin);
    server.Exec("DROP DATABASE IF EXISTS wb_bench_history");
    server.Exec("CREATE DATABASE wb_bench_history");
    ServerAddress address;
    address.database = "wb_bench_history";
    return OpenServer(address);
}

// A full Worksheet saved over its previous copy when it has 1 earlier version and when it has
// 500: a save writes the same rows whatever the history. Each of the 100 timed saves of the
// 1-version case goes to its own aircraft, so every one finds exactly 1 earlier version; the
// 500-version case saves one aircraft, whose history grows from 500 to 599 versions.
void BM_SaveWithHistory(benchmark::State& state) {
    const int versions = static_cast<int>(state.range(0));
    auto db = FreshStore(state.range(1) == 0 ? Where::File : Where::Server);
    if (!db) {
        state.SkipWithError("no PostgreSQL server: PGHOST is not set");
        for (auto _ : state) {
        }
        return;
    }
    Worksheet ws = FullWorksheet();
    SaveRequest request;
    request.replaceSamePair = true;
    const int aircraft = versions == 1 ? 100 : 1;
    for (int a = 0; a < aircraft; ++a) {
        ws.Set(Field::Tail, "NHIST" + std::to_string(a));
        for (int n = 0; n <= versions; ++n)
            SaveWorksheet(*db, ws, request);
    }
    int n = 0;
    for (auto _ : state) {
        ws.Set(Field::Tail, "NHIST" + std::to_string(n++ % aircraft));
        benchmark::DoNotOptimize(SaveWorksheet(*db, ws, request));
    }
}

// A stored Worksheet shown: header, both lists, recomputed.
void BM_Load(benchmark::State& state) {
    WB_OPEN_OR_SKIP(db);
    Records records(std::move(*db));
    const std::vector<std::int64_t> ids = records.AircraftSet.Ids();
    Worksheet ws;
    LoadDefaults defaults;
    size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadWorksheet(records.db(), ids[(n++ * 7919) % ids.size()], ws, defaults));
}

// One press of Next while browsing every stored Worksheet.
void BM_BrowseStep(benchmark::State& state) {
    WB_OPEN_OR_SKIP(db);
    BrowseSteps(state, std::make_unique<Records>(std::move(*db)));
}

// A tail-prefix search as the window narrows it.
void BM_Search(benchmark::State& state) {
    WB_OPEN_OR_SKIP(db);
    Records records(std::move(*db));
    const std::string tail = TailName(7);
    std::int64_t found = 0;
    for (auto _ : state) {
        records.ReopenSearchSet();
        records.NarrowSearchSet(SearchCondition(SearchFields()[0], tail.substr(0, tail.size() - 1)));
        found = records.SearchSet.Size();
    }
    state.counters["found"] = static_cast<double>(found);
}

// Both sizes on both engines: the file first, then the server.
void Engines(benchmark::internal::Benchmark* b) {
    b->ArgNames({"worksheets", "server"});
    for (int size : {1000, 100000})
        for (int server : {0, 1})
            b->Args({size, server});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Save)->Apply(Engines);
BENCHMARK(BM_SaveWithHistory)
    ->ArgNames({"versions", "server"})
    ->ArgsProduct({{1, 500}, {0, 1}})
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Apply(Engines);
BENCHMARK(BM_BrowseStep)->Apply(Engines);
BENCHMARK(BM_Search)->Apply(Engines);

}  // namespace
}  // namespace wb::bench

BENCHMARK_MAIN();
