// The set-up panel, the report font and the data folder over real database files: what is
// stored where, what the next start reads back, and what a failing store tells.
#include <gtest/gtest.h>

#include "app/ReportFromScreen.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::ScriptedDialogs;
using test::TempFolder;

class SetupTest : public ::testing::Test {
  protected:
    // A fresh run of the program: load, then the start-up body.
    std::unique_ptr<MainForm> Start(std::optional<std::string> dataFolderForRun = std::nullopt) {
        auto form = std::make_unique<MainForm>(dialogs, clock);
        form->workingFolder = temp.path;
        form->dataFolderForRun = dataFolderForRun;
        form->Load();
        form->Activate();
        return form;
    }
    std::filesystem::path Data() const { return temp.path / "data"; }
    void UseDataFolder() {
        std::filesystem::create_directories(Data());
        SettingsDatabase(temp.path).SetDataPath(Data().string());
    }
    void WriteCompany() {
        CompanyRow company = test::ShopCompany();
        company.PrintNotes = true;
        MainDatabase(Data() / "VELK.MDB").WriteCompanyRow(company);
    }
    CompanyRow StoredCompany() { return MainDatabase(Data() / "VELK.MDB").ReadCompanyRow(); }
    std::vector<std::string> CompanyNames(MainForm& form) {
        Statement s = form.records->db().Prepare("SELECT CompName FROM CompanyInfo ORDER BY Id");
        std::vector<std::string> names;
        while (s.Step())
            names.push_back(s.Text(0).value_or("<null>"));
        return names;
    }

    TempFolder temp;
    ScriptedDialogs dialogs;
    test::FixedClock clock{{2026, 12, 6}};
};

TEST_F(SetupTest, ANewCompanyIsAskedForThenStoredWithThePhoneInBothPlaces) {
    UseDataFolder();
    auto form = Start();
    ASSERT_NE(form->records, nullptr);
    EXPECT_TRUE(form->Visible(Control::Panel3D7));
    EXPECT_EQ(form->Focus(), Control::Text17);

    form->TextChanged(Control::Text17, "Skyline Avionics");
    form->TextChanged(Control::Text18, "1 Field Rd");
    form->TextChanged(Control::Text20, "555-0100");
    form->TextChanged(Control::Text25, "J. Smith");
    form->TextChanged(Control::Text26, "A&P 123");
    form->SetChecked(Control::Check3D2, true);
    form->Clicked(Control::Command3D18);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->Focus(), Control::Text1);

    EXPECT_EQ(SettingsDatabase(temp.path).CompanyPhone(), "555-0100");
    const CompanyRow stored = StoredCompany();
    EXPECT_EQ(stored.CompPhone, "555-0100");
    EXPECT_EQ(stored.FormTitle, "");  // an empty field is stored as empty text
    form.reset();

    // The next start opens no panel (the empty title is no missing one) and fills the fresh
    // Worksheet's defaults.
    MainDatabase(Data() / "VELK.MDB").db().Exec("UPDATE CompanyInfo SET CompPhone = '999'");
    form = Start();
    EXPECT_FALSE(form->Visible(Control::Panel3D7));
    EXPECT_EQ(form->Text(Control::Text6), "J. Smith");
    EXPECT_EQ(form->Text(Control::Text22), "A&P 123");
    // The phone is read back from the settings row only.
    form->Clicked(Control::Command3D18);
    EXPECT_EQ(form->Text(Control::Text20), "555-0100");
    EXPECT_TRUE(form->Checked(Control::Check3D2));
    form.reset();

    // A title that is Null is asked for.
    MainDatabase(Data() / "VELK.MDB").db().Exec("UPDATE CompanyInfo SET FormTitle = NULL");
    form = Start();
    EXPECT_EQ(form->Focus(), Control::Text21);
}

// The font row goes after the company row (made first when the table is empty) and is then
// edited in place; storing the panel writes the company row alone.
TEST_F(SetupTest, TheFontRowFollowsTheCompanyRowAndIsEditedInPlace) {
    UseDataFolder();
    MainDatabase(Data() / "VELK.MDB").db().Exec("DELETE FROM CompanyInfo");
    auto form = Start();
    ASSERT_TRUE(form->Visible(Control::Panel3D7));
    EXPECT_EQ(CompanyNames(*form), std::vector<std::string>{"<null>"});
    const ReportFont times{"Times New Roman", 14, false, false};
    const ReportFont courier{"Courier New", 10.5, true, true};
    dialogs.fonts = {times, courier};
    form->Clicked(Control::Command3D28);
    EXPECT_EQ(form->SampleFont(), times);
    form->Clicked(Control::Command3D28);
    EXPECT_EQ(dialogs.fontsOffered.back(), times);
    EXPECT_EQ(CompanyNames(*form), (std::vector<std::string>{"<null>", "Reports"}));
    EXPECT_EQ(form->records->database().ReadReportFont(), courier);

    form->TextChanged(Control::Text18, "2 Hangar Ln");
    form->Clicked(Control::Command3D18);
    EXPECT_EQ(StoredCompany().CompAddress, "2 Hangar Ln");
    EXPECT_EQ(form->records->database().ReadReportFont(), courier);
}

TEST_F(SetupTest, AFailedStoreIsToldAndKeepsWhatWasTyped) {
    UseDataFolder();
    WriteCompany();
    auto form = Start();
    form->Clicked(Control::Command3D18);
    form->TextChanged(Control::Text20, "555-0199");
    form->TextChanged(Control::Text17, "Renamed");
    form->records->db().Exec("DROP TABLE CompanyInfo");
    form->Clicked(Control::Command3D18);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Set-up not saved");
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Critical);
    EXPECT_TRUE(form->Visible(Control::Panel3D7));
    EXPECT_EQ(form->Text(Control::Text17), "Renamed");
    // The step before the failing one is stored all the same.
    EXPECT_EQ(SettingsDatabase(temp.path).CompanyPhone(), "555-0199");
}

