// A database file refused (and left alone) when it is another program's or cannot be reached.
// (A file made on a first start: every store test's fixture, and SetupTest for its empty company row.)
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Contents;
using test::TempFolder;

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
