#include "reports/NoteLines.h"

#include <gtest/gtest.h>

#include <string>

namespace wb {
namespace {

// 80 twips a character: 98 characters fit in the 7900-twip box, 99 do not.
double Fixed(std::string_view s) {
    return 80.0 * static_cast<double>(s.size());
}

std::vector<std::string> Wrap(std::string_view text) {
    return WrapNotes(text, kNotesBoxWidth, Fixed);
}

TEST(WrapNotes, BreaksAfterTheLastBlankThatStillFits) {
    std::string word9 = "abcdefgh ";  // 8 letters and a blank
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += word9;
    auto lines = Wrap(text);
    // Eleven words of 8 letters with the blanks between them are 98 characters; a twelfth would not fit.
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 98u);
    EXPECT_EQ(lines[0].substr(0, 9), word9);
    EXPECT_EQ(lines[0].back(), 'h');
    EXPECT_EQ(lines[1].front(), 'a');  // the blanks of the break stay behind
    std::string joined = lines[0] + " " + lines[1] + " " + lines[2] + " ";
    EXPECT_EQ(joined, text);
}

TEST(WrapNotes, BreaksAWordWiderThanTheBoxInsideIt) {
    auto lines = Wrap("ab " + std::string(250, 'x') + " cd");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "ab");
    EXPECT_EQ(lines[1], std::string(98, 'x'));
    EXPECT_EQ(lines[2], std::string(98, 'x'));
    EXPECT_EQ(lines[3], std::string(54, 'x') + " cd");
}

TEST(WrapNotes, KeepsHardLineBreaksOfEveryKind) {
    EXPECT_EQ(Wrap("one\r\ntwo\n\nthree\rfour\n"),
              (std::vector<std::string>{"one", "two", "", "three", "four", ""}));
    EXPECT_EQ(Wrap(""), std::vector<std::string>{""});
    EXPECT_EQ(Wrap("  indented"), std::vector<std::string>{"  indented"});
}

TEST(WrapNotes, CutsEachLineAtTheBufferLengthInCharacters) {
    // In a narrow font 790 characters would fit; the line read is cut at 160 all the same.
    auto narrow = [](std::string_view s) { return 10.0 * static_cast<double>(s.size()); };
    std::string longLine;
    for (int i = 0; i < 60; ++i)
        longLine += "word ";
    auto lines = WrapNotes(longLine + "\nshort", kNotesBoxWidth, narrow);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine.substr(0, 160));
    EXPECT_EQ(lines[1], "short");

    // A character of two bytes counts once, and is never split.
    std::string accented;
    for (int i = 0; i < 200; ++i)
        accented += "\xC3\xA9";
    auto cut = WrapNotes(accented, 1e9, narrow);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0], accented.substr(0, 320));
}

}  // namespace
}  // namespace wb
