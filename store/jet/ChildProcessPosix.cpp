// The child process on POSIX systems: fork and exec, limits through setrlimit, the answer
// read through pipes with a deadline.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "store/jet/ChildProcess.h"

#if defined(__SANITIZE_ADDRESS__)
#define WB_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WB_ADDRESS_SANITIZER 1
#endif
#endif

extern char** environ;

namespace wb {
namespace {

constexpr size_t kErrorTail = 16 * 1024;

class Fd {
  public:
    Fd() = default;
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
};

bool MakePipe(Fd& read, Fd& write) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    read.Reset(fds[0]);
    write.Reset(fds[1]);
    return true;
}

// The environment the child starts with. The address sanitizer reserves far more address
// space than any limit would allow, so a sanitized child is held to its resident size instead.
std::vector<std::string> ChildEnvironment(const ChildLimits& limits) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
#ifdef WB_ADDRESS_SANITIZER
    if (limits.memoryBytes > 0) {
        const std::string rss = "hard_rss_limit_mb=" + std::to_string(limits.memoryBytes >> 20);
        bool found = false;
        for (std::string& e : env)
            if (e.rfind("ASAN_OPTIONS=", 0) == 0) {
                e += ":" + rss;
                found = true;
            }
        if (!found) env.push_back("ASAN_OPTIONS=" + rss);
    }
#else
    (void)limits;
#endif
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void StartChild(const char* program, char* const* argv, char* const* envp, int out, int err,
                             int status, const ChildLimits& limits) {
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing >= 0) ::dup2(nothing, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);  // a crash must not leave a core file in the data folder
#ifndef WB_ADDRESS_SANITIZER
    if (limits.memoryBytes > 0) {
        const rlimit memory{limits.memoryBytes, limits.memoryBytes};
        ::setrlimit(RLIMIT_AS, &memory);
    }
#endif
    // Processor time as a second line, should the parent itself be stopped while it waits.
    const auto seconds = static_cast<rlim_t>(limits.time.count() / 1000 + 2);
    const rlimit cpu{seconds, seconds};
    ::setrlimit(RLIMIT_CPU, &cpu);
    ::execve(program, argv, envp);
    const int error = errno;
    [[maybe_unused]] const auto written = ::write(status, &error, sizeof error);
    ::_exit(127);
}

class PosixChildProcess : public ChildProcess {
  public:
    ChildOutcome Run(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                     const ChildLimits& limits) override {
        ChildOutcome outcome;
        std::vector<std::string> args{program.string()};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<std::string> env = ChildEnvironment(limits);
        std::vector<char*> argv = Pointers(args), envp = Pointers(env);
        const std::string path = program.string();

        Fd outRead, outWrite, errRead, errWrite, statusRead, statusWrite;
        if (!MakePipe(outRead, outWrite) || !MakePipe(errRead, errWrite) ||
            !MakePipe(statusRead, statusWrite)) {
            outcome.detail = std::strerror(errno);
            return outcome;
        }
        const pid_t pid = ::fork();
        if (pid < 0) {
            outcome.detail = std::strerror(errno);
            return outcome;
        }
        if (pid == 0)
            StartChild(path.c_str(), argv.data(), envp.data(), outWrite.get(), errWrite.get(),
                       statusWrite.get(), limits);
        outWrite.Close();
        errWrite.Close();
        statusWrite.Close();

        const auto deadline = std::chrono::steady_clock::now() + limits.time;
        outcome.end = Collect(pid, outRead, errRead, deadline, limits, outcome);
        // A child that closed its output may still be running; it gets the rest of its time.
        int status = 0;
        while (outcome.end == ChildOutcome::End::Exited) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid || (done < 0 && errno != EINTR)) break;
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(pid, SIGKILL);
                outcome.end = ChildOutcome::End::TimedOut;
                break;
            }
            ::usleep(2000);
        }
        if (outcome.end != ChildOutcome::End::Exited)
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        int execError = 0;
        if (::read(statusRead.get(), &execError, sizeof execError) == sizeof execError) {
            outcome.end = ChildOutcome::End::NotStarted;
            outcome.detail = std::strerror(execError);
            return outcome;
        }
        if (outcome.end != ChildOutcome::End::Exited) return outcome;
        if (WIFSIGNALED(status)) {
            outcome.end = ChildOutcome::End::Crashed;
            outcome.signal = WTERMSIG(status);
        } else {
            outcome.exitCode = WEXITSTATUS(status);
        }
        return outcome;
    }

  private:
    // Reads both pipes until the child closes them or a limit is reached; Exited means the
    // child ended by itself.
    static ChildOutcome::End Collect(pid_t pid, Fd& out, Fd& err,
                                     std::chrono::steady_clock::time_point deadline,
                                     const ChildLimits& limits, ChildOutcome& outcome) {
        using Clock = std::chrono::steady_clock;
        char buffer[65536];
        while (out.get() >= 0 || err.get() >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                ::kill(pid, SIGKILL);
                return ChildOutcome::End::TimedOut;
            }
            pollfd fds[2] = {{out.get(), POLLIN, 0}, {err.get(), POLLIN, 0}};
            const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
            if (ready < 0 && errno != EINTR) {
                ::kill(pid, SIGKILL);
                outcome.detail = std::strerror(errno);
                return ChildOutcome::End::Crashed;
            }
            for (int i = 0; i < 2 && ready > 0; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                Fd& fd = i == 0 ? out : err;
                const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
                if (n <= 0) {
                    if (n == 0 || errno != EINTR) fd.Close();
                    continue;
                }
                if (i == 0) {
                    outcome.output.append(buffer, static_cast<size_t>(n));
                    if (limits.outputBytes > 0 && outcome.output.size() > limits.outputBytes) {
                        ::kill(pid, SIGKILL);
                        return ChildOutcome::End::TooMuchOutput;
                    }
                } else {
                    outcome.errors.append(buffer, static_cast<size_t>(n));
                    if (outcome.errors.size() > 2 * kErrorTail)
                        outcome.errors.erase(0, outcome.errors.size() - kErrorTail);
                }
            }
        }
        return ChildOutcome::End::Exited;
    }
};

}  // namespace

std::unique_ptr<ChildProcess> SystemChildProcess() {
    return std::make_unique<PosixChildProcess>();
}

std::filesystem::path RunningProgramFolder() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

}  // namespace wb
