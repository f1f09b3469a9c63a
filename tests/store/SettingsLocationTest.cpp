// Where the settings file is kept, and a data folder given for one run only.
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

TEST(SettingsLocationTest, ADataFolderGivenForTheRunIsOpenedAndTheStoredOneKept) {
    TempFolder temp;
    const auto stored = temp.path / "stored";
    const auto given = temp.path / "given";
    std::filesystem::create_directories(stored);
    std::filesystem::create_directories(given);
    SettingsDatabase(temp.path).SetDataPath(stored.string());

    test::ScriptedDialogs dialogs;
    test::FixedClock clock;
    MainForm form(dialogs, clock);
    form.workingFolder = temp.path;
    form.dataFolderForRun = given.string();
    form.Load();
    form.Activate();

    ASSERT_NE(form.records, nullptr);
    EXPECT_TRUE(std::filesystem::exists(given / "VELK.MDB"));
    EXPECT_FALSE(std::filesystem::exists(stored / "VELK.MDB"));
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath(), stored.string());
}

}  // namespace
}  // namespace wb
