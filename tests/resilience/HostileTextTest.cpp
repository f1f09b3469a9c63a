// Text that could break a store built carelessly: quotes, SQL fragments, pastes far past a
// field's limit, control characters and right-to-left text. It is stored and shown as typed
// (within the field's limit). Searching for such texts: the store tests.
#include "app/Controls.h"
#include "tests/store/StoreFixture.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

const std::vector<std::string>& HostileTexts() {
    static const std::vector<std::string> texts = {
        "O'Brien \"Jr\"",
        "'); DROP TABLE Aircraft;--",
        "tab\there\nnew\rline\x01\x7f",
        "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xE2\x80\x8F\xD8\xB9",  // Hebrew, a right-to-left mark, Arabic
        std::string(5000, 'W') + "' OR 1=1 --",
    };
    return texts;
}

// The identity and text fields a mechanic types into (their limits: MainFormTest).
constexpr Control kBoxes[] = {Control::Text1,  Control::Text2,  Control::Text3,
                              Control::Text12, Control::Text13, Control::Text14};

class HostileTextTest : public test::StoreFormTest {};

TEST_F(HostileTextTest, EveryFieldStoresAndShowsWhatWasTyped) {
    int day = 1;
    for (const std::string& text : HostileTexts()) {
        SCOPED_TRACE(text.substr(0, 40));
        New();
        std::vector<std::string> typed;
        for (Control box : kBoxes) {
            form.TextChanged(box, text);
            typed.push_back(form.Text(box));
        }
        // A tail that is all blanks or "0" would mean something else; keep the date real.
        Set(Control::Text1, "H" + std::to_string(day));
        typed[0] = form.Text(Control::Text1);
        Set(Control::Text7, "02-" + std::to_string(10 + day) + "-2010");
        Item(0, text, "3", "40");
        const std::string itemShown = form.ws.grid(GridId::Grid3).Cell(0, equipment::Description);
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);

        New();
        ClearCriteria();
        Set(Control::Text1, "H" + std::to_string(day));
        Set(Control::Text7, "02-" + std::to_string(10 + day) + "-2010");
        Next();
        for (size_t i = 0; i < std::size(kBoxes); ++i)
            EXPECT_EQ(form.Text(kBoxes[i]), typed[i]) << i;
        EXPECT_EQ(form.ws.grid(GridId::Grid3).Cell(0, equipment::Description), FirstChars(itemShown, 25));
        ++day;
    }
}

}  // namespace
}  // namespace wb
