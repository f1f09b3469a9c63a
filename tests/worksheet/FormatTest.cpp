#include "worksheet/Format.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cfloat>
#include <cmath>
#include <limits>

namespace wb {
namespace {

struct PatternCase {
    double value;
    std::string_view pattern;
    const char* shown;
    friend std::ostream& operator<<(std::ostream& os, const PatternCase& c) {
        return os << c.value << " " << c.pattern;
    }
};

class DoublePatterns : public ::testing::TestWithParam<PatternCase> {};

TEST_P(DoublePatterns, RoundHalfAwayFromZero) {
    EXPECT_EQ(FormatNumber(GetParam().value, GetParam().pattern), GetParam().shown)
        << GetParam().value << " through " << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DoublePatterns,
    ::testing::Values(
        // "#####0.00": at least one integer digit
        PatternCase{12.5, "#####0.00", "12.50"}, PatternCase{0.5, "#####0.00", "0.50"},
        PatternCase{0, "#####0.00", "0.00"}, PatternCase{-0.5, "#####0.00", "-0.50"},
        PatternCase{1.005, "#####0.00", "1.01"}, PatternCase{2.675, "#####0.00", "2.68"},
        PatternCase{-2.675, "#####0.00", "-2.68"}, PatternCase{0.004, "#####0.00", "0.00"},
        PatternCase{-0.004, "#####0.00", "0.00"}, PatternCase{9.995, "#####0.00", "10.00"},
        PatternCase{1234567.891, "#####0.00", "1234567.89"},
        PatternCase{12345678901234.5, "#####0.00", "12345678901234.50"},
        PatternCase{1e20, "#####0.00", "100000000000000000000.00"}, PatternCase{1e-20, "#####0.00", "0.00"},
        // "#####.0": no integer digit when the integer part is 0
        PatternCase{0.5, "#####.0", ".5"}, PatternCase{-0.5, "#####.0", "-.5"},
        PatternCase{1234.5, "#####.0", "1234.5"}, PatternCase{0, "#####.0", ".0"},
        PatternCase{0.04, "#####.0", ".0"}, PatternCase{0.05, "#####.0", ".1"},
        PatternCase{-0.05, "#####.0", "-.1"}, PatternCase{0.96, "#####.0", "1.0"},
        PatternCase{48800, "#####.0", "48800.0"},
        // "#####0.0", "######.0", "####0.00", "####0.#0", "######.00", "#####.00"
        PatternCase{106100, "#####0.0", "106100.0"}, PatternCase{0.25, "#####0.0", "0.3"},
        PatternCase{0.25, "######.0", ".3"}, PatternCase{1200, "######.0", "1200.0"},
        PatternCase{35.5, "####0.00", "35.50"}, PatternCase{0.125, "####0.00", "0.13"},
        PatternCase{1507.5, "####0.#0", "1507.50"}, PatternCase{0.5, "####0.#0", "0.50"},
        PatternCase{0, "######.00", ".00"}, PatternCase{0.5, "######.00", ".50"},
        PatternCase{-0.5, "######.00", "-.50"}, PatternCase{0.005, "######.00", ".01"},
        PatternCase{35.54455, "#####.00", "35.54"}, PatternCase{0, "#####.00", ".00"}));

TEST(SinglePatterns, AreReducedToSevenDigitsBeforeRounding) {
    // 1.005f is 1.00499999523...: its 7-digit form 1.005 rounds up.
    EXPECT_EQ(FormatSingle(1.005f, "#####0.00"), "1.01");
    EXPECT_EQ(FormatNumber(static_cast<double>(1.005f), "#####0.00"), "1.00");
    EXPECT_EQ(FormatSingle(70.38142f, "####0.#0"), "70.38");
    EXPECT_EQ(FormatSingle(1507.5f, "######.00"), "1507.50");
    EXPECT_EQ(FormatSingle(-0.05f, "#####.0"), "-.1");
    EXPECT_EQ(FormatSingle(16777217.0f, "#####0.0"), "16777220.0");  // 7 digits, then zeros
    EXPECT_EQ(FormatSingle(FLT_MAX, "#####0.0").size(), 41u);
}

TEST(Patterns, NonFiniteValuesShowOverflowInsteadOfGarbage) {
    EXPECT_EQ(FormatSingle(std::numeric_limits<float>::infinity(), "######.00"), "Overflow");
    EXPECT_EQ(FormatNumber(std::nan(""), "#####0.00"), "Overflow");
}

TEST(Patterns, TextIsFormattedOnlyWhenItIsANumber) {
    EXPECT_EQ(FormatText("12.5", "#####0.00"), "12.50");
    EXPECT_EQ(FormatText(" 80 ", "#####0.00"), "80.00");
    EXPECT_EQ(FormatText("1e2", "#####0.00"), "100.00");
    EXPECT_EQ(FormatText("", "#####0.00"), "");
    EXPECT_EQ(FormatText("-", "#####0.00"), "-");
    EXPECT_EQ(FormatText(" ", "#####0.00"), " ");
    EXPECT_EQ(FormatText("12.5lb", "#####0.00"), "12.5lb");
    EXPECT_EQ(FormatText("1,234", "#####0.00"), "1,234");  // never shown as 1234.00
    EXPECT_EQ(FormatText("N/A", "######.0"), "N/A");
}

}  // namespace
}  // namespace wb
