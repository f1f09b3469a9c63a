// `weightbalance --verify [FOLDER]`: checks a database's signatures and audit trail without
// the window, before any window object exists.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "store/Sqlite.h"

namespace wb {

// What the verbs that run without the window share.
//
// The store a verb works on: `folder` when given, else the data folder or shop server chosen
// in the settings of `settingsFolder`; nothing when none has been chosen.
std::optional<std::string> CommandDataPath(const std::optional<std::filesystem::path>& folder,
                                           const std::filesystem::path& settingsFolder);
// Opens the main database of `dataPath`: a local file (read-only unless `write`, never
// created), or the shop server (its password from ~/.pgpass or the environment). Nothing,
// the reason told on `out`, when there is no such database.
std::optional<Database> OpenCommandDatabase(const std::string& dataPath, bool write, std::ostream& out);
// Why a database is not at this program's layout; empty when it is.
std::string LayoutProblem(Database& db, bool& older);

// Verifies the main database in `folder`, or without one the data folder (or shop server)
// named in the settings of `settingsFolder`. Names each failure by tail and date on `out`.
// 0: everything verified; 1: something did not; 2: there was nothing that could be verified.
int VerifyCommand(const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, std::ostream& out);

}  // namespace wb
