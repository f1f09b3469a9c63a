// Typed work is never dropped without a question: every kind of edit of a stored or loaded
// Worksheet makes New, Exit and the browse buttons ask, and a No leaves the screen as it was;
// a search typed on a fresh screen and browsing what was just loaded ask nothing.
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

constexpr const char* kNotSaved = "Weight & Balance on screen not saved";

enum class Edit { HeaderBox, Grid1, Grid2, Grid3, Grid4, SpecsBox };
enum class Press { New, Exit, Next };
enum class From { Saved, Loaded };

// Everything the mechanic could lose: the header texts and what was typed in each grid.
struct Screen {
    std::vector<std::string> fields;
    std::vector<std::string> cells;
    bool operator==(const Screen&) const = default;
};

class UnsavedScreenTest : public test::StoreFormTest {
  protected:
    Screen Now() const {
        Screen s;
        for (const FieldInfo& f : AllFields())
            s.fields.push_back(form.ws.Get(f.field));
        for (GridId id : kAllGrids)
            for (const Entry& e : form.ws.store(id).entries)
                s.cells.push_back(e.Text());
        return s;
    }
    void TypeInto(Control c, std::u32string keys) {
        for (char32_t k : keys)
            form.KeyTyped(c, k);
    }
    void OpenSpecs() { form.Clicked(Control::Command3D23); }
    void CloseSpecs() { form.Clicked(Control::Command3D23); }

    // One edit through the window's events, leaving the specifications panel closed so that
    // the buttons take presses again.
    void Make(Edit edit) {
        switch (edit) {
            case Edit::HeaderBox:
                form.FocusTo(Control::Text3);
                form.TextChanged(Control::Text3, "Piper");
                form.FocusTo(Control::Text1);
                return;
            case Edit::Grid1:
                form.Clicked(Control::Grid1);
                form.GridMoveCurrent(Control::Grid1, 3, installed::Description);
                TypeInto(Control::Grid1, U"Radio");
                form.FocusTo(Control::Text1);
                return;
            case Edit::SpecsBox:
                OpenSpecs();
                form.TextChanged(Control::Text14, "82.0 to 93.0");
                CloseSpecs();
                return;
            default:
                break;
        }
        const Control grid = edit == Edit::Grid2   ? Control::Grid2
                             : edit == Edit::Grid3 ? Control::Grid3
                                                   : Control::Grid4;
        OpenSpecs();
        form.Clicked(grid);
        form.GridMoveCurrent(grid, 3, 1);
        TypeInto(grid, U"7");
        CloseSpecs();
    }
    void Do(Press press) {
        const Control button = press == Press::New    ? Control::Command3D19
                               : press == Press::Exit ? Control::Command3D12
                                                      : Control::Command3D16;
        form.Clicked(button);
    }
    std::vector<std::string> Questions() const {
        std::vector<std::string> q;
        for (const test::Shown& s : dialogs.shown)
            if (s.kind == test::Shown::Question) q.push_back(s.title + ": " + s.text);
        return q;
    }
};

TEST_F(UnsavedScreenTest, EveryEditOfAStoredOrLoadedWorksheetIsAskedAboutAndNoKeepsIt) {
    Store("N1", "01-02-2026");
    Store("N2", "01-03-2026");
    const Edit edits[] = {Edit::HeaderBox, Edit::Grid1, Edit::Grid2,
                          Edit::Grid3,     Edit::Grid4, Edit::SpecsBox};
    const std::pair<Press, const char*> presses[] = {
        {Press::New, "OK to start new form without saving?"},
        {Press::Exit, "OK to exit program without saving?"},
        {Press::Next, "OK to leave the Worksheet on screen without saving?"}};
    int day = 0;  // each save its own date, so that none replaces another
    for (From from : {From::Saved, From::Loaded})
        for (Edit edit : edits)
            for (const auto& [press, question] : presses) {
                SCOPED_TRACE(testing::Message()
                             << (from == From::Saved ? "saved" : "loaded") << " edit "
                             << static_cast<int>(edit) << " press " << static_cast<int>(press));
                New();
                if (from == From::Saved) {
                    Set(Control::Text1, "N3");
                    Set(Control::Text7, "02-" + std::to_string(10 + ++day) + "-2026");
                    Save();
                } else {
                    ClearCriteria();
                    Next();
                    ASSERT_EQ(OnScreen(), "N1 01-02-2026");
                }
                ASSERT_EQ(form.ScreenSaved, 1);
                dialogs.Clear();
                Make(edit);
                EXPECT_EQ(form.ScreenSaved, 0);
                const Screen before = Now();
                Do(press);  // answered No
                EXPECT_EQ(Questions(), std::vector<std::string>{std::string(kNotSaved) + ": " + question});
                EXPECT_TRUE(Now() == before);
                EXPECT_FALSE(form.Ended());
                // Yes goes on as before: the edit is left behind.
                dialogs.answers = {true};
                if (press != Press::Exit) {
                    Do(press);
                    EXPECT_FALSE(Now() == before);
                }
                dialogs.answers.clear();
            }
}

TEST_F(UnsavedScreenTest, SearchingAndBrowsingAskNothingButTypedRowsOnAFreshScreenAreAskedAbout) {
    Store("N1", "01-02-2026");
    Store("N2", "01-03-2026");
    dialogs.Clear();
    New();
    ClearCriteria();
    Set(Control::Text1, "N2");  // a search's criterion
    Next();
    EXPECT_EQ(OnScreen(), "N2 01-03-2026");
    New();
    ClearCriteria();
    Next();
    Next();
    Previous();
    EXPECT_EQ(OnScreen(), "N1 01-02-2026");
    EXPECT_EQ(Questions(), std::vector<std::string>{});

    // A fresh screen with a change row typed is work, not a search.
    New();
    ClearCriteria();
    Make(Edit::Grid1);
    const Screen before = Now();
    Next();
    EXPECT_EQ(Questions().size(), 1U);
    EXPECT_TRUE(Now() == before);
}

}  // namespace
}  // namespace wb
