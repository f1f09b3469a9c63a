// Peak memory with the 100,000-Worksheet database open: start-up, then browsing through
// the Worksheets. The database is made in a child process when missing, so that its writing
// does not count here.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "bench/BenchShared.h"
#include "store/Records.h"

int main(int argc, char** argv) {
    using namespace wb;
    const int worksheets = argc > 1 ? std::atoi(argv[1]) : bench::kLarge;
    const int steps = argc > 2 ? std::atoi(argv[2]) : 20000;
    const pid_t child = fork();
    if (child == 0) {
        bench::CachedDatabase(worksheets);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;

    Records records(bench::CachedDatabase(worksheets));
    Worksheet ws;
    ClearWorksheet(ws, false);
    int loaded = 0;
    for (int i = 0; i < steps; ++i) {
        if (records.AircraftSet.Eof()) records.AircraftSet.MoveFirst();
        loaded += records.LoadFromAircraftSet(ws, bench::Defaults()) ? 1 : 0;
        records.AircraftSet.MoveNext();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("worksheets %d, browse steps %d (loaded %d), peak RSS %.1f MB\n", worksheets, steps, loaded,
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
