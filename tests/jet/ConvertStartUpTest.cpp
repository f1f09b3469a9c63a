// Start-up finding an old Jet file where it expects its own: the question, the conversion and
// its report, and a converted database then browsed, searched and saved like any other.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "Fixtures.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

namespace fs = std::filesystem;
using jet::testing::Contents;
using jet::testing::FilesIn;
using jet::testing::FixtureDir;

class ConvertStartUp : public test::FormDriver {
  protected:
    ConvertStartUp() {
        form.oldFileReader = WB_JET_READER;
        form.Load();
    }
    void SetUp() override { WB_NEED_JET_FIXTURES(); }

    // The settings point at a data folder holding an old main database.
    fs::path OldMainDatabase() {
        fs::create_directories(DataFolder());
        SettingsDatabase(temp.path).SetDataPath(DataFolder().string());
        fs::copy_file(FixtureDir() / "VELK_a.MDB", MainFile());
        return MainFile();
    }
};

TEST_F(ConvertStartUp, YesConvertsReportsAndOpensADatabaseThatSearchesAndSaves) {
    const fs::path file = OldMainDatabase();
    dialogs.answers = {true};
    form.Activate();

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, "Convert old database?");
    EXPECT_NE(dialogs.shown[0].text.find(file.string()), std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find("VELK.MDB.jet"), std::string::npos);
    EXPECT_EQ(dialogs.shown[1].title, "Database converted");
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Information);
    EXPECT_NE(dialogs.shown[1].text.find("13 Worksheets"), std::string::npos) << dialogs.shown[1].text;
    ASSERT_NE(form.records, nullptr);
    EXPECT_FALSE(form.Visible(Control::Panel3D11));
    EXPECT_FALSE(form.Visible(Control::Panel3D7));  // the old company row is complete
    EXPECT_EQ(form.Text(Control::Text17), "O'Hara Aircraft Maintenance");
    EXPECT_EQ(Contents(DataFolder() / "VELK.MDB.jet"), Contents(FixtureDir() / "VELK_a.MDB"));

    // Its dates are stored as the store keeps them (ConvertTest): searched, found and saved.
    New();
    ClearCriteria();
    Set(Control::Text1, "C-GKLM");
    Next();
    EXPECT_EQ(OnScreen(), "C-GKLM 02-14-2000");
    Next();
    EXPECT_EQ(OnScreen(), "C-GKLM 10-08-2004");

    dialogs.Clear();
    dialogs.answers = {true, true};
    form.SetText(Control::Text12, "Annual, reweighed");
    form.Clicked(Control::Command3D13);
    EXPECT_EQ(form.ScreenSaved, 1) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'C-GKLM' AND \"Date\" = '2004-10-08'"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'C-GKLM' AND Work = 'Annual, reweighed'"), 1);
}

TEST_F(ConvertStartUp, NoChangesNothingAndOffersTheDataFolderPanel) {
    const fs::path file = OldMainDatabase();
    form.Activate();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Convert old database?");
    EXPECT_EQ(form.records, nullptr);
    EXPECT_TRUE(form.Visible(Control::Panel3D11));
    EXPECT_EQ(FilesIn(DataFolder()), std::set<std::string>{"VELK.MDB"});
    EXPECT_EQ(Contents(file), Contents(FixtureDir() / "VELK_a.MDB"));
}

TEST_F(ConvertStartUp, AnOldSettingsFileIsConvertedOrLeftAsItIs) {
    const fs::path file = temp.path / "SetupVELKF.MDB";
    fs::copy_file(FixtureDir() / "setup-configured/SetupVELKF.MDB", file);

    // No: nothing changes, and the program starts as if no data folder had been chosen.
    form.Activate();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Convert old database?");
    EXPECT_NE(dialogs.shown[0].text.find("settings file"), std::string::npos);
    EXPECT_EQ(form.settings, nullptr);
    EXPECT_TRUE(form.Visible(Control::Panel3D11));
    EXPECT_EQ(FilesIn(temp.path), std::set<std::string>{"SetupVELKF.MDB"});

    // Yes: the telephone comes across; the Windows data folder does not, so the panel shows.
    dialogs.Clear();
    dialogs.answers = {true};
    form.Activate();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, "Database converted");
    EXPECT_NE(dialogs.shown[1].text.find("C:\\WB\\DATA"), std::string::npos) << dialogs.shown[1].text;
    ASSERT_NE(form.settings, nullptr);
    EXPECT_EQ(form.Text(Control::Text20), "555-0100");
    EXPECT_TRUE(form.Visible(Control::Panel3D11));
    EXPECT_EQ(Contents(temp.path / "SetupVELKF.MDB.jet"),
              Contents(FixtureDir() / "setup-configured/SetupVELKF.MDB"));
}

}  // namespace
}  // namespace wb
