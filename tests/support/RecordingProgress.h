// The progress port for tests: every report is kept, and the work is asked to stop once it
// has reported a given number of times. A runner of work aside that records what the window
// would show and runs the work at once with that progress.
#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "worksheet/Progress.h"

namespace wb::test {

class RecordingProgress : public Progress {
  public:
    struct Step {
        std::int64_t done = 0, total = 0;
        std::string text;
    };
    // Cancelled from the `stopAfter`-th report on; never when 0.
    explicit RecordingProgress(size_t stopAfter = 0) : stopAfter_(stopAfter) {}

    void Report(std::int64_t done, std::int64_t total, std::string_view text) override {
        const std::lock_guard lock(mutex_);
        steps_.push_back({done, total, std::string(text)});
    }
    bool Cancelled() const override {
        const std::lock_guard lock(mutex_);
        return stopAfter_ != 0 && steps_.size() >= stopAfter_;
    }
    std::vector<Step> Steps() const {
        const std::lock_guard lock(mutex_);
        return steps_;
    }
    // Whether some report stood part of the way: more than nothing and less than all.
    bool ShowedPartWay() const {
        for (const Step& s : Steps())
            if (s.total > 0 && s.done > 0 && s.done < s.total) return true;
        return false;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Step> steps_;
    size_t stopAfter_;
};

// What a window would have shown of each piece of work run aside.
struct AsideRun {
    std::string title;
    bool cancellable = false;
    bool operator==(const AsideRun&) const = default;
};

struct RecordingRunner {
    explicit RecordingRunner(size_t stopAfter = 0) : progress(stopAfter) {}
    AsideRunner Runner() {
        return [this](AsideWork work) {
            runs.push_back({work.title, work.cancellable});
            work.job(work.title.empty() ? NoProgress() : progress);
            if (work.done) work.done();
        };
    }
    RecordingProgress progress;
    std::vector<AsideRun> runs;
};

}  // namespace wb::test
