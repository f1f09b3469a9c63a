// The data folder: where the folder list starts, and storing the chosen folder.
#pragma once

#include <filesystem>
#include <string>

#include "worksheet/Company.h"

namespace wb {

class SettingsDatabase;

struct FolderListStart {
    std::string folder;          // the folder the list opens at
    bool storedMissing = false;  // a stored folder no longer exists; the list shows `current`
};

// The stored folder when it exists; otherwise the current folder (with storedMissing set
// when a folder was stored but is gone).
FolderListStart DataFolderStart(const Nullable& dataPath, const std::filesystem::path& current);

// Stores `folder` as DataPath. Throws when the settings database refuses it.
void SaveDataFolder(SettingsDatabase& settings, const std::string& folder);

}  // namespace wb
