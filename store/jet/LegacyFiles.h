// Reads the old main database ("VELK.MDB") and settings database ("SetupVELKF.MDB") into what
// the import brings across. Nothing is written anywhere.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/jet/LegacyImport.h"

namespace wb::jet {

// Reads the named tables of an old file, in the order asked; empty with a message for the
// mechanic when the file cannot be read.
class TableReader {
  public:
    virtual ~TableReader() = default;
    virtual std::optional<std::vector<JetTable>> Read(const std::filesystem::path& file,
                                                      const std::vector<std::string>& tables,
                                                      std::string& error) const = 0;
};

// Reads in this process: the reading child's own way, and the reader's tests'.
const TableReader& ReadInThisProcess();

// Empty with a message for the user when the file cannot be read or lacks a table or column.
std::optional<LegacyMainImport> ReadLegacyMain(const std::filesystem::path& mainDatabase, std::string& error,
                                               const TableReader& reader = ReadInThisProcess());
std::optional<LegacySetup> ReadLegacySetup(const std::filesystem::path& settingsDatabase, std::string& error,
                                           const TableReader& reader = ReadInThisProcess());

}  // namespace wb::jet
