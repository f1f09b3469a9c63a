// Reads the old main database ("VELK.MDB") and settings database ("SetupVELKF.MDB") into what
// the import brings across. Nothing is written anywhere.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "store/jet/LegacyImport.h"

namespace wb::jet {

// Empty with a message for the user when the file cannot be read or lacks a table or column.
std::optional<LegacyMainImport> ReadLegacyMain(const std::filesystem::path& mainDatabase, std::string& error);
std::optional<LegacySetup> ReadLegacySetup(const std::filesystem::path& settingsDatabase, std::string& error);

}  // namespace wb::jet
