#include "reports/NoteLines.h"

#include <gtest/gtest.h>

namespace wb {
namespace {

// 80 twips a character: 98 characters fit in the 7900-twip box, 99 do not.
double Fixed(std::string_view s) {
    return 80.0 * static_cast<double>(s.size());
}
std::vector<std::string> Wrap(std::string_view text) {
    return WrapNotes(text, kNotesBoxWidth, Fixed);
}

TEST(WrapNotes, WrapsAtBlanksBreaksWordsWiderThanTheBoxAndCutsAt160Characters) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "abcdefgh ";
    auto lines = Wrap(text);
    // Eleven words with the blanks between them are 98 characters; the blanks of a break stay behind.
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 98u);
    EXPECT_EQ(lines[0] + " " + lines[1] + " " + lines[2] + " ", text);

    EXPECT_EQ(Wrap("ab " + std::string(250, 'x') + " cd"),
              (std::vector<std::string>{"ab", std::string(98, 'x'), std::string(98, 'x'),
                                        std::string(54, 'x') + " cd"}));
    // Hard line breaks of every kind stay.
    EXPECT_EQ(Wrap("one\r\ntwo\n\nthree\rfour\n"),
              (std::vector<std::string>{"one", "two", "", "three", "four", ""}));

    // However wide the box, a line is cut at 160 characters, never inside one.
    auto narrow = [](std::string_view s) { return 10.0 * static_cast<double>(s.size()); };
    std::string accented;  // two bytes a character
    for (int i = 0; i < 200; ++i)
        accented += "\xC3\xA9";
    EXPECT_EQ(WrapNotes(accented + "\nshort", 1e9, narrow),
              (std::vector<std::string>{accented.substr(0, 320), "short"}));
}

}  // namespace
}  // namespace wb
