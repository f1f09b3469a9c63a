// The reader of old Jet files, run by the program as a child process:
//   weightbalance-jet-reader FILE TABLE...
// writes the tables (or why the file was refused) to its standard output. A damaged file may
// still bring this process down; the program then reports the file as damaged.
#include <cstdio>
#include <string>
#include <vector>

#include "store/jet/ChildReader.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: weightbalance-jet-reader FILE TABLE...\n", stderr);
        return 2;
    }
    const std::vector<std::string> tables(argv + 2, argv + argc);
    wb::jet::AnswerTables(argv[1], tables, [](std::string_view piece) {
        std::fwrite(piece.data(), 1, piece.size(), stdout);
        std::fflush(stdout);
    });
    return 0;
}
