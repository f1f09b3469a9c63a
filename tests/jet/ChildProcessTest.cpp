// The child-process port on this system: what a child wrote reaches the program, and every way
// a child can misbehave ends in time with the right outcome.
#include <gtest/gtest.h>
#include <signal.h>

#include "store/jet/ChildProcess.h"

namespace wb {
namespace {

using End = ChildOutcome::End;
using namespace std::chrono_literals;

ChildOutcome RunChild(const std::string& mode, ChildLimits limits = {1500ms, 64u << 20, 1u << 20}) {
    return SystemChildProcess()->Run(WB_MISBEHAVING_CHILD, {mode}, limits);
}

TEST(ChildProcess, HandsBackWhatTheChildWroteAndHowItEnded) {
    const ChildOutcome answer = RunChild("answer");
    EXPECT_EQ(answer.end, End::Exited);
    EXPECT_EQ(answer.exitCode, 0);
    EXPECT_EQ(answer.output, "every byte\nof the answer");
    EXPECT_EQ(answer.errors, "said on the side");

    const ChildOutcome failed = RunChild("fail");
    EXPECT_EQ(failed.end, End::Exited);
    EXPECT_EQ(failed.exitCode, 3);

    const ChildOutcome missing = SystemChildProcess()->Run("/nonexistent/reader", {}, {1000ms, 0, 0});
    EXPECT_EQ(missing.end, End::NotStarted);
    EXPECT_FALSE(missing.detail.empty());
}

TEST(ChildProcess, EveryMisbehaviourEndsWithinItsLimit) {
    struct Case {
        const char* mode;
        End end;
    };
    for (const Case& c : {Case{"crash", End::Crashed}, Case{"hang", End::TimedOut},
                          Case{"hang-silently", End::TimedOut}, Case{"flood", End::TooMuchOutput}}) {
        SCOPED_TRACE(c.mode);
        const auto start = std::chrono::steady_clock::now();
        const ChildOutcome outcome = RunChild(c.mode);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_EQ(outcome.end, c.end);
    }
    // A child past its memory never finishes its work, whichever way the system stops it.
    const ChildOutcome memory = RunChild("memory", {20s, 96u << 20, 1u << 20});
    EXPECT_FALSE(memory.end == End::Exited && memory.exitCode == 0);
}

}  // namespace
}  // namespace wb
