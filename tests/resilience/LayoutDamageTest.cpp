// A garbled table layout in the file's schema (a column's name, an index's definition) is found
// by the start-up check and told once as damage, with the ways on, before any press meets it.
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

class LayoutDamageTest : public test::StoreFormTest {};

TEST_F(LayoutDamageTest, EachKindOfLayoutDamageIsFoundAtStartUp) {
    Store("N1", "06-10-2001");
    LoadBySearch("N1");  // a replaced Worksheet leaves an earlier version, so every table has rows
    Set(Control::Text3, "Cessna");
    Save();
    form.records.reset();
    const std::string whole = test::Contents(MainFile());
    const struct {
        const char* object;
        const char* from;
        const char* to;
    } cases[] = {
        {"Aircraft", "Memo TEXT", "Mema TEXT"},
        {"Equipment", "Description TEXT", "Descriptiom TEXT"},
        {"CompanyInfo", "Mechanic TEXT", "Mechanix TEXT"},
        {"AircraftRevision", "Superseded TEXT", "Superseeded TEXT"},
        {"EquipmentRevision", "RevisionId INTEGER", "RevisionIx INTEGER"},
        {"Aircraft_Date", "(\"Date\", Id)", "(\"Date\", Tail)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        std::ofstream(MainFile(), std::ios::binary | std::ios::trunc) << whole;
        {
            Database db(MainFile(), Database::Mode::OpenExisting);
            db.Exec("PRAGMA writable_schema = ON");
            Statement garble = db.Prepare("UPDATE sqlite_schema SET sql = replace(sql, ?, ?) WHERE name = ?");
            garble.BindAll({std::string(c.from), std::string(c.to), std::string(c.object)});
            garble.Run();
            db.Exec("PRAGMA writable_schema = OFF");
        }
        // As the window runs it: the check on a worker, finished only after the start-up has
        // read the company row, so damage may be met by a read first.
        for (bool checkFirst : {true, false}) {
            SCOPED_TRACE(checkFirst ? "check first" : "read first");
            test::ScriptedDialogs told;
            std::vector<AsideWork> later;
            const auto run = StartAgain(told, [&](MainForm& form) {
                if (checkFirst) return;
                form.runInBackground = [&later](AsideWork work) {
                    if (!work.title.empty()) {
                        work.job(NoProgress());
                        work.done();
                    } else {
                        later.push_back(std::move(work));
                    }
                };
            });
            for (AsideWork& work : later) {
                work.job(NoProgress());
                work.done();
            }
            ASSERT_EQ(told.Titles(), std::vector<std::string>{"Database damaged"})
                << (told.shown.empty() ? "" : told.shown[0].text);
            // The last way on chosen (read-only, or not now for a schema that does not even
            // read): the title never stays on "checking" for the rest of the run.
            EXPECT_NE(run->StoreStatus(), "checking the database");
        }
    }
}

}  // namespace
}  // namespace wb
