#include "app/MainForm.h"

#include <gtest/gtest.h>

#include "tests/support/ScriptedDialogs.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

using test::ScriptedDialogs;

class MainFormTest : public ::testing::Test {
  protected:
    MainFormTest() : form(dialogs, clock) { form.Load(); }

    // Types into the focused control the way the window does: the form sees each key and
    // decides what, if anything, reaches the box.
    void Type(std::u32string keys) {
        for (char32_t k : keys) {
            Control c = form.Focus();
            KeyResult r = form.KeyTyped(c, k);
            if (r.consumed || k == 13 || InfoOf(c).kind != ControlKind::Text) continue;
            std::string text = form.Text(c);
            if (k == 8) {
                if (!text.empty()) text = FirstChars(text, CharCount(text) - 1);
            } else {
                char32_t ch = r.key;
                if (ch < 0x80) text.push_back(static_cast<char>(ch));
            }
            int limit = MaxChars(c);
            if (limit > 0 && CharCount(text) > static_cast<size_t>(limit)) continue;  // the box refuses it
            form.TextChanged(c, text);
        }
    }
    void Enter() { Type(U"\r"); }

    ScriptedDialogs dialogs;
    test::FixedClock clock{{2026, 12, 6}};
    MainForm form;
};

TEST_F(MainFormTest, AFreshWorksheetHasTodayAndTheDefaultsAndAsksBeforeExit) {
    EXPECT_EQ(form.Text(Control::Text7), "12-06-2026");
    EXPECT_EQ(form.Focus(), Control::Text1);
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_EQ(form.FreshWorksheet, 1);
    EXPECT_EQ(form.SpecsPending, 1);
    form.Clicked(Control::Command3D12);
    EXPECT_FALSE(form.Ended());
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Weight & Balance on screen not saved"});
    dialogs.answers = {true};
    form.Clicked(Control::Command3D12);
    EXPECT_TRUE(form.Ended());
}

TEST_F(MainFormTest, TheFocusPassingThroughSaveEndsWithoutAQuestion) {
    // Unsaved (nothing stored, or the save refused): leaving Save changes nothing.
    form.FocusTo(Control::Command3D13);
    form.FocusTo(Control::Text2);
    EXPECT_EQ(form.ScreenSaved, 0);
    form.ScreenSaved = 1;  // as a save leaves it
    form.FocusTo(Control::Command3D13);
    form.FocusTo(Control::Text2);
    EXPECT_EQ(form.ScreenSaved, 2);
    form.Clicked(Control::Command3D12);
    EXPECT_TRUE(form.Ended());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainFormTest, NewAnsweredNoChangesNothing) {
    Type(U"n1");
    form.SearchActive = 1;
    form.BrowseStarted = 1;
    form.BrowseDirection = 2;
    form.Clicked(Control::Command3D19);
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Weight & Balance on screen not saved"});
    EXPECT_EQ(dialogs.shown[0].text, "OK to start new form without saving?");
    EXPECT_EQ(form.Text(Control::Text1), "N1");
    EXPECT_EQ(form.BrowseDirection, 2);

    dialogs.answers = {true};
    form.Clicked(Control::Command3D19);
    EXPECT_EQ(form.Text(Control::Text1), "");
    EXPECT_EQ(form.SearchActive + form.BrowseStarted + form.BrowseDirection, 0);
    EXPECT_EQ(form.Focus(), Control::Text1);
}

