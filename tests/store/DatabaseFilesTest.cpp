// The two database files: created on a first start, refused (and left alone) when they cannot
// be read, the settings and company rows, and the start-up body over them.
#include <fstream>
#include <iterator>

#include "store/Schema.h"
#include "store/WorksheetRows.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/FirstLayout.h"

namespace wb {
namespace {

using test::Dump;
using test::ScriptedDialogs;
using test::TempFolder;

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DatabaseFiles, AMissingFileIsCreatedWithItsTablesRowsAndVersion) {
    TempFolder temp;
    SettingsDatabase settings(temp.path);
    EXPECT_EQ(settings.DataPath(), std::nullopt);
    EXPECT_EQ(settings.CompanyPhone(), std::nullopt);
    settings.SetDataPath("/shop/data");
    settings.SetCompanyPhone("555-0100");
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath(), "/shop/data");

    MainDatabase main(temp.path / "VELK.MDB");
    EXPECT_EQ(main.ReadCompanyRow(), CompanyRow{});
    Statement version = main.db().Prepare("PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.Int(0), kSchemaVersion);
    EXPECT_EQ(MainDatabaseFile("/shop/data"), std::filesystem::path("/shop/data/VELK.MDB"));
}

// Files that are no database at all, or a newer one, are tried at start-up (FaultTest).
TEST(DatabaseFiles, ADatabaseOfAnotherProgramOrAMissingFolderIsRefused) {
    TempFolder temp;
    const auto foreign = temp.path / "foreign.MDB";
    { Database(foreign, Database::Mode::CreateIfMissing).Exec("CREATE TABLE Orders (x)"); }
    const std::string before = Contents(foreign);
    try {
        MainDatabase main(foreign);
        FAIL() << "a database of another program was opened";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.file(), foreign);
    }
    EXPECT_EQ(Contents(foreign), before);
    EXPECT_THROW(MainDatabase{temp.path / "no such folder" / "VELK.MDB"}, StoreError);
}

// Start-up without the fixture's prepared files.
class ActivateTest : public ::testing::Test {
  protected:
    ActivateTest() : form(dialogs, clock) {
        form.workingFolder = temp.path;
        form.Load();
    }
    TempFolder temp;
    ScriptedDialogs dialogs;
    test::FixedClock clock{{2001, 6, 10}};
    MainForm form;
};

TEST_F(ActivateTest, AMissingFormTitleOpensThePanelAtItButAnEmptyOneDoesNot) {
    SettingsDatabase(temp.path).SetDataPath(temp.path.string());
    CompanyRow company;
    company.CompName = "Shop";
    company.CompAddress = "1 Field Rd";
    company.Mechanic = "J. Smith";
    company.Cert = "A&P 123";
    company.PrintMech = true;
    MainDatabase(temp.path / "VELK.MDB").WriteCompanyRow(company);
    {
        ScriptedDialogs d;
        test::FixedClock c;
        MainForm withoutTitle(d, c);
        withoutTitle.workingFolder = temp.path;
        withoutTitle.Activate();
        EXPECT_TRUE(withoutTitle.Visible(Control::Panel3D7));
        EXPECT_EQ(withoutTitle.Focus(), Control::Text21);
    }
    company.FormTitle = "";  // empty text is not Null
    MainDatabase(temp.path / "VELK.MDB").WriteCompanyRow(company);
    form.Activate();
    EXPECT_FALSE(form.Visible(Control::Panel3D7));
    EXPECT_TRUE(form.Checked(Control::Check3D3));
}

}  // namespace
}  // namespace wb

namespace wb {
namespace {

// A file of the first layout is brought up to date as it is opened: its Worksheets keep every
// value and gain an empty ballast arm, which is stored from then on.
TEST(DatabaseFiles, AFirstLayoutFileGainsTheBallastArm) {
    TempFolder temp;
    const auto file = temp.path / "VELK.MDB";
    Worksheet ws;
    ClearWorksheet(ws, false);
    ws.Set(Field::Tail, "N1");
    ws.Set(Field::Date, "01-05-2000");
    ws.Set(Field::Range3, "+33.0 to +42.5");
    {
        MainDatabase main(file);
        SaveWorksheet(main.db(), ws, {});
        test::MakeFirstLayout(main.db());
    }
    MainDatabase main(file);
    Statement version = main.db().Prepare("PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.Int(0), 2);
    Worksheet loaded;
    ASSERT_TRUE(LoadWorksheet(main.db(), 1, loaded, {}));
    EXPECT_EQ(loaded.Get(Field::Range3), "+33.0 to +42.5");
    EXPECT_EQ(loaded.Get(Field::BallastArm), "");

    // Typed, the arm is kept as its number; a text that is no arm is kept as none.
    for (const auto& [typed, stored] : {std::pair{"228", "228"}, {"+101.5 in", "101.5"}, {"aft", ""}}) {
        loaded.Set(Field::BallastArm, typed);
        const SaveOutcome saved = SaveWorksheet(main.db(), loaded, {false, std::nullopt, true});
        Worksheet again;
        ASSERT_TRUE(LoadWorksheet(main.db(), *saved.added, again, {}));
        EXPECT_EQ(again.Get(Field::BallastArm), stored) << typed;
    }
}

}  // namespace
}  // namespace wb
