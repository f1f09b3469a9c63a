// What was stored is what comes back: numbers in their shortest exact plain form, and tail
// numbers and search texts compared with their case folded over the whole of Unicode, with
// the Tail index still serving the search.
#include "store/CaseFold.h"
#include "store/Search.h"
#include "tests/store/StoreFixture.h"
#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

class ExactTextsTest : public test::BothEnginesTest {
  protected:
    std::vector<std::string> Found(Control box, const std::string& typed) {
        New();
        ClearCriteria();
        Set(box, typed);
        dialogs.Clear();
        std::vector<std::string> tails;
        for (Next(); dialogs.shown.empty() && !form.Text(Control::Text9).empty(); Next())
            tails.push_back(form.Text(Control::Text1));
        return tails;
    }
    std::string Plan(const std::string& sql, const std::vector<Value>& params) {
        Statement s = db().Prepare("EXPLAIN QUERY PLAN " + sql);
        s.BindAll(params);
        std::string plan;
        while (s.Step())
            plan += s.Text(3).value_or("") + "\n";
        return plan;
    }
};

TEST_P(ExactTextsTest, NumbersComeBackInTheShortestPlainTextThatReadsAsTheSameNumber) {
    const std::string tiny = "0." + std::string(323, '0') + "5";
    const struct {
        const char* typed;
        std::string back;  // empty: only the same number, in plain digits
    } cases[] = {
        {"0.000001", "0.000001"},
        {"1E-06", "0.000001"},
        {"1234.5678901234567", "1234.5678901234567"},
        {"98.60", "98.6"},
        {"1e22", "10000000000000000000000"},
        {"12345678901234567890", ""},
        {"5e-324", tiny},
    };
    int day = 1;
    for (const auto& c : cases) {
        New();
        Set(Control::Text1, "N1");
        Set(Control::Text7, "01-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "-2000");
        Set(Control::Text9, c.typed);
        Item(0, "Battery", c.typed, "10");
        Save();
        ++day;
    }
    New();
    ClearCriteria();
    for (const auto& c : cases) {
        Next();
        for (const std::string& back :
             {form.Text(Control::Text9), form.ws.EquipmentList().At(0, equipment::Weight).Text()}) {
            EXPECT_TRUE(c.back.empty() || back == c.back) << c.typed << " came back as " << back;
            EXPECT_EQ(back.find_first_of("eE"), std::string::npos) << c.typed;
            EXPECT_EQ(LeadingNumber(back), LeadingNumber(c.typed)) << c.typed;
        }
    }
}

TEST_P(ExactTextsTest, SearchFoldsCaseOverTheWholeOfUnicode) {
    const std::vector<std::pair<std::string, std::string>> stored = {
        {"N1", "\u00c9cole"},
        {"N2", "Stra\u00dfe"},
        {"N3", "ISPARTA"},
        {"N4", "\u0131spir"},
        {"N5", "\u039f\u0394\u039f\u03a3"},
        {"N6", "Ecole"},
    };
    int day = 1;
    for (const auto& [tail, make] : stored) {
        New();
        Set(Control::Text1, tail);
        Set(Control::Text7, "01-0" + std::to_string(day++) + "-2000");
        Set(Control::Text3, make);
        Set(Control::Text9, "1");
        Save();
    }
    using Tails = std::vector<std::string>;
    const struct {
        const char* typed;
        Tails found;
    } cases[] = {
        {"\u00e9", {"N1"}},                    // é finds É, and not E
        {"E\u0301COLE", {"N1"}},               // a decomposed accent is the same letter
        {"e", {"N6"}},                         //
        {"STRASSE", {"N2"}},                   // ß folds to ss
        {"\u0131", {"N4"}},                    // dotless ı is a letter of its own
        {"is", {"N3"}},                        // I folds to i, not to ı
        {"\u03bf\u03b4\u03bf\u03c2", {"N5"}},  // final sigma ς is σ
        {"\u00c9cole ", {}},                   // nothing matches
    };
    for (const auto& c : cases)
        EXPECT_EQ(Found(Control::Text3, c.typed), c.found) << c.typed;
}

// Found by the start of its tail in another case, and a new Worksheet of it carries its
// equipment list over. (Saving it again under another case: the next test.)
TEST_P(ExactTextsTest, ATailIsOneAircraftWhateverItsCase) {
    Store("\u00c9X-1", "01-05-2000", "Battery");
    EXPECT_EQ(Found(Control::Text1, "\u00e9x"), std::vector<std::string>{"\u00c9X-1"});
    New();
    Set(Control::Text1, "\u00e9x-1");
    form.Clicked(Control::Command3D23);
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Description).Text(), "Battery");
}

// Tails with characters new in recent Unicode fold the one way the program folds, on either
// engine: the lists come back with their Worksheet, the tail typed in another case or with
// its marks in another order finds it, and a second Worksheet of that tail and date is one to
// replace, not one stored beside it.
TEST_P(ExactTextsTest, TailsWithNewerCharactersAreOneAircraftOnEitherEngine) {
    const struct {
        const char* stored;
        const char* typed;  // the same tail as the mechanic may type it later
    } cases[] = {
        {"N\U0001E4EC\u0301", "\u0143\U0001E4EC"},  // the acute's place among the marks
        {"K\U00011F00", "k\U00011F00"},
        {"\u2C6F\U0001E030", "\u0250\U0001E030"},
        {"\U0001E4D0\U0001E4EB", "\U0001E4D0\U0001E4EB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        New();
        Set(Control::Text1, c.stored);
        Set(Control::Text7, "05-06-2007");
        for (int r = 0; r < 3; ++r)
            Item(r, "Item " + std::to_string(r), "2", "30");
        Save();
        ASSERT_EQ(form.ScreenSaved, 1) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
        New();
        ClearCriteria();
        Set(Control::Text1, c.typed);
        Next();
        ASSERT_EQ(form.Text(Control::Text1), c.stored);
        EXPECT_EQ(form.ws.EquipmentList().At(2, equipment::Description).Text(), "Item 2");
        New();
        Set(Control::Text1, c.typed);
        Set(Control::Text7, "05-06-2007");
        dialogs.Clear();
        Save();  // the replace question, answered No
        EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet already stored"});
    }
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), static_cast<std::int64_t>(std::size(cases)));
}

// A rule of the local file alone.
class ExactTextsFileTest : public ExactTextsTest {
  protected:
    test::Engine engine() const override { return test::Engine::File; }
};

TEST_F(ExactTextsFileTest, TheFoldedTailIndexServesTheSearchAndTheFinds) {
    const Condition tail = SearchCondition(SearchFields()[0], "\u00e9x");
    EXPECT_NE(Plan("SELECT Id FROM Aircraft WHERE (" + tail.sql + ") ORDER BY \"Date\", Id", tail.params)
                  .find("INDEX Aircraft_FoldedTail"),
              std::string::npos);
    const std::vector<Value> pair = {FoldCase("N1"), std::string("2000-01-05"), std::string("equipment")};
    EXPECT_NE(Plan("SELECT Id FROM Equipment WHERE FoldedTail = ? AND \"Date\" = ? AND List = ?", pair)
                  .find("INDEX Equipment_FoldedTail"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines, ExactTextsTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
