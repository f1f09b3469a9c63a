#include "app/MainForm.h"

#include <gtest/gtest.h>

#include "tests/support/ScriptedDialogs.h"
#include "worksheet/Balance.h"

namespace wb {
namespace {

using test::ScriptedDialogs;

class MainFormTest : public ::testing::Test {
  protected:
    MainFormTest() : form(dialogs, clock) { form.Load(); }

    // Types into the focused control as the window does: the form sees each key first, and
    // what it lets through is added at the end of the box's text.
    void Type(std::u32string keys) {
        for (char32_t k : keys) {
            const Control c = form.Focus();
            const KeyResult r = form.KeyTyped(c, k);
            if (!r.consumed && k != 13 && InfoOf(c).kind == ControlKind::Text && r.key < 0x80)
                form.TextChanged(c, form.Text(c) + static_cast<char>(r.key));
        }
    }

    ScriptedDialogs dialogs;
    test::FixedClock clock{{2026, 12, 6}};
    MainForm form;
};

// On an unsaved screen Exit and New ask first, and a No ends nothing.
TEST_F(MainFormTest, AFreshWorksheetHasTodayAndAsksBeforeExitOrNew) {
    EXPECT_EQ(form.Text(Control::Text7), "12-06-2026");
    Type(U"n1");
    form.Clicked(Control::Command3D12);
    EXPECT_FALSE(form.Ended());
    EXPECT_EQ(dialogs.shown.at(0).title, "Weight & Balance on screen not saved");
    dialogs.answers = {true, true};
    form.Clicked(Control::Command3D19);
    EXPECT_EQ(dialogs.shown.at(1).text, "OK to start new form without saving?");
    EXPECT_EQ(form.Text(Control::Text1), "");
    form.Clicked(Control::Command3D12);
    EXPECT_TRUE(form.Ended());
}

// The close box (and Alt+F4) asks as Exit does, also while the specifications panel has the
// Exit button locked; No keeps the program.
TEST_F(MainFormTest, TheCloseBoxAsksLikeExit) {
    struct Case {
        const char* name;
        int screenSaved;
        bool specsOpen;
        std::deque<bool> answers;
        size_t questions;
        bool ended;
    };
    const Case cases[] = {
        {"unsaved, No", 0, false, {false}, 1, false},
        {"unsaved, Yes", 0, false, {true}, 1, true},
        {"unsaved under the specifications panel, No", 0, true, {false}, 1, false},
        {"stored", 1, false, {}, 0, true},
        {"focus has left Save", 2, false, {}, 0, true},
    };
    for (const Case& c : cases) {
        ScriptedDialogs asked;
        MainForm f(asked, clock);
        f.Load();
        f.SetText(Control::Text1, "N1");
        if (c.specsOpen) f.Clicked(Control::Command3D23);
        asked.Clear();
        f.ScreenSaved = c.screenSaved;
        asked.answers = c.answers;
        f.CloseBox();
        EXPECT_EQ(asked.shown.size(), c.questions) << c.name;
        if (c.questions > 0) {
            EXPECT_EQ(asked.shown[0].text, "OK to exit program without saving?") << c.name;
        }
        EXPECT_EQ(f.Ended(), c.ended) << c.name;
        EXPECT_EQ(f.Text(Control::Text1), "N1") << c.name;
    }
}

// The about panel hides when the focus leaves its button, but not for its own buttons.
TEST_F(MainFormTest, TheAboutPanelKeepsItsOwnButtonsUsable) {
    int helpShown = 0;
    form.onHelp = [&] { ++helpShown; };
    form.Clicked(Control::Command3D26);
    form.Clicked(Control::AboutHelp);
    EXPECT_EQ(helpShown, 1);
    EXPECT_TRUE(form.Visible(Control::Panel3D4));
    form.FocusTo(Control::Text1);
    EXPECT_FALSE(form.Visible(Control::Panel3D4));
    form.Clicked(Control::Command3D26);
    form.EscapeKey();
    EXPECT_FALSE(form.Visible(Control::Panel3D4));
    EXPECT_EQ(form.Focus(), Control::Command3D26);
}

// Ctrl+P from the change list prints the row being typed as committed, the focus staying.
TEST_F(MainFormTest, PrintingByKeyCommitsTheRowBeingTyped) {
    std::string printedMoment;
    form.onPrint = [&](Control) { printedMoment = form.ws.grid(GridId::Grid1).Cell(1, installed::Moment); };
    form.FocusTo(Control::Grid1);
    form.GridMoveCurrent(Control::Grid1, 1, installed::Weight);
    Type(U"10\r20");
    form.KeyForButton(Control::Command3D32);
    EXPECT_EQ(printedMoment, "200.0");
    EXPECT_EQ(form.Focus(), Control::Grid1);
}

TEST_F(MainFormTest, BoxEditsKeepTheirPlaceTheLimitAndTheCapitals) {
    struct Edit {
        Control box;
        const char* before;
        const char* after;  // the box's text after the edit
        std::optional<size_t> caret;
        const char* kept;
    };
    const Edit edits[] = {
        {Control::Text1, "N555X", "Nabc555X", 4, "NA555X"},  // a paste cut to the limit
        {Control::Text5, "19", "19\xC3\x9F\xC3\x9F\xC3\x9F", 5, "19\xC3\x9F\xC3\x9F"},  // whole characters
        {Control::Text8, "1234567890", "12345678901", 11, "1234567890"},  // a longer stored text stays
    };
    for (const Edit& e : edits) {
        form.SetText(e.box, e.before);
        form.TextChanged(e.box, e.after, e.caret);
        EXPECT_EQ(form.Text(e.box), e.kept) << InfoOf(e.box).name << " " << e.after;
    }
}

TEST_F(MainFormTest, OnlyRealChangesOfHeaderBoxesMarkTheScreenUnsaved) {
    form.ScreenSaved = 1;
    form.TextChanged(Control::Text17, "Shop");       // a set-up box
    form.TextChanged(Control::Text7, "12-06-2026");  // the same text again
    EXPECT_EQ(form.ScreenSaved, 1);
    form.Clicked(Control::Command3D15);
    form.ScreenSaved = 1;
    form.TextChanged(Control::Text13, "Notes");
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

// Blanks around a number are no other number; a comma is, and the text stays to be corrected.
TEST_F(MainFormTest, ANumberBoxReadAsAnotherNumberIsPointedOutAndKeptForCorrection) {
    for (const char* text : {" 2300 ", "2,300"}) {
        form.FocusTo(Control::Text11);
        form.TextChanged(Control::Text11, text);
        form.FocusTo(Control::Text12);
        EXPECT_EQ(form.Text(Control::Text11), text);
    }
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Max Wgt \"2,300\" is read as 2 lb"});
}

// The chord's boxes on the specifications panel are read as the other number boxes are, in the
// Worksheet's units, and a MAC of no length is refused.
TEST_F(MainFormTest, TheChordBoxesAreReadAsNumbersAndAMacOfNoLengthIsRefused) {
    form.TextChanged(Control::Text1, "N1");
    form.Clicked(Control::Command3D23);
    form.ChooseUnits(UnitSystem::KilogramMillimetre);
    form.FocusTo(Control::Text35);
    form.TextChanged(Control::Text35, "657.9 mm");
    form.FocusTo(Control::Text36);
    form.TextChanged(Control::Text36, "0");
    form.FocusTo(Control::Text35);
    EXPECT_EQ(dialogs.Titles(),
              (std::vector<std::string>{"LEMAC \"657.9 mm\" is read as 657.9 mm", "MAC refused"}));
    EXPECT_EQ(form.Text(Control::Text35), "657.9 mm");  // kept for correction
    EXPECT_EQ(form.Text(Control::Text36), "");          // refused
    EXPECT_NE(dialogs.shown.back().text.find("must be longer than 0 mm"), std::string::npos);
    form.TextChanged(Control::Text35, "657.9");
    form.FocusTo(Control::Text36);
    form.TextChanged(Control::Text36, "1493.5");
    form.FocusTo(Control::Text35);
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

// A typed row 0 with the last row in use leaves no room for the previous empty row: told.
TEST_F(MainFormTest, NoRoomForThePreviousEmptyRowIsTold) {
    form.ws.InstalledList().At(0, installed::Description) = "Typed";
    form.ws.InstalledList().At(29, installed::Description) = "Last";
    form.FocusTo(Control::Text9);
    form.TextChanged(Control::Text9, "1200");
    form.FocusTo(Control::Text10);
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Change list full"});
}

// A weighing takes row 0 for the previous empty weight: a change typed there first moves down,
// and with the last row in use it stays where it is, counted as a change, and the mechanic is told.
TEST_F(MainFormTest, AWeighingNeverWritesOverATypedFirstChangeRow) {
    for (bool lastRowInUse : {false, true}) {
        SCOPED_TRACE(lastRowInUse ? "last row in use" : "room below");
        dialogs.answers = {true};
        form.Clicked(Control::Command3D19);
        dialogs.Clear();
        Type(U"N1");
        form.Clicked(Control::Grid1);
        for (auto [col, text] : {std::pair{installed::Description, U"Radio"},
                                 {installed::Weight, U"10"},
                                 {installed::Arm, U"50"},
                                 {installed::Install, U"x"}}) {
            form.GridMoveCurrent(Control::Grid1, 0, col);
            Type(text);
        }
        if (lastRowInUse) form.ws.InstalledList().At(29, installed::Description) = "Last";
        form.Clicked(Control::Command3D23);
        form.Clicked(Control::Grid2);
        form.GridMoveCurrent(Control::Grid2, 0, scale::Wgt);
        Type(U"1000");
        form.GridMoveCurrent(Control::Grid2, 0, scale::Arm);
        Type(U"40");
        form.GridMoveCurrent(Control::Grid2, 1, scale::Arm);  // the weighing lands
        const RowStore& changes = form.ws.InstalledList();
        EXPECT_EQ(form.ws.Get(Field::Empty), "1000.00");
        if (lastRowInUse) {
            EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Change list full"});
            EXPECT_EQ(changes.At(0, installed::Description).Text(), "Radio");
            EXPECT_EQ(changes.At(29, installed::Description).Text(), "Last");
        } else {
            EXPECT_TRUE(dialogs.shown.empty());
            EXPECT_EQ(changes.At(0, installed::Description).Text(), kPreviousEmpty);
            EXPECT_EQ(changes.At(1, installed::Description).Text(), "Radio");
            EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(1, installed::Weight), "10.00");
        }
        // Either way the typed change counts once: 1000 at 40 and 10 at 50.
        EXPECT_EQ(form.ws.Get(Field::Text23), "1010.00");
        EXPECT_EQ(form.ws.Get(Field::Text27), "40500.0");
        form.GridMoveCurrent(Control::Grid2, 2, scale::Arm);  // told once, not at every move
        EXPECT_LE(dialogs.shown.size(), 1U);
        form.Clicked(Control::Command3D23);
        if (lastRowInUse) continue;
        // Typing over the row the weighing built is no change of the mechanic's to keep: the
        // next computation builds it again in place, and nothing moves down.
        form.Clicked(Control::Grid1);
        form.GridMoveCurrent(Control::Grid1, 0, installed::Description);
        Type(U"Oops");
        form.GridMoveCurrent(Control::Grid1, 0, installed::Serial);
        Recalculate(form.ws);
        EXPECT_EQ(changes.At(0, installed::Description).Text(), kPreviousEmpty);
        EXPECT_EQ(changes.At(1, installed::Description).Text(), "Radio");
        EXPECT_TRUE(changes.At(2, installed::Description).IsEmpty());
    }
}

// However the focus leaves a grid, the pending edit lands, even in row 0, and a print sees it.
TEST_F(MainFormTest, LeavingAGridCommitsThePendingEditHoweverTheFocusLeaves) {
    struct Case {
        Control grid;
        int weightCol, armCol;
        Control leave;
    };
    const Case cases[] = {
        {Control::Grid1, installed::Weight, installed::Arm, Control::Text3},
        {Control::Grid1, installed::Weight, installed::Arm, Control::Command3D13},
        {Control::Grid1, installed::Weight, installed::Arm, Control::Command3D14},
        {Control::Grid2, scale::Wgt, scale::Arm, Control::Command3D23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(InfoOf(c.grid).name) + " to " + std::string(InfoOf(c.leave).name));
        const GridId id = *GridOf(c.grid);
        dialogs.answers = {true};
        form.Clicked(Control::Command3D19);
        form.TextChanged(Control::Text1, "N1");
        if (id == GridId::Grid2) form.Clicked(Control::Command3D23);
        form.FocusTo(c.grid);
        form.GridMoveCurrent(c.grid, 0, c.armCol);
        Type(U"40");
        if (id == GridId::Grid1) {
            form.GridMoveCurrent(c.grid, 0, installed::Install);
            Type(U"x");
        }
        form.GridMoveCurrent(c.grid, 0, c.weightCol);
        Type(U"700");  // pending until the current cell moves or the focus leaves
        std::optional<double> printed;
        form.onPrint = [&](Control) { printed = form.ws.values.NewWeight; };
        form.Clicked(c.leave);
        form.onPrint = nullptr;
        EXPECT_EQ(form.ws.store(id).At(0, c.weightCol).Text(), "700");
        EXPECT_EQ(form.ws.Get(Field::Text23), "700.00");
        EXPECT_EQ(printed.value_or(700), 700);
    }
}

// Open, the specifications lock the Worksheet; closed, they free it.
TEST_F(MainFormTest, TheSpecificationsPanel) {
    Type(U"N1");
    form.Clicked(Control::Command3D23);
    EXPECT_TRUE(form.Visible(Control::Panel3D6));
    form.TextChanged(Control::Text1, "N2");
    EXPECT_EQ(form.Text(Control::Text1), "N1");  // header boxes cannot be edited
    form.Clicked(Control::Command3D23);
    EXPECT_EQ(form.SpecsPending, 0);
    EXPECT_TRUE(form.Enabled(Control::Panel3D1));
}

}  // namespace
}  // namespace wb
