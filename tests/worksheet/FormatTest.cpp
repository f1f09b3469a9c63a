#include "worksheet/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "worksheet/Decimal.h"

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

TEST(Patterns, ADoubleIsReducedToFifteenDigitsBeforeRounding) {
    // 1.005 is 1.00499999999999989...: its 15-digit form 1.005 rounds up (the table above).
    // A heavy aircraft keeps its last shown digits: 2258183.585 to the cent.
    EXPECT_EQ(FormatNumber(2258183.585, "######.00"), "2258183.59");
    EXPECT_EQ(FormatNumber(16777217.0, "#####0.0"), "16777217.0");
    // Non-finite values never show garbage.
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), "######.00"), "Overflow");
    EXPECT_EQ(FormatNumber(std::nan(""), "#####0.00"), "Overflow");
}

// Printed numbers are worked with digit for digit, whatever their size.
TEST(Decimals, ReadAsTypedAndMultiplyAddAndDivideExactly) {
    EXPECT_EQ(Decimal::Read(" 1 234.50lb").Text(2), "1234.50");
    EXPECT_EQ(Decimal::Read("1.5E2").Text(0), "150");
    EXPECT_EQ(Decimal::Read("-.25").Decimals(), 2);
    EXPECT_EQ(Decimal::Read("N/A").Text(1), "0.0");
    // 18 significant digits, beyond a double: 9876543210.55 x 1234.55.
    const Decimal product = Decimal::Read("9876543210.55") * Decimal::Read("1234.55");
    EXPECT_EQ(product.Text(4), "12193086420584.5025");
    EXPECT_EQ(product.Formatted("######.0"), "12193086420584.5");
    EXPECT_EQ((Decimal::Read("0.1") + Decimal::Read("0.2") - Decimal::Read("0.3")).IsZero(), true);
    EXPECT_EQ(Decimal::Read("-0.05").Formatted("#####.0"), "-.1");
    EXPECT_EQ(Decimal::Read("-0.04").Formatted("#####.0"), ".0");
    EXPECT_EQ(Decimal::Read("187969.5").DividedBy(Decimal::Read("5199"), 6).Text(6), "36.154934");
    EXPECT_EQ(Decimal::Read("-1").DividedBy(Decimal::Read("8"), 2).Text(2), "-0.13");  // half away
    EXPECT_EQ(Decimal::Read("1").DividedBy(Decimal(), 2).Text(2), "0.00");
    EXPECT_EQ(Decimal::Read("1e999").ToDouble(), std::numeric_limits<double>::max());
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
