// The record store at 1,000 and 100,000 Worksheets: what a mechanic waits for when browsing,
// searching, saving and starting the program must not grow with the years of data.
#include <benchmark/benchmark.h>

#include "app/MainForm.h"
#include "bench/BenchBrowse.h"
#include "bench/BenchShared.h"
#include "reports/RecordingPage.h"
#include "reports/Reports.h"
#include "store/CarryOver.h"
#include "store/History.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "tests/support/ScriptedDialogs.h"
#include "worksheet/Balance.h"

namespace wb::bench {
namespace {

int Size(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

// One press of the Next button while browsing every stored Worksheet.
void BM_BrowseStep(benchmark::State& state) {
    BrowseSteps(state, std::make_unique<Records>(CachedDatabase(Size(state))));
}

// A search as the window narrows it: every Worksheet, then the tail prefix, then the date.
void BM_SearchTailPrefixAndDate(benchmark::State& state) {
    Records records(CachedDatabase(Size(state)));
    const std::string tail = TailName(7);
    const SearchField& tailField = SearchFields()[0];
    const SearchField& dateField = SearchFields()[8];
    std::int64_t found = 0;
    for (auto _ : state) {
        records.ReopenSearchSet();
        records.NarrowSearchSet(SearchCondition(tailField, tail.substr(0, tail.size() - 1)));
        records.NarrowSearchSet(SearchCondition(dateField, "03-08-1996"));
        found = records.SearchSet.Size();
    }
    state.counters["found"] = static_cast<double>(found);
}

// The same search with the date box emptied: every Worksheet of the tail, in date order.
void BM_SearchTailPrefix(benchmark::State& state) {
    Records records(CachedDatabase(Size(state)));
    const std::string tail = TailName(7);
    std::int64_t found = 0;
    for (auto _ : state) {
        records.ReopenSearchSet();
        records.NarrowSearchSet(SearchCondition(SearchFields()[0], tail.substr(0, tail.size() - 1)));
        found = records.SearchSet.Size();
    }
    state.counters["found"] = static_cast<double>(found);
}

// The equipment list of a tail's latest Worksheet brought into a new one.
void BM_CarryOver(benchmark::State& state) {
    MainDatabase main(CachedDatabase(Size(state)));
    Worksheet ws;
    ClearWorksheet(ws, false);
    std::int64_t n = 0, copied = 0;
    for (auto _ : state)
        copied =
            CopyLatestEquipmentList(main.db(), ws, TailName(static_cast<int>(n++ % TailCount(Size(state)))));
    state.counters["rows"] = static_cast<double>(copied);
}

// A full Worksheet (5 scale and fluid rows, 30 change rows, 100 items) stored over its
// previous copy, committed to disk each time.
void BM_SaveFullWorksheet(benchmark::State& state) {
    MainDatabase main(CachedDatabase(Size(state)));
    const Worksheet ws = FullWorksheet();
    SaveRequest request;
    request.replaceSamePair = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveWorksheet(main.db(), ws, request));
}

// Opening the main database and its record sets as the program does at start-up.
void BM_StoreStartUp(benchmark::State& state) {
    const auto file = CachedDatabase(Size(state));
    for (auto _ : state) {
        Records records(file);
        records.CompanySet.MoveFirst();
        benchmark::DoNotOptimize(records.database().ReadCompanyRow());
    }
}

void BM_RecalculateLoaded(benchmark::State& state) {
    Worksheet ws = Loaded(Size(state));
    for (auto _ : state) {
        Recalculate(ws);
        benchmark::DoNotOptimize(ws.values.NewArm);
    }
}

template <void (*Report)(const ReportInput&, Page&)>
void BM_ReportRecorded(benchmark::State& state) {
    const ReportInput in =
        MakeReportInput(Loaded(Size(state)), "Tach", {true, true, true, true}, CompanyRow{}, std::nullopt);
    for (auto _ : state) {
        RecordingPage page;
        Report(in, page);
        benchmark::DoNotOptimize(page.texts().size());
    }
}

// The equipment part of a load as the record-set algorithm reads literally: for each of the
// 30 change and 100 item row numbers, a find over the whole Equipment table.
void BM_LoadListsLiteral(benchmark::State& state) {
    MainDatabase main(CachedDatabase(Size(state)));
    Database& db = main.db();
    Statement header = db.Prepare("SELECT Tail, \"Date\" FROM Aircraft WHERE Id = ?");
    Statement find = db.Prepare(
        "SELECT Description, Serial, Weight, Arm, Install, Remove FROM Equipment NOT INDEXED "
        "WHERE Tail = ? AND \"Date\" = ? AND List = ? AND RowNum = ?");
    Worksheet ws;
    ClearWorksheet(ws, false);
    std::int64_t n = 0;
    for (auto _ : state) {
        header.Bind(1, SpreadId(n++, Size(state)));
        header.Step();
        const std::string tail = *header.Text(0), date = *header.Text(1);
        header.Reset();
        for (int list = 0; list < 2; ++list) {
            const int rows = list == 0 ? 30 : 100;
            RowStore& store = list == 0 ? ws.InstalledList() : ws.EquipmentList();
            for (int r = 0; r < rows; ++r) {
                find.BindAll(
                    {tail, date, std::string(list == 0 ? kChangesList : kEquipmentList), std::int64_t{r}});
                if (find.Step()) store.At(r, 0) = find.Text(0).value_or("");
                find.Reset();
            }
        }
    }
}

// The same Worksheets loaded the way the store does it (header, both lists through the
// index, and the recomputation).
void BM_LoadOurs(benchmark::State& state) {
    MainDatabase main(CachedDatabase(Size(state)));
    Worksheet ws;
    ClearWorksheet(ws, false);
    std::int64_t n = 0;
    for (auto _ : state)
        LoadWorksheet(main.db(), SpreadId(n++, Size(state)), ws, Defaults());
}

// The history panel of one tail (25 Worksheets, three of them with a superseded version) and
// its record report on the recording page. The superseded versions are made inside a
// transaction that is never committed, so the cached database stays as generated.
void BM_HistoryAndRecordReport(benchmark::State& state) {
    MainDatabase main(CachedDatabase(Size(state)));
    Database& db = main.db();
    const std::string tail = TailName(7);
    Transaction never(db);
    {
        RevisionKeeper keeper(db);
        Statement ids = db.Prepare("SELECT Id FROM Aircraft WHERE Tail = ? ORDER BY \"Date\" LIMIT 3");
        ids.Bind(1, tail);
        std::vector<std::int64_t> kept;
        while (ids.Step())
            kept.push_back(ids.Int(0));
        for (std::int64_t id : kept) {
            keeper.Keep(id, Supersession::Replaced);
            keeper.StoredAs(id);
        }
    }
    ReportInput in =
        MakeReportInput(Loaded(Size(state)), "Tach", {true, true, true, true}, CompanyRow{}, std::nullopt);
    for (auto _ : state) {
        in.history = ReadHistory(db, tail);
        RecordingPage page;
        PrintRecordReport(in, page);
        benchmark::DoNotOptimize(page.texts().size());
    }
    state.counters["lines"] = static_cast<double>(in.history.lines.size());
}

// The history alone, as the panel reads it.
void BM_History(benchmark::State& state) {
    MainDatabase main(CachedDatabase(Size(state)));
    const std::string tail = TailName(7);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadHistory(main.db(), tail));
}

void BothSizes(benchmark::internal::Benchmark* b) {
    b->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_BrowseStep)->Apply(BothSizes);
BENCHMARK(BM_SearchTailPrefixAndDate)->Apply(BothSizes);
BENCHMARK(BM_SearchTailPrefix)->Apply(BothSizes);
BENCHMARK(BM_CarryOver)->Apply(BothSizes);
BENCHMARK(BM_SaveFullWorksheet)->Apply(BothSizes);
BENCHMARK(BM_StoreStartUp)->Apply(BothSizes);
BENCHMARK(BM_RecalculateLoaded)->Apply(BothSizes);
BENCHMARK(BM_ReportRecorded<PrintCalculationReport>)->Apply(BothSizes);
BENCHMARK(BM_ReportRecorded<PrintFullChangeReport>)->Apply(BothSizes);
BENCHMARK(BM_ReportRecorded<PrintCompactChangeReport>)->Apply(BothSizes);
BENCHMARK(BM_LoadOurs)->Apply(BothSizes);
BENCHMARK(BM_History)->Apply(BothSizes);
BENCHMARK(BM_HistoryAndRecordReport)->Apply(BothSizes);
// A literal load scans millions of rows 130 times at the larger size: one pass is enough.
BENCHMARK(BM_LoadListsLiteral)->Arg(kSmall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadListsLiteral)->Arg(kLarge)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wb::bench