TEST_F(MainFormTest, TailNumbersAreCapitalsAndStopAtSixCharacters) {
    Type(U"n123abz");
    EXPECT_EQ(form.Text(Control::Text1), "N123AB");
    // A paste is cut to the limit too.
    form.TextChanged(Control::Text2, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(form.Text(Control::Text2), "ABCDEFGHIJ");
    // A longer text written by the program is shown whole and can be shortened.
    form.SetText(Control::Text8, "1234567890");
    form.TextChanged(Control::Text8, "123456789");
    EXPECT_EQ(form.Text(Control::Text8), "123456789");
}

TEST_F(MainFormTest, OnlyRealChangesOfHeaderBoxesMarkTheScreenUnsaved) {
    form.ScreenSaved = 1;
    form.TextChanged(Control::Text14, "32.0 to 36.5");  // a C.G. range
    form.TextChanged(Control::Text17, "Shop");          // a set-up box
    form.GridMoveCurrent(Control::Grid1, 1, 0);
    form.KeyTyped(Control::Grid1, U'a');
    EXPECT_EQ(form.ScreenSaved, 1);
    form.TextChanged(Control::Text7, "12-06-2026");  // the same text again
    EXPECT_EQ(form.ScreenSaved, 1);
    form.Clicked(Control::Command3D15);
    form.ScreenSaved = 1;
    form.TextChanged(Control::Text13, "Notes");
    EXPECT_EQ(form.ScreenSaved, 0);
    form.ScreenSaved = 1;
    form.TextChanged(Control::Text22, "A&P 1");
    EXPECT_EQ(form.ScreenSaved, 0);
}

TEST_F(MainFormTest, TheEnterChainWalksTheHeaderIntoTheChangeList) {
    const Control chain[] = {Control::Text1,  Control::Text2, Control::Text3,  Control::Text4,
                             Control::Text5,  Control::Text8, Control::Text9,  Control::Text10,
                             Control::Text11, Control::Text6, Control::Text22, Control::Text12,
                             Control::Text7,  Control::Grid1};
    for (size_t i = 0; i + 1 < std::size(chain); ++i) {
        ASSERT_EQ(form.Focus(), chain[i]);
        KeyResult r = form.KeyTyped(chain[i], 13);
        EXPECT_EQ(r.consumed, chain[i] != Control::Text22) << InfoOf(chain[i]).name;
    }
    EXPECT_EQ(form.Focus(), Control::Grid1);
    Type(U"Radio");
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, 0), "Radio");
}

TEST_F(MainFormTest, LeavingEmptyOrCgRebuildsThePreviousEmptyRow) {
    form.FocusTo(Control::Text10);
    form.FocusTo(Control::Text11);  // C.G. left empty: nothing happens
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, 0), "");
    form.FocusTo(Control::Text9);
    Type(U"1200\r");
    Type(U"35.5\r");
    EXPECT_EQ(form.Focus(), Control::Text11);
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, 0), "Previous A/C Empty");
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, installed::Arm), "35.50");
    EXPECT_EQ(form.Text(Control::Text23), "1200.00");
}

TEST_F(MainFormTest, ANumberBoxReadAsAnotherNumberIsPointedOutAndKeptForCorrection) {
    struct Case {
        Control box;
        const char* text;
        const char* notice;  // empty: none
    };
    const Case cases[] = {
        {Control::Text11, "2,300", "Max Wgt \"2,300\" is read as 2"},
        {Control::Text11, "2300 lb", "Max Wgt \"2300 lb\" is read as 2300"},
        {Control::Text9, "1495 150", "Empty \"1495 150\" is read as 1495150"},  // blanks are skipped,
        {Control::Text10, "46,83", "C.G. \"46,83\" is read as 46"},
        {Control::Text11, " 2300 ", ""},
        {Control::Text10, "-1.5e1", ""},
        {Control::Text9, "", ""},
    };
    for (const Case& c : cases) {
        dialogs.Clear();
        form.FocusTo(c.box);
        form.TextChanged(c.box, c.text);
        form.FocusTo(Control::Text12);
        EXPECT_EQ(dialogs.Titles(),
                  c.notice[0] ? std::vector<std::string>{c.notice} : std::vector<std::string>{})
            << c.text;
        EXPECT_EQ(form.Text(c.box), c.text);
    }
}

TEST_F(MainFormTest, AClickOnAResultBoxIsRefusedAndTheFocusGoesToTheChangeList) {
    form.Clicked(Control::Text24);
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"This field not editable"});
    EXPECT_EQ(dialogs.shown[0].text, "Press OK to Continue");
    EXPECT_EQ(form.Focus(), Control::Grid1);
}

TEST_F(MainFormTest, AWholeWorksheetTypedThroughTheEnterChain) {
    Type(U"n733bm\r17265432\rCessna\r172N\r1978\r2104.5\r1200\r35.5\r2300\rJ. Smith\r");
    form.KeyTyped(Control::Text22, 13);
    Type(U"WO-77\r\r");
    ASSERT_EQ(form.Focus(), Control::Grid1);
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, installed::Serial), "17265432");
    // Row 0 holds the previous empty weight: go to row 1 and type two changes.
    form.GridMoveCurrent(Control::Grid1, 1, 0);
    Type(U"GPS\rG-100\r12\r40\rx\r\r");
    EXPECT_EQ(form.ws.grid(GridId::Grid1).row, 2);
    Type(U"ADF\rA-5\r5\r50\r\ry\r");
    form.FocusTo(Control::Command3D19);  // leaving the grid commits the last row
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(1, installed::Moment), "480.0");
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(2, installed::Moment), "250.0");
    EXPECT_EQ(form.Text(Control::Text23), "1207.00");
    EXPECT_EQ(form.Text(Control::Text24), "35.48");
    EXPECT_EQ(form.Text(Control::Text27), "42830.0");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainFormTest, SpecsWithoutATailShowsOnlyTheNotice) {
    form.Clicked(Control::Command3D23);
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"No aircraft identified."});
    EXPECT_EQ(dialogs.shown[0].text, "Press OK to continue");
    EXPECT_FALSE(form.Visible(Control::Panel3D6));
    EXPECT_TRUE(form.Enabled(Control::Command3D12));
    EXPECT_EQ(form.SpecsPending, 1);
}

