// Starts a program of our own as a child process under limits and hands back what it wrote.
// The only place that starts processes: a damaged file read in a child can bring down the
// child, never the program. Each platform has its own implementation file.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace wb {

struct ChildLimits {
    std::chrono::milliseconds time{0};  // wall-clock time before the child is killed
    std::uint64_t memoryBytes = 0;      // memory the child may take; 0 for no limit
    std::size_t outputBytes = 0;        // more than this on its standard output and it is killed
};

struct ChildOutcome {
    enum class End {
        Exited,         // ended by itself; exitCode says how
        Crashed,        // ended by a signal (a fault, or a limit the system enforces)
        TimedOut,       // killed at the time limit
        TooMuchOutput,  // killed at the output limit
        NotStarted      // the program could not be started; detail says why
    };
    End end = End::NotStarted;
    int exitCode = 0;
    int signal = 0;
    std::string output;  // its standard output, as far as it got
    std::string errors;  // the tail of its standard error, for diagnosis only
    std::string detail;
};

class ChildProcess {
  public:
    virtual ~ChildProcess() = default;
    // Runs `program` with `arguments`, its standard input empty, and waits until it ends or a
    // limit is reached.
    virtual ChildOutcome Run(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                             const ChildLimits& limits) = 0;
};

// The implementation for this system.
std::unique_ptr<ChildProcess> SystemChildProcess();

// The folder of the running program, where its helper programs are installed; empty when the
// system does not say.
std::filesystem::path RunningProgramFolder();

}  // namespace wb
