// Superseded versions: every save that replaces or deletes a stored Worksheet keeps exactly
// the version before, and a version-1 file is brought up to version 2 keeping every value.
#include "store/History.h"
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Contents;
using test::Dump;
using test::TempFolder;

// The rows of a query, each as its values joined.
std::vector<std::string> Rows(Database& db, const std::string& sql, const std::vector<Value>& args = {}) {
    Statement s = db.Prepare(sql);
    s.BindAll(args);
    std::vector<std::string> rows;
    while (s.Step()) {
        std::string row;
        for (int c = 0; c < s.ColumnCount(); ++c)
            row += "|" + s.Text(c).value_or("<null>");
        rows.push_back(row);
    }
    return rows;
}

std::string AircraftColumnList() {
    std::string names;
    for (const AircraftColumn& c : AircraftColumns())
        names += (names.empty() ? "" : ", ") + Quoted(c.name);
    return names;
}

constexpr const char* kListColumns =
    "Tail, \"Date\", RowNum, Description, Serial, Weight, Arm, Install, Remove, List";

class RevisionTest : public test::BothEnginesTest {
  protected:
    // A Worksheet's Aircraft row and list rows: as stored, or as a revision kept them.
    std::vector<std::string> Version(std::int64_t id, bool kept = false) {
        std::vector<std::string> v = Rows(db(),
                                          "SELECT " + AircraftColumnList() + " FROM " +
                                              (kept ? "AircraftRevision" : "Aircraft") + " WHERE Id = ?",
                                          {id});
        const std::string list =
            kept ? " FROM EquipmentRevision WHERE RevisionId = ?"
                 : " FROM Equipment WHERE Tail = (SELECT Tail FROM Aircraft WHERE Id = ?) "
                   "AND \"Date\" = (SELECT \"Date\" FROM Aircraft WHERE Id = ?)";
        const std::vector<Value> args = kept ? std::vector<Value>{id} : std::vector<Value>{id, id};
        for (auto& row : Rows(db(), std::string("SELECT ") + kListColumns + list + " ORDER BY Id", args))
            v.push_back(row);
        return v;
    }
    std::int64_t IdOf(const std::string& tail) {
        return Count("SELECT Id FROM Aircraft WHERE Tail = '" + tail + "'");
    }
    // A weighed Worksheet with changes and an equipment list, stored.
    void StoreFull(const std::string& tail, const std::string& date) {
        New();
        FillWorksheet();
        Set(Control::Text1, tail);
        Set(Control::Text7, date);
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);
    }
    // The one revision a step left of a stored row, checked against the version before it.
    void ExpectOneRevision(const std::vector<std::string>& before, std::int64_t oldId, const char* reason,
                           std::optional<std::int64_t> storedAs) {
        const auto revisions =
            Rows(db(),
                 "SELECT Id, AircraftId, Reason, ReplacedBy, WorksheetId, Superseded FROM AircraftRevision "
                 "WHERE AircraftId = ?",
                 {oldId});
        ASSERT_EQ(revisions.size(), 1u);
        const std::int64_t revision = std::stoll(revisions[0].substr(1));
        EXPECT_EQ(Version(revision, true), before);
        // Replaced: the version names the row stored in its place and the Worksheet's identity,
        // which is still the first row's Id; deleted: neither.
        const std::string link = storedAs ? std::to_string(*storedAs) : "<null>";
        const std::string identity = storedAs ? std::to_string(oldId) : "<null>";
        EXPECT_EQ(revisions[0].substr(0, revisions[0].rfind('|')), "|" + std::to_string(revision) + "|" +
                                                                       std::to_string(oldId) + "|" + reason +
                                                                       "|" + link + "|" + identity);
        EXPECT_EQ(revisions[0].size() - revisions[0].rfind('|') - 1, 19u) << "yyyy-mm-dd hh:mm:ss";
    }
};

// Replaced through a search (N1), replaced under the same Tail and Date after a declined
// first try that keeps nothing (N2), deleted with the tail "0" (N3).
TEST_P(RevisionTest, EachReplacementOrDeletionKeepsTheVersionBefore) {
    for (const std::string tail : {"N1", "N2", "N3"}) {
        StoreFull(tail, "06-10-2001");
        const std::int64_t old = IdOf(tail);
        const auto before = Version(old);
        if (tail == "N2") {
            New();
            Set(Control::Text1, tail);
            Set(Control::Text7, "06-10-2001");
            Item(0, "ELT", "3", "200");
            dialogs.answers = {false, true};
            Save();
            EXPECT_EQ(
                Count("SELECT count(*) FROM AircraftRevision WHERE AircraftId = " + std::to_string(old)), 0);
        } else {
            LoadBySearch(tail);
            Set(tail == "N1" ? Control::Text3 : Control::Text1, tail == "N1" ? "Cessna" : "0");
        }
        Save();
        if (tail == "N3")
            ExpectOneRevision(before, old, "deleted", std::nullopt);
        else
            ExpectOneRevision(before, old, "replaced", IdOf(tail));
    }
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 2);
}

