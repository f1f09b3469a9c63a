// Reads an old Jet file in a child process of the program's own, so that a damaged file that
// crashes or stalls the reader costs a message, never the program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "store/jet/ChildProcess.h"
#include "store/jet/LegacyFiles.h"

namespace wb::jet {

// The reader program, installed beside the program itself.
inline constexpr const char* kJetReaderProgram = "weightbalance-jet-reader";

// A few seconds per 10 MB and memory in proportion, with room for a small file's start-up.
ChildLimits LimitsForFile(std::uint64_t bytes);

class ChildTableReader : public TableReader {
  public:
    ChildTableReader(ChildProcess& process, std::filesystem::path program)
        : process_(process), program_(std::move(program)) {}

    std::optional<std::vector<JetTable>> Read(const std::filesystem::path& file,
                                              const std::vector<std::string>& tables,
                                              std::string& error) const override;

  private:
    ChildProcess& process_;
    std::filesystem::path program_;
};

// The child's side: reads the tables and writes the answer piece by piece through `put`, so
// that whatever it had written before dying still reaches the program.
void AnswerTables(const std::filesystem::path& file, const std::vector<std::string>& tables,
                  const std::function<void(std::string_view)>& put);

}  // namespace wb::jet
