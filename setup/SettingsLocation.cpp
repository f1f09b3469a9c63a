#include "setup/SettingsLocation.h"

#include <system_error>

#include "store/SettingsDatabase.h"

namespace wb {

std::filesystem::path SettingsFolder(const std::filesystem::path& startedIn,
                                     const std::filesystem::path& appData) {
    std::error_code ec;
    if (std::filesystem::exists(startedIn / SettingsDatabase::kFileName, ec) || appData.empty())
        return startedIn;
    std::filesystem::create_directories(appData, ec);
    if (ec || !std::filesystem::is_directory(appData, ec)) return startedIn;
    return appData;
}

}  // namespace wb
