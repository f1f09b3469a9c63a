// `weightbalance --verify [FOLDER]`: checks a database's signatures and audit trail without
// the window, before any window object exists.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

namespace wb {

// Verifies the main database in `folder`, or without one the data folder (or shop server)
// named in the settings of `settingsFolder`. Names each failure by tail and date on `out`.
// 0: everything verified; 1: something did not; 2: there was nothing that could be verified.
int VerifyCommand(const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, std::ostream& out);

}  // namespace wb
