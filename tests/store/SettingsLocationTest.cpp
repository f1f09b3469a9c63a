// Where the settings file is kept.
#include <gtest/gtest.h>

#include <fstream>

#include "setup/SettingsLocation.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::TempFolder;

TEST(SettingsLocationTest, AFileInTheStartingFolderWinsOtherwiseTheApplicationDataFolder) {
    TempFolder temp;
    const auto started = temp.path / "shop";
    const auto appData = temp.path / "home" / ".local" / "share" / "weightbalance";
    std::filesystem::create_directories(started);

    // Nothing beside the start: the application-data folder, created with its parents.
    EXPECT_EQ(SettingsFolder(started, appData), appData);
    EXPECT_TRUE(std::filesystem::is_directory(appData));

    // A settings file beside the start wins, even over one already in the application-data folder.
    { SettingsDatabase existing(appData); }
    std::ofstream(started / SettingsDatabase::kFileName) << "";
    EXPECT_EQ(SettingsFolder(started, appData), started);

    // No usable application-data folder: the starting folder, as before.
    const auto elsewhere = temp.path / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    EXPECT_EQ(SettingsFolder(elsewhere, {}), elsewhere);
    std::ofstream(temp.path / "file") << "in the way";
    EXPECT_EQ(SettingsFolder(elsewhere, temp.path / "file" / "weightbalance"), elsewhere);
}

}  // namespace
}  // namespace wb
