// The start-up check and the backup at 1,000 and 100,000 Worksheets. They run beside the
// window; what the mechanic waits for is only the start-up up to a usable window.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

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

// The whole background job on an unchanged file: the check and the read of every row.
void BM_StartupCheckJob(benchmark::State& state) {
    const auto file = MainFileFor(state);
    if (ChangedSinceLastBackup(file)) MakeBackup(file, LocalNow());
    for (auto _ : state) {
        const StartupCheck r = CheckAndBackUp(file, LocalNow());
        if (!r.damage.empty() || r.backupTried) state.SkipWithError("not the check of an unchanged file");
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

// From the start-up body's call to a window that takes events, with the check and backup on
// a worker thread; the time until the worker is done is counted apart.
void BM_StartupUntilUsable(benchmark::State& state) {
    const auto file = MainFileFor(state);
    const fs::path working = file.parent_path() / "working";
    fs::create_directories(working);
    SettingsDatabase(working).SetDataPath(file.parent_path().string());
    double background = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each start finds the file changed since its last backup, as after a day's work.
        fs::remove_all(BackupFolderOf(file));
        test::ScriptedDialogs dialogs;
        test::FixedClock clock;
        MainForm form(dialogs, clock);
        form.workingFolder = working;
        std::thread worker;
        std::chrono::steady_clock::time_point started;
        std::chrono::steady_clock::time_point finished;
        std::function<void(const StartupCheck&)> done;
        StartupCheck result;
        form.runInBackground = [&](auto job, auto whenDone) {
            done = std::move(whenDone);
            worker = std::thread([&, job = std::move(job)] {
                result = job();
                finished = std::chrono::steady_clock::now();
            });
        };
        form.Load();
        state.ResumeTiming();
        started = std::chrono::steady_clock::now();
        form.Activate();
        state.PauseTiming();
        worker.join();
        done(result);
        background += std::chrono::duration<double>(finished - started).count();
        if (form.Health() != MainForm::StoreHealth::Sound || !dialogs.shown.empty())
            state.SkipWithError("the start-up told something");
        state.ResumeTiming();
    }
    state.counters["backgroundSeconds"] = background / static_cast<double>(state.iterations());
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
