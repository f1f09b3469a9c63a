#include "worksheet/LeadingNumber.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cfloat>
#include <clocale>

namespace wb {
namespace {

struct LeadingCase {
    const char* text;
    double value;
    friend std::ostream& operator<<(std::ostream& os, const LeadingCase& c) {
        return os << '"' << c.text << '"';
    }
};

class LeadingNumberTable : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTable, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LeadingNumberTable,
    ::testing::Values(LeadingCase{"12.5lb", 12.5}, LeadingCase{"1 234", 1234}, LeadingCase{"1,234", 1},
                      LeadingCase{"-", 0}, LeadingCase{"", 0}, LeadingCase{"abc", 0}, LeadingCase{"  42", 42},
                      LeadingCase{"\t1\r\n2", 12}, LeadingCase{"- 5", -5}, LeadingCase{"+7", 7},
                      LeadingCase{"--5", 0}, LeadingCase{".5", 0.5}, LeadingCase{"-.5", -0.5},
                      LeadingCase{".", 0}, LeadingCase{"1.2.3", 1.2}, LeadingCase{"1e3", 1000},
                      LeadingCase{"1E3", 1000}, LeadingCase{"1D3", 1000}, LeadingCase{"2d-2", 0.02},
                      LeadingCase{"1 E 2", 100}, LeadingCase{"1E", 1}, LeadingCase{"1E+", 1},
                      LeadingCase{"1Ex", 1}, LeadingCase{"3.5E2lb", 350}, LeadingCase{"1e-400", 0},
                      LeadingCase{"$12", 0}, LeadingCase{"0x1A", 0}));

TEST(LeadingNumber, HugeExponentSaturatesInsteadOfGivingInfinity) {
    EXPECT_EQ(LeadingNumber("1E400"), DBL_MAX);
    EXPECT_EQ(LeadingNumber("-1E400"), -DBL_MAX);
}

TEST(LeadingNumber, IgnoresADecimalCommaLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no decimal-comma locale installed";
    EXPECT_DOUBLE_EQ(LeadingNumber("12.5"), 12.5);
    EXPECT_EQ(NumberText(1507.5), "1507.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, WritesUpToSevenSignificantDigits) {
    EXPECT_EQ(NumberText(1507.5), "1507.5");
    EXPECT_EQ(NumberText(static_cast<float>(106100.0 / 1507.5)), "70.38142");
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(-12.25), "-12.25");
    EXPECT_EQ(NumberText(0.001234567891), "0.001234568");
    EXPECT_EQ(NumberText(1234567.8), "1234568");
    EXPECT_EQ(NumberText(12345678), "1.234568E+07");
    EXPECT_EQ(NumberText(0.0000012), "1.2E-06");
    EXPECT_EQ(NumberText(100), "100");
    // Whatever the form, reading it back gives the 7-digit value.
    for (double v : {12345678.0, 0.0000012, -98765.4321, 3.0e30})
        EXPECT_FLOAT_EQ(static_cast<float>(LeadingNumber(NumberText(v))), static_cast<float>(v));
}

struct NumericCase {
    const char* text;
    bool numeric;
    friend std::ostream& operator<<(std::ostream& os, const NumericCase& c) {
        return os << '"' << c.text << '"';
    }
};
class NumericTextTable : public ::testing::TestWithParam<NumericCase> {};

TEST_P(NumericTextTable, AcceptsOnlyWholeNumbers) {
    EXPECT_EQ(NumericText(GetParam().text), GetParam().numeric) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Entries, NumericTextTable,
    ::testing::Values(NumericCase{"1.5", true}, NumericCase{"1.5.2", false}, NumericCase{"12a", false},
                      NumericCase{"", false}, NumericCase{" ", false}, NumericCase{"-", false},
                      NumericCase{" 12 ", true}, NumericCase{"-3", true}, NumericCase{"+3", true},
                      NumericCase{"1.", true}, NumericCase{".5", true}, NumericCase{".", false},
                      NumericCase{"1e5", true}, NumericCase{"1E-5", true}, NumericCase{"1D2", true},
                      NumericCase{"1e", false}, NumericCase{"1e+", false}, NumericCase{"1,234", false},
                      NumericCase{"$12", false}, NumericCase{"1 234", false}, NumericCase{"inf", false},
                      NumericCase{"nan", false}, NumericCase{"1e38", true}, NumericCase{"1e39", false},
                      NumericCase{"-1e39", false}));

}  // namespace
}  // namespace wb
