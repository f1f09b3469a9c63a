// `weightbalance --export TAIL FILE` and `weightbalance --import FILE`: an aircraft's record
// package written or read without the window, before any window object exists, on the store
// `--verify` would check.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "package/RecordPackage.h"

namespace wb {

// Writes the package of `tail` into `file`; what was written, or what is wrong, on `out`.
// 0: written; 1: refused (no stored Worksheet of the tail); 2: nothing could be done (no
// database, a database or file that cannot be used).
int ExportCommand(const std::string& tail, const std::filesystem::path& file,
                  const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, const RecordPdfWriter& pdf, std::ostream& out);

// Checks the package in `file` and stores what the database does not hold yet.
// 0: imported (or everything held already); 1: refused (the package is not sound, nothing
// stored); 2: nothing could be done.
int ImportCommand(const std::filesystem::path& file, const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, std::ostream& out);

}  // namespace wb
