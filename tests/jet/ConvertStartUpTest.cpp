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

    EXPECT_EQ(dialogs.Titles(), (std::vector<std::string>{"Convert old database?", "Database converted"}));
    EXPECT_NE(dialogs.shown[0].text.find(file.string()), std::string::npos);
    ASSERT_NE(form.records, nullptr);
    EXPECT_FALSE(form.Visible(Control::Panel3D7));  // the old company row is complete
    EXPECT_EQ(Contents(DataFolder() / "VELK.MDB.jet"), Contents(FixtureDir() / "VELK_a.MDB"));

    // Its dates are stored as the store keeps them (ConvertTest): searched, found and saved.
    New();
    ClearCriteria();
    Set(Control::Text1, "C-GKLM");
    Next();
    Next();
    EXPECT_EQ(OnScreen(), "C-GKLM 10-08-2004");

    dialogs.Clear();
    dialogs.answers = {true, true};
    form.SetText(Control::Text12, "Annual, reweighed");
    form.Clicked(Control::Command3D13);
    EXPECT_EQ(form.ScreenSaved, 1) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'C-GKLM' AND Work = 'Annual, reweighed'"), 1);
}

TEST_F(ConvertStartUp, NoChangesNothingAndOffersTheDataFolderPanel) {
    const fs::path file = OldMainDatabase();
    form.Activate();
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Convert old database?"});
    EXPECT_EQ(form.records, nullptr);
    EXPECT_TRUE(form.Visible(Control::Panel3D11));
    EXPECT_EQ(FilesIn(DataFolder()), std::set<std::string>{"VELK.MDB"});
    EXPECT_EQ(Contents(file), Contents(FixtureDir() / "VELK_a.MDB"));
}

}  // namespace
}  // namespace wb
