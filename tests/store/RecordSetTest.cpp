// The cursor of a record set: BOF and EOF, rows added at the end, rows deleted elsewhere.
#include "store/RecordSet.h"
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

class RecordSetTest : public ::testing::Test {
  protected:
    RecordSetTest() : main(temp.path / "VELK.MDB") {
        for (const char* date : {"2001-01-01", "1999-06-10", "2000-12-31"})
            Add("N1", date);
    }
    std::int64_t Add(const std::string& tail, const std::string& date) {
        Statement s = main.db().Prepare("INSERT INTO Aircraft (Tail, \"Date\") VALUES (?, ?)");
        s.BindAll({tail, date});
        s.Run();
        return main.db().LastInsertRowid();
    }
    std::string DateAt(const RecordSet& set) {
        if (!set.Current()) return set.Eof() ? "EOF" : "none";
        Statement s = main.db().Prepare("SELECT \"Date\" FROM Aircraft WHERE Id = ?");
        s.Bind(1, *set.Current());
        s.Step();
        return *s.Text(0);
    }
    test::TempFolder temp;
    MainDatabase main;
};

TEST_F(RecordSetTest, AnAddedRowComesLastAndADeletedRowIsSteppedOver) {
    RecordSet set(main.db(), "Aircraft", "\"Date\"");
    const std::int64_t added = Add("N1", "1990-01-01");
    set.Append(added);
    set.MoveLast();
    EXPECT_EQ(DateAt(set), "1990-01-01");

    // The middle row goes; the cursor on it then moves to its neighbours.
    set.MoveFirst();
    set.MoveNext();
    const std::int64_t middle = *set.Current();
    set.ForgetCurrent();
    EXPECT_EQ(set.Current(), std::nullopt);
    set.MoveNext();
    EXPECT_EQ(DateAt(set), "2001-01-01");

    // A row deleted through another set or by SQL is stepped over.
    main.db().Exec("DELETE FROM Aircraft WHERE \"Date\" = '2001-01-01'");
    set.MoveFirst();
    set.MoveNext();
    EXPECT_EQ(DateAt(set), "1990-01-01");
    EXPECT_NE(middle, *set.Current());
}

}  // namespace
}  // namespace wb
