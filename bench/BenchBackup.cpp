// The start-up check and the backup at 1,000 and 100,000 Worksheets. They run beside the
// window; what the mechanic waits for is only the start-up up to a usable window.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "bench/BenchShared.h"
#include "store/Backup.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/SettingsDatabase.h"
#include "tests/support/ScriptedDialogs.h"

namespace wb::bench {
namespace {

namespace fs = std::filesystem;

int Size(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

// A data folder of its own per size, with the database under its real name and its own
// Backups folder beside it. Copied while closed, before any benchmark opens it.
fs::path MainFileFor(const benchmark::State& state) {
    const fs::path cached = CachedDatabase(Size(state));
    const fs::path folder = cached.parent_path() / ("data-" + std::to_string(Size(state)));
    const fs::path file = folder / MainDatabase::kFileName;
    if (!fs::exists(file)) {
        fs::create_directories(folder);
        fs::copy_file(cached, file);
    }
    return file;
}

// PRAGMA quick_check alone.
void BM_QuickCheck(benchmark::State& state) {
    const auto file = MainFileFor(state);
    for (auto _ : state) {
        Database db(file, Database::Mode::ReadOnly);
        if (!QuickCheck(db).empty()) state.SkipWithError("the check found damage");
    }
}

// The start-up check, while which the store is read-only: quick_check and the layout and
// rules of every row.
void BM_StartupCheckJob(benchmark::State& state) {
    const auto file = MainFileFor(state);
    for (auto _ : state) {
        const StartupCheck r = CheckMainFile(file);
        if (!r.damage.empty()) state.SkipWithError("the check found damage");
    }
}

// One backup through the online backup and its check of the copy, then rotation.
void BM_Backup(benchmark::State& state) {
    const auto file = MainFileFor(state);
    DateTime t{{2026, 12, 6}, 0, 0, 0};
    for (auto _ : state) {
        const BackupResult r = MakeBackup(file, t);
        if (!r.made) state.SkipWithError(r.failure.c_str());
        t.second = (t.second + 1) % 60;
        state.PauseTiming();
        fs::remove(*r.made);
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}

// From the start-up body's call to a window that takes events, with the check and then the
// backup on a worker thread; how long those take is counted apart.
void BM_StartupUntilUsable(benchmark::State& state) {
    const auto file = MainFileFor(state);
    const fs::path working = file.parent_path() / "working";
    fs::create_directories(working);
    SettingsDatabase(working).SetDataPath(file.parent_path().string());
    double checkSeconds = 0, backupSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each start finds the file changed since its last backup, as after a day's work.
        fs::remove_all(BackupFolderOf(file));
        test::ScriptedDialogs dialogs;
        test::FixedClock clock;
        MainForm form(dialogs, clock);
        form.workingFolder = working;
        struct Pending {
            std::thread worker;
            std::function<void()> done;
        };
        std::vector<std::unique_ptr<Pending>> pending;
        form.runInBackground = [&](AsideWork work) {
            auto p = std::make_unique<Pending>();
            p->done = std::move(work.done);
            p->worker = std::thread([job = std::move(work.job)] { job(NoProgress()); });
            pending.push_back(std::move(p));
        };
        form.Load();
        state.ResumeTiming();
        auto started = std::chrono::steady_clock::now();
        form.Activate();
        state.PauseTiming();
        // The check, then the backup it starts.
        for (size_t i = 0; i < pending.size(); ++i) {
            pending[i]->worker.join();
            const auto finished = std::chrono::steady_clock::now();
            (i == 0 ? checkSeconds : backupSeconds) +=
                std::chrono::duration<double>(finished - started).count();
            started = finished;
            pending[i]->done();
        }
        if (form.Health() != MainForm::StoreHealth::Sound || !dialogs.shown.empty() || pending.size() != 2)
            state.SkipWithError("the start-up told something, or made no backup");
        state.ResumeTiming();
    }
    state.counters["checkSeconds"] = checkSeconds / static_cast<double>(state.iterations());
    state.counters["backupSeconds"] = backupSeconds / static_cast<double>(state.iterations());
}

void BothSizes(benchmark::internal::Benchmark* b) {
    b->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_QuickCheck)->Apply(BothSizes);
BENCHMARK(BM_StartupCheckJob)->Apply(BothSizes);
BENCHMARK(BM_Backup)->Apply(BothSizes);
BENCHMARK(BM_StartupUntilUsable)->Apply(BothSizes)->Iterations(3);

}  // namespace
}  // namespace wb::bench
