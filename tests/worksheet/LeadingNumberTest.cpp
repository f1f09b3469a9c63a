#include "worksheet/LeadingNumber.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>

namespace wb {
namespace {

TEST(LeadingNumber, ReadsTheLeadingNumberAndSaturatesInsteadOfInfinity) {
    const std::pair<const char*, double> cases[] = {
        {"12.5lb", 12.5},    {"1 234", 1234}, {"1,234", 1},     {"-", 0},      {"", 0},    {"  42", 42},
        {"- 5", -5},         {"--5", 0},      {".5", 0.5},      {"-.5", -0.5}, {".", 0},   {"1e3", 1000},
        {"2d-2", 0.02},      {"1E", 1},       {"3.5E2lb", 350}, {"1e-400", 0}, {"$12", 0}, {"1E400", DBL_MAX},
        {"-1E400", -DBL_MAX}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << '"' << text << '"';
}

TEST(NumericText, AcceptsOnlyWholeNumbersWithinSinglePrecision) {
    const std::pair<const char*, bool> cases[] = {
        {"1.5", true},    {"1.5.2", false}, {"12a", false}, {"", false},     {" ", false},
        {"-", false},     {" 12 ", true},   {"-3", true},   {"+3", true},    {".5", true},
        {".", false},     {"1e5", true},    {"1D2", true},  {"1e", false},   {"1,234", false},
        {"1 234", false}, {"inf", false},   {"1e38", true}, {"1e39", false},
    };
    for (const auto& [text, numeric] : cases)
        EXPECT_EQ(NumericText(text), numeric) << '"' << text << '"';
}

TEST(NumberText, WritesUpToSevenSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {1507.5, "1507.5"},         {70.3814262, "70.38142"},        {-0.0, "0"},
        {-12.25, "-12.25"},         {0.001234567891, "0.001234568"}, {1234567.8, "1234568"},
        {12345678, "1.234568E+07"}, {0.0000012, "1.2E-06"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(NumberText(static_cast<float>(value)), text) << value;
    // Whatever the form, reading it back gives the 7-digit value.
    for (double v : {12345678.0, 0.0000012, -98765.4321, 3.0e30})
        EXPECT_FLOAT_EQ(static_cast<float>(LeadingNumber(NumberText(v))), static_cast<float>(v));
}

TEST(NumberText, IgnoresADecimalCommaLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    // scripts/deps.sh generates de_DE.UTF-8; a skip here fails the test run under CI.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no decimal-comma locale installed";
    ASSERT_EQ(*std::localeconv()->decimal_point, ',');
    EXPECT_DOUBLE_EQ(LeadingNumber("12.5"), 12.5);
    EXPECT_EQ(NumberText(1507.5), "1507.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace wb
