#include "setup/DataFolder.h"

#include <system_error>

#include "store/SettingsDatabase.h"

namespace wb {

FolderListStart DataFolderStart(const Nullable& dataPath, const std::filesystem::path& current) {
    std::error_code ec;
    std::filesystem::path here = std::filesystem::absolute(current, ec);
    if (ec) here = current;
    // "." names the working folder: the list must find it by its plain path ("/a/b", not "/a/b/.").
    here = here.lexically_normal();
    if (here.filename().empty() && here.has_relative_path()) here = here.parent_path();
    if (!dataPath || dataPath->empty()) return {here.string(), false};
    if (std::filesystem::is_directory(*dataPath, ec)) return {*dataPath, false};
    return {here.string(), true};
}

void SaveDataFolder(SettingsDatabase& settings, const std::string& folder) {
    settings.SetDataPath(folder);
}

}  // namespace wb