TEST_P(RevisionTest, EarlierVersionsFollowTheWorksheetAndLeaveItWhenItIsDeleted) {
    StoreFull("N1", "06-10-2001");
    LoadBySearch("N1");
    Save();
    LoadBySearch("N1");
    Set(Control::Text1, "N2");  // a corrected tail number is the same Worksheet
    Save();
    const std::int64_t identity = Count("SELECT COALESCE(WorksheetId, Id) FROM Aircraft WHERE Tail = 'N2'");
    EXPECT_EQ(Count("SELECT count(*) FROM AircraftRevision WHERE WorksheetId = " + std::to_string(identity)),
              2);
    const RecordChain history = ReadHistory(db(), "n2");
    ASSERT_EQ(history.lines.size(), 1u);
    EXPECT_EQ(history.lines[0].earlier.size(), 2u);
    EXPECT_EQ(history.lines[0].earlier[0].tail, "N1");

    LoadBySearch("N2");
    Set(Control::Text1, "0");
    Save();
    EXPECT_EQ(Count("SELECT count(*) FROM AircraftRevision WHERE WorksheetId IS NOT NULL"), 0);
    // A new Worksheet that gets the deleted row's number does not inherit its versions.
    StoreFull("N3", "01-01-2002");
    EXPECT_TRUE(ReadHistory(db(), "N3").lines[0].earlier.empty());
    ASSERT_EQ(ReadHistory(db(), "N2").lines.size(), 1u);
    EXPECT_TRUE(ReadHistory(db(), "N2").lines[0].deleted);
}

// A Worksheet's identity is never handed to another: with the first row deleted and the only
// other one replaced, the engine could give the next new Worksheet the replaced row's Id.
TEST_P(RevisionTest, ANewWorksheetNeverTakesOverAnotherOnesVersions) {
    StoreFull("N1", "06-10-2001");
    StoreFull("N2", "07-11-2002");
    LoadBySearch("N1");
    Set(Control::Text1, "0");
    Save();
    LoadBySearch("N2");
    Set(Control::Text3, "Cessna");
    Save();
    StoreFull("N4", "08-12-2003");
    StoreFull("N5", "09-12-2003");
    EXPECT_EQ(ReadHistory(db(), "N2").lines.at(0).earlier.size(), 1u);
    EXPECT_TRUE(ReadHistory(db(), "N4").lines.at(0).earlier.empty());
    EXPECT_TRUE(ReadHistory(db(), "N5").lines.at(0).earlier.empty());
}

// The file as the version-3 program left it.
void MakeVersionThree(const std::filesystem::path& file) {
    Database(file, Database::Mode::OpenExisting).Exec(test::VersionThreeSql(test::Engine::File));
}

// The file as the version-2 program left it: earlier versions name the current row's Id.
void MakeVersionTwo(const std::filesystem::path& file) {
    MakeVersionThree(file);
    std::string sql =
        "UPDATE AircraftRevision SET WorksheetId = (SELECT Id FROM Aircraft WHERE "
        "COALESCE(Aircraft.WorksheetId, "
        "Aircraft.Id) = AircraftRevision.WorksheetId); DROP INDEX Aircraft_FoldedTail; DROP INDEX "
        "Equipment_FoldedTail; DROP INDEX AircraftRevision_FoldedTail; ALTER TABLE Aircraft DROP COLUMN "
        "WorksheetId;";
    for (const auto& [table, column] : FoldedColumns())
        sql += "ALTER TABLE " + std::string(table) + " DROP COLUMN Folded" + std::string(column) + ";";
    sql +=
        "CREATE INDEX Aircraft_FoldedTail ON Aircraft (fold_case(Tail), \"Date\"); CREATE INDEX "
        "Equipment_FoldedTail ON Equipment (fold_case(Tail), \"Date\", List, RowNum); PRAGMA user_version = "
        "2;";
    Database(file, Database::Mode::OpenExisting).Exec(sql);
}

// The file as the version-1 program left it.
void MakeVersionOne(const std::filesystem::path& file) {
    MakeVersionTwo(file);
    Database(file, Database::Mode::OpenExisting)
        .Exec(
            "DROP TABLE AircraftRevision; DROP TABLE EquipmentRevision; "
            "DROP INDEX Aircraft_FoldedTail; DROP INDEX Equipment_FoldedTail; "
            "ALTER TABLE Aircraft DROP COLUMN BallastArm; PRAGMA user_version = 1;");
}

std::int64_t VersionOf(const std::filesystem::path& file) {
    Database db(file, Database::Mode::OpenExisting);
    Statement s = db.Prepare("PRAGMA user_version");
    s.Step();
    return s.Int(0);
}

// A rule of the local file alone.
class RevisionFileTest : public RevisionTest {
  protected:
    test::Engine engine() const override { return test::Engine::File; }
};