TEST_F(MainFormTest, OpenSpecsLockTheWorksheetAndTheBar) {
    Type(U"N1");
    form.Clicked(Control::Command3D23);
    EXPECT_TRUE(form.Visible(Control::Panel3D6));
    EXPECT_EQ(form.Focus(), Control::Text14);
    for (Control c : {Control::Command3D17, Control::Command3D18, Control::Command3D15, Control::Command3D26,
                      Control::Command3D14, Control::Command3D19, Control::Command3D13, Control::Command3D12,
                      Control::Command3D16, Control::Panel3D1})
        EXPECT_FALSE(form.Enabled(c)) << InfoOf(c).name;
    EXPECT_TRUE(form.Enabled(Control::Command3D23));
    EXPECT_TRUE(form.Enabled(Control::Command3D27));
    form.TextChanged(Control::Text1, "N2");
    EXPECT_EQ(form.Text(Control::Text1), "N1");  // header boxes cannot be edited
    form.Clicked(Control::Command3D12);
    EXPECT_FALSE(form.Ended());
    EXPECT_TRUE(form.Usable(Control::Grid2));
    form.Clicked(Control::Command3D23);
    EXPECT_FALSE(form.Visible(Control::Panel3D6));
    EXPECT_EQ(form.SpecsPending, 0);
    EXPECT_TRUE(form.Enabled(Control::Command3D12));
    EXPECT_TRUE(form.Enabled(Control::Panel3D1));
}

TEST_F(MainFormTest, NotesAboutAndTachToggle) {
    form.TextChanged(Control::Text13, "old");  // not usable while the notes panel is hidden
    EXPECT_EQ(form.Text(Control::Text13), "");
    form.Clicked(Control::Command3D15);
    EXPECT_TRUE(form.Visible(Control::Panel3D5));
    EXPECT_EQ(form.Focus(), Control::Text13);
    form.TextChanged(Control::Text13, "Weighed with full oil.");
    form.Clicked(Control::Command3D15);
    EXPECT_FALSE(form.Visible(Control::Panel3D5));
    EXPECT_EQ(form.Text(Control::Text13), "Weighed with full oil.");

    form.Clicked(Control::Command3D26);
    EXPECT_TRUE(form.Visible(Control::Panel3D4));
    form.FocusTo(Control::Text2);
    EXPECT_FALSE(form.Visible(Control::Panel3D4));

    for (int i = 0; i < 3; ++i)
        form.Clicked(Control::Command3D20);
    EXPECT_EQ(form.TachCaption(), "Hobbs");
}

TEST_F(MainFormTest, DeleteKeyReachesOnlyTheGrids) {
    form.ws.grid(GridId::Grid2).row = 1;
    form.Clicked(Control::Command3D23);  // no tail: the panel stays closed
    form.DeleteKey(Control::Grid2);      // not usable while hidden
    EXPECT_EQ(form.ws.grid(GridId::Grid2).Cell(1, 0), "Left Main");
    form.FocusTo(Control::Text1);
    Type(U"N1");
    form.Clicked(Control::Command3D23);
    form.GridMoveCurrent(Control::Grid2, 1, 0);
    form.DeleteKey(Control::Grid2);
    EXPECT_EQ(form.ws.grid(GridId::Grid2).Cell(1, 0), "Nose");
}

TEST_F(MainFormTest, TheScrollBarMovesOnlyTheTopRowWithinTheGrid) {
    form.FocusTo(Control::Grid1);
    form.GridMoveCurrent(Control::Grid1, 2, 1);
    form.GridScrolled(Control::Grid1, 40);  // past the end: the last full page
    const Grid& g = form.ws.grid(GridId::Grid1);
    EXPECT_EQ(g.topRow, 30 - 18);
    EXPECT_EQ(g.row, 2);
    EXPECT_EQ(g.col, 1);
    form.GridScrolled(Control::Grid1, -3);
    EXPECT_EQ(g.topRow, 0);
    form.GridScrolled(Control::Grid3, 50);  // hidden with its panel: no change
    EXPECT_EQ(form.ws.grid(GridId::Grid3).topRow, 0);
}

}  // namespace
}  // namespace wb
