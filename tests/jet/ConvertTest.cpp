// Converting the old files in place: every value of every fixture file as stored in the new
// database, the old file kept byte for byte, and a conversion that fails at any point leaving
// the folder as it was; start-up asking first, then a converted database searched and saved
// like any other. Bad files are refused by the reader (LegacyImportTest) and at start-up.
#include "store/jet/Convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "Fixtures.h"
#include "store/MainDatabase.h"
#include "store/Scales.h"
#include "store/Schema.h"
#include "store/pg/CopyUp.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/RecordingProgress.h"

namespace wb::jet {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::Contents;
using testing::Expected;
using testing::FilesIn;
using testing::FixtureDir;
using wb::test::TempFolder;

// A copy of a fixture under the name the program looks for; copies keep the read-only mode.
fs::path CopyFixture(const std::string& fixture, const fs::path& folder, const std::string& name) {
    const fs::path to = folder / name;
    fs::copy_file(FixtureDir() / fixture, to);
    return to;
}

// One stored value against the fixture's value for a column of the given Jet type.
void ExpectStored(const Statement& s, int col, const json& want, const std::string& type,
                  const std::string& where) {
    SCOPED_TRACE(where);
    if (want.is_null()) {
        EXPECT_TRUE(s.IsNull(col)) << "expected Null, got " << s.Text(col).value_or("");
        return;
    }
    ASSERT_FALSE(s.IsNull(col)) << "expected " << want.dump() << ", got Null";
    if (type == "Text" || type == "Memo" || type == "Date/Time") {
        EXPECT_EQ(s.Text(col), want.get<std::string>());
    } else if (type == "Double") {
        EXPECT_EQ(s.Real(col), want.get<double>());
    } else if (type == "Single") {  // the decimal it stands for: the import's own tests
        EXPECT_EQ(static_cast<float>(s.Real(col)), static_cast<float>(want.get<double>()));
    } else if (type == "Yes/No") {
        EXPECT_EQ(s.Int(col), want.get<bool>() ? 1 : 0);
    } else {
        EXPECT_EQ(s.Int(col), want.get<std::int64_t>());
    }
}

std::string TypeOf(const json& table, const std::string& column) {
    for (const json& c : table["columns"])
        if (c["name"] == column) return c["type"];
    ADD_FAILURE() << "no column " << column;
    return "";
}

class ConvertFixture : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        WB_NEED_JET_FIXTURES();
        file = CopyFixture(GetParam(), temp.path, "VELK.MDB");
        report = ConvertMainDatabase(file);
        expected = Expected()["files"][GetParam()];
        // Every Worksheet but the earlier save of one Tail and Date (checked below).
        std::set<int> leftOut;
        for (const NotBroughtAcross& n : report.notBroughtAcross)
            if (n.table == "Aircraft") leftOut.insert(n.row);
        for (const json& row : expected["tables"]["Aircraft"]["rows"])
            if (!leftOut.count(row["row"])) kept.insert(row["worksheet"].get<int>());
    }

    TempFolder temp;
    fs::path file;
    ConversionReport report;
    json expected;
    std::set<int> kept;  // worksheets brought across
};

