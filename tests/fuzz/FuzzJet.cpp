// Byte strings as old Jet files, read the way start-up reads them: by the reader program in a
// child process under its limits. Whatever the bytes do to the child, the program gets the
// tables or a reason, within the time limit; a crash or a hang here is one a mechanic would
// have met at start-up. Seeded with the fixture files (scripts/fuzz.sh).
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/jet/ChildReader.h"

namespace {

const std::filesystem::path& InputFile() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("fuzz-jet-" + std::to_string(::getpid()) + ".mdb");
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto process = wb::SystemChildProcess();
    static const wb::jet::ChildTableReader reader(*process, WB_JET_READER);
    std::ofstream(InputFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const auto limit = wb::jet::LimitsForFile(size).time + std::chrono::seconds(1);
    for (const auto& tables : {std::vector<std::string>{"Aircraft", "Equipment", "CompanyInfo"},
                               std::vector<std::string>{"Setup"}}) {
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        const auto read = reader.Read(InputFile(), tables, error);
        if (std::chrono::steady_clock::now() - start > limit) std::abort();
        if (read ? read->size() != tables.size() : error.empty()) std::abort();
    }
    return 0;
}
