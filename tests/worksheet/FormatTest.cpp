#include "worksheet/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wb {
namespace {

// Each display pattern rounds half away from zero on the decimal value.
TEST(Patterns, RoundHalfAwayFromZero) {
    struct Case {
        double value;
        std::string_view pattern;
        const char* shown;
    };
    const Case cases[] = {
        // "#####0.00": at least one integer digit
        {12.5, "#####0.00", "12.50"},
        {1.005, "#####0.00", "1.01"},
        {-0.004, "#####0.00", "0.00"},
        {9.995, "#####0.00", "10.00"},
        {1e20, "#####0.00", "100000000000000000000.00"},
        // "#####.0": no integer digit when the integer part is 0
        {-0.5, "#####.0", "-.5"},
        {-0.05, "#####.0", "-.1"},
        // "#####0.0", "######.0", "####0.00", "####0.#0", "######.00", "#####.00"
        {106100, "#####0.0", "106100.0"},
        {0.25, "#####0.0", "0.3"},
        {35.5, "####0.00", "35.50"},
        {1507.5, "####0.#0", "1507.50"},
        {0, "######.00", ".00"},
        {35.54455, "#####.00", "35.54"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.shown) << c.value << " through " << c.pattern;
}

TEST(SinglePatterns, AreReducedToSevenDigitsBeforeRounding) {
    // 1.005f is 1.00499999523...: its 7-digit form 1.005 rounds up.
    EXPECT_EQ(FormatSingle(1.005f, "#####0.00"), "1.01");
    EXPECT_EQ(FormatSingle(70.38142f, "####0.#0"), "70.38");
    EXPECT_EQ(FormatSingle(16777217.0f, "#####0.0"), "16777220.0");  // 7 digits, then zeros
    // Non-finite values never show garbage.
    EXPECT_EQ(FormatSingle(std::numeric_limits<float>::infinity(), "######.00"), "Overflow");
    EXPECT_EQ(FormatNumber(std::nan(""), "#####0.00"), "Overflow");
}

TEST(Patterns, TextIsFormattedOnlyWhenItIsANumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"12.5", "12.50"}, {" 80 ", "80.00"},    {"1e2", "100.00"},  {"", ""},      {"-", "-"},
        {" ", " "},        {"12.5lb", "12.5lb"}, {"1,234", "1,234"}, {"N/A", "N/A"}};  // never 1234.00
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(FormatText(text, "#####0.00"), shown) << text;
}

}  // namespace
}  // namespace wb
