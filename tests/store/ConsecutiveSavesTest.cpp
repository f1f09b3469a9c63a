// Saving one screen again and again, whichever way its Worksheet came: the store always
// knows which stored Worksheet is on screen.
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

enum class Path { New, Browse, Search };

class ConsecutiveSavesTest : public test::StoreFormTest, public ::testing::WithParamInterface<Path> {
  protected:
    // N7 stored, then N1 of the same date on screen, saved once on the path under test.
    void FirstSave() {
        Store("N7", "01-05-2000", "Strobe");
        Store("N1", "01-05-2000", "Battery");
        if (GetParam() != Path::New) {
            New();
            if (GetParam() == Path::Browse) {
                ClearCriteria();
                Next();
            } else {
                Set(Control::Text7, "");
                Set(Control::Text1, "N1");
            }
            Next();
            ASSERT_EQ(OnScreen(), "N1 01-05-2000");
            Save();
        }
        ASSERT_EQ(form.ScreenSaved, 1);
        form.FocusTo(Control::Text2);
        ASSERT_EQ(form.ScreenSaved, 2);
        dialogs.Clear();
    }
    // Tail, Make and the number of equipment rows of every stored Worksheet.
    std::vector<std::string> Stored() {
        Statement s = db().Prepare(
            "SELECT a.Tail, coalesce(a.Make, ''), (SELECT count(*) FROM Equipment e WHERE e.Tail = a.Tail) "
            "FROM Aircraft a ORDER BY a.Tail");
        std::vector<std::string> rows;
        while (s.Step())
            rows.push_back(*s.Text(0) + "|" + *s.Text(1) + "|" + *s.Text(2));
        return rows;
    }
    // The set the browse buttons step through stands on the Worksheet on screen, which is the
    // stored row with the tail shown.
    void ExpectCursorOnScreen() {
        const RecordSet& set = form.SearchActive == 1 ? form.records->SearchSet : form.records->AircraftSet;
        ASSERT_TRUE(form.records->OnScreen());
        EXPECT_EQ(set.Current(), form.records->OnScreen());
        Statement s = db().Prepare("SELECT Tail FROM Aircraft WHERE Id = ?");
        s.Bind(1, *form.records->OnScreen());
        ASSERT_TRUE(s.Step());
        EXPECT_EQ(s.Text(0), form.Text(Control::Text1));
    }
};

TEST_P(ConsecutiveSavesTest, EachSaveActsOnTheWorksheetOnScreenAlone) {
    FirstSave();
    ExpectCursorOnScreen();

    // The same tail and date again: replaced without a question.
    Set(Control::Text3, "Cessna");
    Item(1, "ELT", "3", "200");
    Save();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Stored(), (std::vector<std::string>{"N1|Cessna|2", "N7||1"}));
    ExpectCursorOnScreen();

    // A rename replaces it under the new tail.
    Set(Control::Text1, "N2");
    Save();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Stored(), (std::vector<std::string>{"N2|Cessna|2", "N7||1"}));
    ExpectCursorOnScreen();

    // The tail "0" deletes it, and nothing else.
    Set(Control::Text1, "0");
    Save();
    EXPECT_EQ(Stored(), std::vector<std::string>{"N7||1"});
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment"), 1);
    EXPECT_FALSE(form.records->OnScreen());
    EXPECT_EQ(form.FreshWorksheet, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, ConsecutiveSavesTest,
                         ::testing::Values(Path::New, Path::Browse, Path::Search), [](const auto& info) {
                             return info.param == Path::New      ? "New"
                                    : info.param == Path::Browse ? "Browse"
                                                                 : "Search";
                         });

class ReplaceQuestionTest : public test::StoreFormTest {};

TEST_F(ReplaceQuestionTest, ABrowsedWorksheetUnderAnotherDateIsStoredBesideItsOriginal) {
    Store("N1", "01-05-2000", "Battery");
    New();
    ClearCriteria();
    Next();
    Set(Control::Text7, "06-10-2001");
    dialogs.Clear();
    Save();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'N1'"), 2);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Tail = 'N1'"), 2);
}

TEST_F(ReplaceQuestionTest, TheClearedScreenPastASearchSaysWhatItWouldReplace) {
    New();
    Set(Control::Text1, "N1");
    Set(Control::Text7, "01-05-2000");
    Change(0, "Previous A/C Empty", "1200", "35", "", "");
    Item(0, "Battery", "25", "10");
    Item(1, "ELT", "3", "200");
    Save();
    New();
    Set(Control::Text7, "");
    Set(Control::Text1, "N1");
    Next();
    Next();  // past the end: the tail and date stay, the lists are empty
    ASSERT_EQ(OnScreen(), "N1 01-05-2000");
    dialogs.Clear();
    Save();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("Stored: 2 equipment list items and 1 installed/removed row.\n"
                                         "On screen: 0 equipment list items and 0 installed/removed rows."),
              std::string::npos)
        << dialogs.shown[0].text;
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment"), 3);
    EXPECT_EQ(form.ScreenSaved, 0);
}

}  // namespace
}  // namespace wb