// Aircraft and company rows come across in their order; each list row is found under its
// Worksheet and list at the RowNum a save would give it; the font row is read back by the store.
TEST_P(ConvertFixture, EveryValueIsStoredAsRead) {
    MainDatabase main(file);  // opens as one of the program's own files
    const json& tables = expected["tables"];
    std::vector<std::string> aircraftColumns, companyColumns;
    for (const AircraftColumn& c : AircraftColumns())
        if (c.name != "BallastArm" && c.name != "Units" && c.name != "Lemac" && c.name != "Mac" && std::none_of(WeighingColumns().begin(), WeighingColumns().end(),
                                                   [&](const auto& w) { return w.first == c.name; }))
            aircraftColumns.push_back(c.name);  // not in the old files
    for (const json& c : tables["CompanyInfo"]["columns"])
        companyColumns.push_back(c["name"]);
    const std::vector<std::string> equipmentColumns = {"Description", "Serial",  "Weight",
                                                       "Arm",         "Install", "Remove"};
    auto select = [&](const std::vector<std::string>& columns, const std::string& rest) {
        std::string sql = "SELECT ";
        for (const std::string& c : columns)
            sql += Quoted(c) + ", ";
        return main.db().Prepare(sql + "Id " + rest);
    };
    auto compare = [&](const Statement& s, const std::vector<std::string>& columns, const std::string& table,
                       const json& row) {
        for (size_t c = 0; c < columns.size(); ++c)
            ExpectStored(s, static_cast<int>(c), row["values"][columns[c]], TypeOf(tables[table], columns[c]),
                         table + " row " + row["row"].dump() + " " + columns[c]);
    };

    int worksheets = 0, changes = 0, items = 0;
    std::map<int, std::string> tailOf;
    Statement aircraft = select(aircraftColumns, "FROM Aircraft ORDER BY Id");
    for (const json& row : tables["Aircraft"]["rows"]) {
        tailOf[row["worksheet"]] = row["values"]["Tail"];
        if (!kept.count(row["worksheet"])) continue;
        ASSERT_TRUE(aircraft.Step()) << "Aircraft row " << row["row"] << " is missing";
        compare(aircraft, aircraftColumns, "Aircraft", row);
        ++worksheets;
    }
    EXPECT_FALSE(aircraft.Step()) << "more Aircraft rows than brought across";
    Statement company = select(companyColumns, "FROM CompanyInfo ORDER BY Id");
    for (const json& row : tables["CompanyInfo"]["rows"]) {
        ASSERT_TRUE(company.Step());
        compare(company, companyColumns, "CompanyInfo", row);
    }
    EXPECT_FALSE(company.Step());
    if (report.counts.reportFontRows == 1) {
        EXPECT_EQ(main.ReadReportFont(), (ReportFont{"Times New Roman", 14, false, true}));
    }

    std::map<std::pair<int, std::string>, int> next;  // RowNum per worksheet and list
    for (const json& row : tables["Equipment"]["rows"]) {
        const int worksheet = row["worksheet"];
        if (!kept.count(worksheet)) continue;
        const std::string list = row["list"];
        const int rowNum = next[{worksheet, list}]++;
        (list == "changes" ? changes : items)++;
        Statement s = select(equipmentColumns,
                             "FROM Equipment WHERE Tail = ? AND \"Date\" = ? AND List = ? AND RowNum = ?");
        s.BindAll({tailOf[worksheet], row["values"]["Date"].get<std::string>(), list, std::int64_t{rowNum}});
        ASSERT_TRUE(s.Step()) << "Equipment row " << row["row"] << " is not stored as " << list << " row "
                              << rowNum;
        compare(s, equipmentColumns, "Equipment", row);
        EXPECT_FALSE(s.Step()) << "Equipment row " << row["row"] << " stored twice";
    }
    EXPECT_EQ(worksheets, static_cast<int>(tables["Aircraft"]["rows"].size()) - 1);  // one earlier save
    EXPECT_EQ(changes, report.counts.changeRows);
    Statement total = main.db().Prepare("SELECT count(*) FROM Equipment");
    total.Step();
    EXPECT_EQ(total.Int(0), changes + items);
}

// The old file is kept byte for byte and nothing else is left; the earlier save of one Tail and
// Date is named with its key values and its list rows.
TEST_P(ConvertFixture, TheOldFileIsKeptAndTheEarlierSaveIsReported) {
    EXPECT_EQ(report.keptAs, temp.path / "VELK.MDB.jet");
    EXPECT_EQ(Contents(report.keptAs), Contents(FixtureDir() / GetParam()));
    EXPECT_EQ(FilesIn(temp.path), (std::set<std::string>{"VELK.MDB", "VELK.MDB.jet"}));
    const std::string text = ReportText(report);
    EXPECT_NE(text.find("- 13 Worksheets"), std::string::npos) << text;
    EXPECT_NE(text.find("Aircraft row 8 (Tail \"N4521K\", Date 2003-05-21)"), std::string::npos) << text;
    // Its twenty list rows are joined into two lines, one per list.
    EXPECT_NE(text.find("Equipment rows 263-267"), std::string::npos) << text;
    EXPECT_NE(text.find("Equipment rows 268-282"), std::string::npos) << text;
    EXPECT_EQ(report.notBroughtAcross.size(), 21u);
}

// Moved up to a shop server, a converted file gives the same rows, value for value.
TEST_P(ConvertFixture, MovedUpToAShopServerItGivesTheSameWorksheets) {
    WB_REQUIRE_TEST_SERVER();
    test::FreshServerDatabase();
    Database local = OpenDatabaseFile(report.database, MainTables());
    Database server = OpenServer(test::TestServerAddress());
    EXPECT_EQ(CopyUp(local, server).worksheets, report.counts.worksheets);
    EXPECT_EQ(test::Dump(server), test::Dump(local));
}

INSTANTIATE_TEST_SUITE_P(MainFiles, ConvertFixture, ::testing::Values("VELK_a.MDB", "VELK_b.MDB"),
                         [](const auto& info) { return info.param == "VELK_a.MDB" ? "a" : "b"; });

