// The two database files: created on a first start with their rows, and refused (and left
// alone) when they are another program's or cannot be reached.
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Contents;
using test::TempFolder;

TEST(DatabaseFiles, AMissingFileIsCreatedWithItsTablesRowsAndVersion) {
    TempFolder temp;
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath(), std::nullopt);

    MainDatabase main(temp.path / "VELK.MDB");
    EXPECT_EQ(main.ReadCompanyRow(), CompanyRow{});
    Statement version = main.db().Prepare("PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.Int(0), kSchemaVersion);
}

// A file that is no database at all is tried at start-up (DamagedFilesTest); a newer one in
// the upgrade tests (RevisionTest).
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

}  // namespace
}  // namespace wb
