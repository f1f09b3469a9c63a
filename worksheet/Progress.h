// The seam through which long work (a backup, a restore, a recovery, moving a database up,
// converting an old file, printing many sheets) says how far it is and learns that the
// mechanic asked it to stop. The window draws a progress dialog from it; tests record it.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wb {

class Progress {
  public:
    virtual ~Progress() = default;
    // `done` of `total` steps of the work `text` names; a total of 0: how far is not known.
    // Called from the thread doing the work.
    virtual void Report(std::int64_t done, std::int64_t total, std::string_view text) = 0;
    // Whether the mechanic asked the work to stop. Work that can stop with everything left as
    // it was asks between its steps and then throws WorkCancelled.
    virtual bool Cancelled() const = 0;
};

// Work that stopped when asked to: nothing it was going to change has changed.
class WorkCancelled : public std::runtime_error {
  public:
    WorkCancelled() : std::runtime_error("The work was cancelled.") {}
};

// Tells nobody and is never cancelled: for work run where no one watches.
inline Progress& NoProgress() {
    class None : public Progress {
      public:
        void Report(std::int64_t, std::int64_t, std::string_view) override {}
        bool Cancelled() const override { return false; }
    };
    static None none;
    return none;
}

// Throws WorkCancelled once the mechanic has asked to stop.
inline void StopIfCancelled(const Progress& progress) {
    if (progress.Cancelled()) throw WorkCancelled();
}

// Work for a worker thread. The job gets only what it needs (paths, copies) and touches
// nothing the window's thread owns; `done` runs on the window's thread once it has ended.
struct AsideWork {
    std::function<void(Progress&)> job;
    std::function<void()> done;
    // The progress dialog's title. Empty: no dialog; the window stays free and `done` comes
    // later as an event of its own. Otherwise the dialog stands over the window, which takes
    // no events of its own until the job has ended and `done` has run; the call returns then.
    std::string title;
    // The dialog offers Cancel: only for work that, stopped, leaves everything as it was.
    bool cancellable = false;
};
// Runs work aside (the window's implementation); empty: at once, on the calling thread.
using AsideRunner = std::function<void(AsideWork)>;

// Runs `job` under a progress dialog titled `title` and returns when it has ended; what the
// job threw is thrown here, on the caller's thread (WorkCancelled when it was stopped).
inline void RunWithProgress(const AsideRunner& run, std::string title, bool cancellable,
                            std::function<void(Progress&)> job) {
    std::exception_ptr failure;
    auto guarded = [&failure, job = std::move(job)](Progress& progress) {
        try {
            job(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    };
    if (run)
        run({guarded, {}, std::move(title), cancellable});
    else
        guarded(NoProgress());
    if (failure) std::rethrow_exception(failure);
}

}  // namespace wb