// The kept copy takes the next free name: an older copy under its name is never overwritten.
TEST(ConvertSettings, ThePhoneComesAcrossAForeignFolderIsLeftOutAndNoCopyIsOverwritten) {
    WB_NEED_JET_FIXTURES();
    TempFolder temp;
    const fs::path file = CopyFixture("setup-configured/SetupVELKF.MDB", temp.path, "SetupVELKF.MDB");
    std::ofstream(temp.path / "SetupVELKF.MDB.jet") << "an older copy";
    const ConversionReport report = ConvertSettingsDatabase(file);
    SettingsDatabase settings(temp.path);
    EXPECT_EQ(settings.CompanyPhone(), "555-0100");
    EXPECT_EQ(settings.DataPath(), std::nullopt);
    const std::string text = ReportText(report);
    EXPECT_NE(text.find("C:\\WB\\DATA does not exist on this computer"), std::string::npos) << text;
    EXPECT_EQ(report.keptAs, temp.path / "SetupVELKF.MDB.jet.1");
    EXPECT_EQ(Contents(report.keptAs), Contents(FixtureDir() / "setup-configured/SetupVELKF.MDB"));
    EXPECT_EQ(Contents(temp.path / "SetupVELKF.MDB.jet"), "an older copy");
}

class ConvertFailure : public ::testing::TestWithParam<ConversionStep> {};

TEST_P(ConvertFailure, LeavesTheOldFileInPlaceAndNoOtherFile) {
    WB_NEED_JET_FIXTURES();
    TempFolder temp;
    const fs::path file = CopyFixture("VELK_b.MDB", temp.path, "VELK.MDB");
    const ConversionStep failAt = GetParam();
    try {
        ConvertMainDatabase(file, [&](ConversionStep step) {
            if (step == failAt) throw std::runtime_error("disk full");
        });
        FAIL() << "the conversion did not fail";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("disk full"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Nothing has been changed"), std::string::npos) << e.what();
    }
    EXPECT_EQ(FilesIn(temp.path), std::set<std::string>{"VELK.MDB"});
    EXPECT_EQ(Contents(file), Contents(FixtureDir() / "VELK_b.MDB"));
}

INSTANTIATE_TEST_SUITE_P(AtEachStep, ConvertFailure,
                         ::testing::Values(ConversionStep::RowsWritten, ConversionStep::FileClosed,
                                           ConversionStep::OldFileMoved));

// Start-up: the settings point at a data folder holding an old main database.
class ConvertStartUp : public test::FormDriver {
  protected:
    ConvertStartUp() {
        form.oldFileReader = WB_JET_READER;
        form.Load();
    }
    void SetUp() override {
        WB_NEED_JET_FIXTURES();
        fs::create_directories(DataFolder());
        SettingsDatabase(temp.path).SetDataPath(DataFolder().string());
        CopyFixture("VELK_a.MDB", DataFolder(), "VELK.MDB");
    }
};

TEST_F(ConvertStartUp, YesConvertsReportsAndOpensADatabaseThatSearchesAndSaves) {
    dialogs.answers = {true};
    form.Activate();
    EXPECT_EQ(dialogs.Titles(), (std::vector<std::string>{"Convert old database?", "Database converted"}));
    ASSERT_NE(form.records, nullptr);

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

// No, or Yes and then Cancel part of the way through: the old file stays as it was, alone,
// and the data folder panel is offered.
TEST_F(ConvertStartUp, NoOrCancelChangesNothingAndOffersTheDataFolderPanel) {
    struct Case {
        bool yes;
        std::vector<std::string> titles;
        std::vector<test::AsideRun> runs;
    };
    for (const Case& c : {Case{false, {"Convert old database?"}, {}},
                          Case{true,
                               {"Convert old database?", "Database not converted"},
                               {{"Converting the old database", true}}}}) {
        SCOPED_TRACE(c.yes);
        dialogs.Clear();
        dialogs.answers = {c.yes};
        test::RecordingRunner runner(3);
        form.runInBackground = runner.Runner();
        form.Activate();
        EXPECT_EQ(dialogs.Titles(), c.titles);
        EXPECT_EQ(runner.runs, c.runs);
        EXPECT_EQ(runner.progress.ShowedPartWay(), c.yes);
        EXPECT_EQ(form.records, nullptr);
        EXPECT_TRUE(form.Visible(Control::Panel3D11));
        EXPECT_EQ(FilesIn(DataFolder()), std::set<std::string>{"VELK.MDB"});
        EXPECT_EQ(Contents(MainFile()), Contents(FixtureDir() / "VELK_a.MDB"));
    }
}

}  // namespace
}  // namespace wb::jet
