// Stepping through the stored Worksheets in date order, and searching them by what was
// typed into the identity fields.
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using Shown = test::Shown;

const Shown kNoRecords{Shown::Notice, "No records this direction.", "Press OK to continue",
                       Icon::Information};
const Shown kNoMatches{Shown::Notice, "Search Result", "No matches found", Icon::None};

class BrowseSearchTest : public test::BothEnginesTest {
  protected:
    // Stored out of date order, across year boundaries.
    void StoreSeveral() {
        Store("N12", "01-01-2001");
        Store("N2", "12-31-2000");
        Store("N1A", "06-10-1999");
        Store("N1B", "02-01-2010");
        Store("N100", "12-31-2001");
        New();
        dialogs.Clear();
    }
    // Each press, with what it showed.
    std::vector<std::string> Presses(const std::string& keys) {
        std::vector<std::string> shown;
        for (char k : keys) {
            const size_t before = dialogs.shown.size();
            k == 'n' ? Next() : Previous();
            shown.push_back(dialogs.shown.size() > before ? dialogs.shown.back().title : OnScreen());
        }
        return shown;
    }
};

TEST_P(BrowseSearchTest, BrowsingAllGoesInDateOrderAcrossYears) {
    // An empty store has no records in either direction.
    Next();
    Previous();
    EXPECT_EQ(dialogs.shown, (std::vector<Shown>{kNoRecords, kNoRecords}));
    EXPECT_EQ(form.SearchActive, 0);

    StoreSeveral();
    ClearCriteria();
    EXPECT_EQ(Presses("nnnnnnn"), (std::vector<std::string>{
                                      "N1A 06-10-1999", "N2 12-31-2000", "N12 01-01-2001", "N100 12-31-2001",
                                      "N1B 02-01-2010", " ", "No records this direction."}));
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Presses("ppp"),
              (std::vector<std::string>{"N1B 02-01-2010", "N100 12-31-2001", "N12 01-01-2001"}));

    New();
    ClearCriteria();
    EXPECT_EQ(Presses("pn"), (std::vector<std::string>{"N1B 02-01-2010", " "}));
}

TEST_P(BrowseSearchTest, ATailSearchStepsThroughItsMatchesThenReturnsToBrowsingAll) {
    StoreSeveral();
    Set(Control::Text7, "");
    Set(Control::Text1, "N1");
    EXPECT_EQ(Presses("nnnn"), (std::vector<std::string>{"N1A 06-10-1999", "N12 01-01-2001",
                                                         "N100 12-31-2001", "N1B 02-01-2010"}));
    EXPECT_EQ(form.SearchCriterion, "Cert Like \"A&P 123*\"");  // the last one applied
    // Past the end the screen is cleared, keeping what the identity boxes held.
    Next();
    EXPECT_EQ(OnScreen(), "N1B 02-01-2010");
    EXPECT_EQ(form.Text(Control::Text9), "");
    EXPECT_EQ(Presses("n"), std::vector<std::string>{"No records this direction."});
    EXPECT_EQ(dialogs.shown.back(), kNoRecords);
    EXPECT_EQ(form.SearchActive, 0);
    // Browsing all resumes from where AircraftSet stood (its first row since New).
    EXPECT_EQ(Presses("n"), std::vector<std::string>{"N2 12-31-2000"});
}

TEST_P(BrowseSearchTest, NoMatchTellsSoKeepsTheCriteriaAndTheNextPressBrowsesAll) {
    StoreSeveral();
    Set(Control::Text1, "N1");  // today's date is still in the date box
    Next();
    EXPECT_EQ(dialogs.shown.back(), kNoMatches);
    EXPECT_EQ(OnScreen(), "N1 12-06-2026");
    EXPECT_EQ(form.SearchActive, 0);
    EXPECT_EQ(Presses("n"), std::vector<std::string>{"N1A 06-10-1999"});

    // A date box that holds no date matches nothing.
    New();
    Set(Control::Text7, "13-45-2001");
    Next();
    EXPECT_EQ(dialogs.shown.back(), kNoMatches);
}

// Typed text is taken literally: quotes, and the wildcards of SQL and of the old program.
TEST_P(BrowseSearchTest, QuotesAndWildcardCharactersSearchAsThemselves) {
    Store("O'N%_", "06-10-2001");
    Store("O'NXY", "06-10-2002");
    New();
    Set(Control::Text7, "");
    Set(Control::Text1, "o'n%");
    EXPECT_EQ(Presses("nnn"), (std::vector<std::string>{"O'N%_ 06-10-2001", "O'N%_ 06-10-2001",
                                                        "No records this direction."}));
    for (const char* typed : {"O_", "O*"}) {
        New();
        Set(Control::Text7, "");
        Set(Control::Text1, typed);
        Next();
        EXPECT_EQ(dialogs.shown.back(), kNoMatches) << typed;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, BrowseSearchTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
