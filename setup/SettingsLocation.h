// Where the settings database "SetupVELKF.MDB" is kept.
#pragma once

#include <filesystem>

namespace wb {

// The folder the program was started from when it already holds "SetupVELKF.MDB" (a shop that
// keeps it beside its data, and every test); otherwise the user's application-data folder
// `appData`, created when missing. Without a usable application-data folder (none known, or it
// cannot be created) the settings stay in the starting folder, as they always did.
std::filesystem::path SettingsFolder(const std::filesystem::path& startedIn,
                                     const std::filesystem::path& appData);

}  // namespace wb