// Every value stays as stored, the ballast arm the upgrade adds is Null, and the old file is
// kept beside it, never overwritten by a second copy.
TEST_F(RevisionFileTest, AVersionOneFileIsCopiedBesideItAndUpgradedKeepingEveryValue) {
    StoreFull("N1", "06-10-2001");
    StoreFull("N2", "07-11-2002");
    form.records.reset();
    std::vector<std::string> before;
    {
        Database v2(MainFile(), Database::Mode::OpenExisting);
        before = Dump(v2);
    }
    MakeVersionOne(MainFile());
    const std::string old = Contents(MainFile());
    {
        MainDatabase upgraded(MainFile());
        EXPECT_EQ(Dump(upgraded.db()), before);
        EXPECT_TRUE(RevisionKeeper(upgraded.db()).Keep(1, Supersession::Replaced));
    }
    EXPECT_EQ(VersionOf(MainFile()), kSchemaVersion);
    EXPECT_EQ(Contents(DataFolder() / "VELK.MDB.v1"), old);
    MakeVersionOne(MainFile());
    MainDatabase{MainFile()};
    EXPECT_TRUE(std::filesystem::exists(DataFolder() / "VELK.MDB.v1.2"));
    EXPECT_EQ(Contents(DataFolder() / "VELK.MDB.v1"), old);
}

// A version-2 file's earlier versions stay with their Worksheets, and the next saves keep them.
TEST_F(RevisionFileTest, AVersionTwoFileKeepsItsHistoryThroughTheUpgradeAndLaterSaves) {
    StoreFull("N1", "06-10-2001");
    LoadBySearch("N1");
    Set(Control::Text3, "Cessna");
    Save();
    form.records.reset();
    MakeVersionTwo(MainFile());
    const std::string old = Contents(MainFile());
    form.Activate();
    ASSERT_TRUE(form.records) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
    EXPECT_EQ(Contents(DataFolder() / "VELK.MDB.v2"), old);
    EXPECT_EQ(ReadHistory(db(), "N1").lines.at(0).earlier.size(), 1u);
    LoadBySearch("N1");
    Set(Control::Text3, "Piper");
    Save();
    EXPECT_EQ(ReadHistory(db(), "N1").lines.at(0).earlier.size(), 2u);
}

// Zeroes the first page of a table, as a damaged disk block would.
void ZeroFirstPage(const std::filesystem::path& file, const std::string& table) {
    std::int64_t page = 0;
    {
        Database db(file, Database::Mode::OpenExisting);
        Statement root = db.Prepare("SELECT rootpage FROM sqlite_schema WHERE name = ?");
        root.Bind(1, table);
        ASSERT_TRUE(root.Step());
        page = root.Int(0);
    }
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp((page - 1) * 4096);
    const std::string zeros(4096, '\0');
    f.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
}

// A damaged file is never upgraded, nor given a missing index, before the check: it stays as
// it was, for a backup or a recovery to work from, and it is told as damaged.
TEST_F(RevisionFileTest, ADamagedOldFileOrOneMissingAnIndexIsNeverWrittenBeforeTheCheck) {
    StoreFull("N1", "06-10-2001");
    form.records.reset();
    const std::string whole = Contents(MainFile());
    for (bool old : {true, false}) {
        SCOPED_TRACE(old ? "version 1" : "index missing");
        std::ofstream(MainFile(), std::ios::binary | std::ios::trunc) << whole;
        if (old)
            MakeVersionOne(MainFile());
        else
            Database(MainFile(), Database::Mode::OpenExisting).Exec("DROP INDEX Equipment_FoldedTail");
        ZeroFirstPage(MainFile(), "Equipment");
        const std::string damaged = Contents(MainFile());
        try {
            MainDatabase{MainFile()};
            ADD_FAILURE() << "the damaged file was opened";
        } catch (const StoreError& e) {
            EXPECT_TRUE(e.damaged()) << e.what();
        }
        EXPECT_EQ(Contents(MainFile()), damaged);
        EXPECT_FALSE(std::filesystem::exists(DataFolder() / "VELK.MDB.v1"));
    }
}

TEST(Upgrade, AFailedUpgradeLeavesTheFileAsItWasAndANewerFileIsRefused) {
    TempFolder temp;
    const auto file = temp.path / "VELK.MDB";
    { MainDatabase{file}; }
    MakeVersionOne(file);
    // A table in the way makes the upgrade fail half-way.
    { Database(file, Database::Mode::OpenExisting).Exec("CREATE TABLE EquipmentRevision (x)"); }
    const std::string before = Contents(file);
    EXPECT_THROW(MainDatabase{file}, StoreError);
    EXPECT_EQ(Contents(file), before);
    EXPECT_FALSE(std::filesystem::exists(temp.path / "VELK.MDB.v1"));

    {
        Database(file, Database::Mode::OpenExisting)
            .Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion + 1));
    }
    const std::string newer = Contents(file);
    EXPECT_THROW(MainDatabase{file}, StoreError);
    EXPECT_EQ(Contents(file), newer);
}

INSTANTIATE_TEST_SUITE_P(Engines, RevisionTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
