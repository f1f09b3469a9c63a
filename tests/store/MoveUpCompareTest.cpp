// Moving up carries every table value for value, earlier versions included: a move-up that
// dropped the revision tables, or a column of one, would lose an aircraft's history.
#include "store/CaseFold.h"
#include "store/Scales.h"
#include "store/Schema.h"
#include "store/Signing.h"
#include "store/Verify.h"
#include "store/WorksheetRows.h"
#include "store/pg/CopyUp.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/LoadingSample.h"

namespace wb {
namespace {

// Every row of `table` as text, in the local file's column order.
std::vector<std::string> Rows(Database& db, const std::string& table,
                              const std::vector<std::string>& columns) {
    std::string names;
    for (const std::string& c : columns)
        names += (names.empty() ? "" : ", ") + Quoted(c);
    Statement s = db.Prepare("SELECT " + names + " FROM " + Quoted(table) + " ORDER BY Id");
    std::vector<std::string> rows;
    while (s.Step()) {
        std::string row;
        for (int c = 0; c < s.ColumnCount(); ++c)
            row += s.Text(c).value_or("<null>") + "|";
        rows.push_back(row);
    }
    return rows;
}

class MoveUpCompareTest : public test::StoreFormTest {};

TEST_F(MoveUpCompareTest, EveryTableArrivesValueForValueEarlierVersionsIncluded) {
    WB_REQUIRE_TEST_SERVER();
    test::FreshServerDatabase();
    Store("N1", "06-10-2001");
    Store("N2", "07-11-2002");
    for (const char* make : {"Piper", "Cessna"}) {  // two earlier versions of N1
        LoadBySearch("N1");
        Set(Control::Text3, make);
        form.ws.loading = test::Figure10Loading();  // and the Cessna version keeps the Piper's
        Save();
    }
    LoadBySearch("N2");
    Set(Control::Text1, "0");  // deleted: its version stays, named by no Worksheet
    Save();
    ASSERT_EQ(Count("SELECT count(*) FROM AircraftRevision"), 3);
    SealingCost() = {1, 8192};
    const std::int64_t signer = AddSigner(db(), "J. Smith", "A&P", "123", "long passphrase");
    ASSERT_EQ(
        SignWorksheet(db(), WorksheetsWithPair(db(), "N1", "2001-06-10").front(), signer, "long passphrase"),
        SignOutcome::Signed);

    wb::ShopScale scale;
    scale.serial = "A-100";
    scale.calibrated = CalendarDate{2024, 1, 10};
    StoreScale(db(), scale);
    // An audit entry an imported record package brought.
    db().Exec(
        "INSERT INTO ImportedAudit (Source, At, UserName, Workstation, Event, Tail, FoldedTail, Hash) VALUES "
        "('from a package', '2020-01-01T00:00:00Z', 'jd', 'HANGAR', 'save', 'N7', 'n7', 'ab')");

    Database server = OpenServer(test::TestServerAddress());
    CopyUp(db(), server);
    for (const TableLayout& t : MainTables()) {
        SCOPED_TRACE(std::string(t.name));
        std::vector<std::string> columns;
        Statement info = db().Prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
        info.Bind(1, std::string(t.name));
        while (info.Step())
            columns.push_back(info.Text(0).value_or(""));
        const auto local = Rows(db(), std::string(t.name), columns);
        if (t.name != "Correction") {
            EXPECT_FALSE(local.empty());
        }
        auto up = Rows(server, std::string(t.name), columns);
        // The server's trail goes on with the move up itself: one entry per Worksheet.
        if (t.name == "AuditTrail" && up.size() == local.size() + 1) up.pop_back();
        EXPECT_EQ(up, local);
    }
    // The canonical form is the same on both engines: what was signed here verifies there.
    const Verification v = VerifyRecords(server);
    EXPECT_TRUE(v.Passed()) << FindingsText(v);
    EXPECT_EQ(v.signatures, 1);
}

// A server database of the version before: the program folds its texts into the new columns
// itself, so that the server's own Unicode tables are never asked.
TEST(ServerUpgrade, AVersionTwoDatabaseGetsItsFoldedColumnsFromTheProgram) {
    WB_REQUIRE_TEST_SERVER();
    test::FreshServerDatabase();
    const std::string tail = "\u01C4\U0001E4EC";
    {
        Database server = OpenServer(test::TestServerAddress());
        Worksheet ws;
        ClearWorksheet(ws, false);
        ws.Set(Field::Tail, tail);
        ws.Set(Field::Date, "01-02-2003");
        ws.Set(Field::Make, "\u00C9COLE");
        ws.EquipmentList().At(0, equipment::Description) = "Battery";
        SaveWorksheet(server, ws, SaveRequest{});
    }
    {
        std::string sql =
            "ALTER TABLE Aircraft DROP COLUMN WorksheetId; UPDATE SchemaVersion SET Version = 2;";
        for (const auto& [table, column] : FoldedColumns())
            sql += "ALTER TABLE " + std::string(table) + " DROP COLUMN Folded" + std::string(column) + ";";
        ConnectServer(test::TestServerAddress()).Exec(sql);
    }
    Database server = OpenServer(test::TestServerAddress());
    Statement version = server.Prepare("SELECT max(Version) FROM SchemaVersion");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.Int(0), kSchemaVersion);
    Statement folded = server.Prepare(
        "SELECT a.FoldedTail, a.FoldedMake, e.FoldedTail FROM Aircraft a JOIN Equipment e ON e.Tail = "
        "a.Tail");
    ASSERT_TRUE(folded.Step());
    EXPECT_EQ(folded.Text(0), FoldCase(tail));
    EXPECT_EQ(folded.Text(1), "\u00E9cole");
    EXPECT_EQ(folded.Text(2), FoldCase(tail));
}

}  // namespace
}  // namespace wb
