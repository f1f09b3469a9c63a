// A child that misbehaves on request, for the process port's tests: MisbehavingChild MODE.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "answer") {
        std::fputs("every byte\nof the answer", stdout);
        std::fputs("said on the side", stderr);
        return 0;
    }
    if (mode == "fail") return 3;
    if (mode == "crash") {
        ::signal(SIGSEGV, SIG_DFL);  // past any sanitizer's own handler: a plain crash
        ::raise(SIGSEGV);
    }
    if (mode == "hang" || mode == "hang-silently") {
        // Ends itself after a while: a process port that ignored its time limit then fails the
        // test's own time assertion within seconds, rather than hanging until the runner stops it.
        ::alarm(8);
        if (mode == "hang-silently") {
            ::close(STDOUT_FILENO);
            ::close(STDERR_FILENO);
        }
        for (;;)
            ::pause();
    }
    if (mode == "flood") {
        const std::string line(4096, 'x');
        for (;;)
            std::fwrite(line.data(), 1, line.size(), stdout);
    }
    if (mode == "memory") {
        // Slowly enough for a limit that is checked now and then, not at each allocation.
        std::vector<char*> kept;
        for (int mb = 0; mb < 768; ++mb) {
            char* block = new char[1 << 20];
            std::memset(block, mb, 1 << 20);
            kept.push_back(block);
            ::usleep(1000);
        }
        return 0;
    }
    return 2;
}