// A stored folder that is gone opens the data-folder panel at the current folder and says so,
// creating nothing. With nothing open, a folder saved there is opened at once: the panel closes,
// the message says where the records are, and what was typed is stored without a restart.
TEST_F(SetupTest, WithNothingOpenAFolderSavedInThePanelIsUsedAtOnce) {
    const std::string gone = (temp.path / "moved away").string();
    SettingsDatabase(temp.path).SetDataPath(gone);
    auto form = Start();
    EXPECT_EQ(form->records, nullptr);
    EXPECT_TRUE(form->Visible(Control::Panel3D11));
    EXPECT_EQ(form->ChosenFolder(), std::filesystem::absolute(temp.path).string());
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Data folder not found"});
    EXPECT_NE(dialogs.shown[0].text.find(gone), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(gone));

    // Typed before any database was open: kept, and the mechanic typed stays.
    form->Clicked(Control::Command3D31);
    form->TextChanged(Control::Text1, "N733BM");
    form->TextChanged(Control::Text6, "Typed By");
    dialogs.Clear();
    form->Clicked(Control::Command3D13);
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet not saved"});
    EXPECT_NE(dialogs.shown[0].text.find("(Set-up, Path) and press SAVE"), std::string::npos);

    std::filesystem::create_directories(Data());
    form->Clicked(Control::Command3D18);
    form->TextChanged(Control::Text17, "Skyline Avionics");  // typed before a folder was chosen
    form->Clicked(Control::Command3D40);
    form->FolderChosen(Data().string());
    dialogs.Clear();
    form->Clicked(Control::Command3D39);
    ASSERT_NE(form->records, nullptr);
    EXPECT_FALSE(form->Visible(Control::Panel3D11));
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath(), Data().string());
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Data folder saved"});
    EXPECT_NE(dialogs.shown[0].text.find((Data() / "VELK.MDB").string()), std::string::npos);
    EXPECT_EQ(form->Text(Control::Text6), "Typed By");

    // The company is asked for, as at any start with an empty company row; then the Worksheet
    // is stored, no restart needed.
    EXPECT_TRUE(form->Visible(Control::Panel3D7));
    EXPECT_EQ(form->Text(Control::Text17), "Skyline Avionics");
    form->Clicked(Control::Command3D18);
    dialogs.Clear();
    form->Clicked(Control::Command3D13);
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.Titles().at(0) << ": " << dialogs.shown.at(0).text;
    EXPECT_EQ(form->ScreenSaved, 1);
    EXPECT_EQ(MainDatabase(Data() / "VELK.MDB").ReadCompanyRow().CompName, "Skyline Avionics");
    form.reset();
    dialogs.Clear();
    form = Start();
    ASSERT_NE(form->records, nullptr);
    form->Clicked(Control::Command3D17);  // browse: the Worksheet stored before the restart
    EXPECT_EQ(form->Text(Control::Text1), "N733BM");
}

// With a database open, a folder saved is used from the next start, and the message says so.
TEST_F(SetupTest, WithADatabaseOpenAFolderSavedIsUsedFromTheNextStart) {
    UseDataFolder();
    WriteCompany();
    auto form = Start();
    ASSERT_NE(form->records, nullptr);
    const auto other = temp.path / "other";
    std::filesystem::create_directories(other);
    form->Clicked(Control::Command3D18);
    form->Clicked(Control::Command3D40);
    EXPECT_EQ(form->ChosenFolder(), Data().string());
    form->FolderChosen(other.string());
    form->Clicked(Control::Command3D39);
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Data folder saved"});
    EXPECT_NE(dialogs.shown[0].text.find("used from the next start"), std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find((Data() / "VELK.MDB").string()), std::string::npos);
    EXPECT_TRUE(form->Visible(Control::Panel3D11));
    EXPECT_FALSE(std::filesystem::exists(other / "VELK.MDB"));
    form.reset();
    form = Start();
    ASSERT_NE(form->records, nullptr);
    EXPECT_TRUE(std::filesystem::exists(other / "VELK.MDB"));
}

TEST_F(SetupTest, ADataFolderGivenForTheRunIsOpenedAndTheStoredOneKept) {
    UseDataFolder();
    const auto given = temp.path / "given";
    std::filesystem::create_directories(given);
    auto form = Start(given.string());
    ASSERT_NE(form->records, nullptr);
    EXPECT_TRUE(std::filesystem::exists(given / "VELK.MDB"));
    EXPECT_FALSE(std::filesystem::exists(Data() / "VELK.MDB"));
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath(), Data().string());
}

TEST_F(SetupTest, AReportReadsTheOptionsAsTheyStandAndTheCompanyAsStored) {
    UseDataFolder();
    WriteCompany();
    auto form = Start();
    form->Clicked(Control::Command3D18);
    form->SetChecked(Control::Check3D4, false);  // not stored: the panel is still open
    form->TextChanged(Control::Text17, "Typed, not stored");
    ReportInput in = ReportFromScreen(*form);
    EXPECT_FALSE(in.options.notes);
    ASSERT_TRUE(in.company.has_value());
    EXPECT_EQ(in.company->CompName, "Shop");
    // Printing writes nothing, not even the company row of an emptied table.
    form->records->db().Exec("DELETE FROM CompanyInfo");
    EXPECT_FALSE(ReportFromScreen(*form).company.has_value());
    EXPECT_TRUE(CompanyNames(*form).empty());
}

}  // namespace
}  // namespace wb
