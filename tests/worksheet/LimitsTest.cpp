#include "worksheet/Limits.h"

#include "worksheet/Balance.h"

#include <gtest/gtest.h>

#include <string>

#include "TestArithmetic.h"

namespace wb {
namespace {

struct RangeCase {
    const char* text;
    const char* forward;  // nullptr: no range is read
    const char* aft;
};

// Range texts as mechanics write them, and texts that hold no single range of arms.
const RangeCase kRanges[] = {
    {"+35.0 to +42.5", "+35.0", "+42.5"},
    {"35.0\xE2\x80\x94"
     "42.5",
     "+35.0", "+42.5"},  // em dash, no blanks
    {"\xE2\x88\x92"
     "2.1 to 4",
     "-2.1", "+4"},                   // the minus sign
    {"35.0-42.5", "+35.0", "+42.5"},  // a minus right after an arm joins, it does not sign
    {"C.G. range: 35.0\" through 42.5\" aft of datum", "+35.0", "+42.5"},
    {"42.5 to 35.0", "+35.0", "+42.5"},  // aft limit written first
    {"35.0", nullptr, nullptr},
    {"35,0 - 42,5", nullptr, nullptr},                                 // decimal commas
    {"15% to 30% MAC", nullptr, nullptr},                              // not arms
    {"35 to 38 at 1800 lb, 36 to 42.5 at 2300 lb", nullptr, nullptr},  // two ranges
};

TEST(ReadCgRange, ReadsTheFormsMechanicsWriteAndNothingElse) {
    for (const RangeCase& c : kRanges) {
        SCOPED_TRACE(c.text);
        const std::optional<CgRange> range = ReadCgRange(c.text);
        if (c.forward == nullptr) {
            EXPECT_FALSE(range) << "read as " << range->Text();
            continue;
        }
        ASSERT_TRUE(range);
        EXPECT_EQ(range->forwardText, c.forward);
        EXPECT_EQ(range->aftText, c.aft);
    }
    EXPECT_EQ(ReadCgRange("-2.1 to +4.0")->forward, -2.1);
}

EmptyCgLimits Evaluate(const char* range, float weight, float arm, const char* ballastArm = "",
                       const char* previous = "") {
    std::optional<EmptyCgLimits> limits = EvaluateEmptyCg(range, previous, weight, arm, ballastArm);
    EXPECT_TRUE(limits);
    return limits.value_or(EmptyCgLimits{});
}

TEST(EmptyCgCheck, SaysWhereTheNewCgStandsAsShown) {
    EXPECT_FALSE(EvaluateEmptyCg("n/a", "", 1876, 34.0f, ""));

    const EmptyCgLimits within = Evaluate("+33.0 to +42.5", 1876, 34.0f, "228", "33.1");
    EXPECT_EQ(IndicationText(within), "within empty weight C.G. range");
    EXPECT_FALSE(within.ballast);  // ballast only where it is needed

    const EmptyCgLimits outside = Evaluate("(+33.0) to (+42.5)", 1876, 42.51f);
    EXPECT_EQ(outside.status, EmptyCgLimits::Status::AftOfRange);

    // 32.996 shows as 33.00: on the forward limit, so within.
    EXPECT_FALSE(Evaluate("33.0 - 42.5", 1876, 32.996f).Outside());
    EXPECT_TRUE(Evaluate("33.0 - 42.5", 1876, 32.994f).Outside());

    // No new values yet: the range and the previous C.G. are there for the chart, no words.
    EXPECT_EQ(IndicationText(Evaluate("33.0 - 42.5", 0, 0, "228", "35")), "");
}

// The ballast is worked from the C.G. itself, not as shown, and the C.G. with it checked, on
// Worksheets typed as a mechanic types them; the expected texts by the test's own arithmetic.
TEST(EmptyCgCheck, BallastFromTheUnroundedCgReachesTheLimit) {
    struct Case {
        const char *empty, *cg, *changeWeight, *changeArm, *range, *ballastArm, *limit;
    };
    const Case cases[] = {
        // New C.G. +36.1549 shows as 36.15: 30 lb at +10 would leave +36.0049, still aft.
        {"4954", "30.5", "245", "150.5", "+33.0 to +36.0", "10", "36.0"},
        {"1876", "32.2", "0", "0", "+33.0 to +42.5", "228", "33.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.empty) + " at " + c.cg);
        Worksheet ws;
        ClearWorksheet(ws, false);
        ws.Set(Field::Empty, c.empty);
        ws.Set(Field::CG, c.cg);
        ws.Set(Field::Range3, c.range);
        ws.Set(Field::BallastArm, c.ballastArm);
        RebuildPreviousEmptyRow(ws, Field::CG);
        ws.InstalledList().At(1, installed::Weight) = c.changeWeight;
        ws.InstalledList().At(1, installed::Arm) = c.changeArm;
        ws.InstalledList().At(1, installed::Install) = "X";
        Recalculate(ws);
        const std::optional<EmptyCgLimits> limits = EvaluateEmptyCg(ws);
        ASSERT_TRUE(limits);
        ASSERT_TRUE(limits->ballast);

        // Whole pounds; arms, the limit and the C.G. in tenths of an inch.
        const long long w = test::Scaled(c.empty, 0) + test::Scaled(c.changeWeight, 0);
        const long long m = test::Scaled(c.empty, 0) * test::Scaled(c.cg, 1) +
                            test::Scaled(c.changeWeight, 0) * test::Scaled(c.changeArm, 1);
        const long long arm = test::Scaled(c.ballastArm, 1), limit = test::Scaled(c.limit, 1);
        // (M + b x arm) / (W + b) = limit: b = (limit x W - M) / (arm - limit), then whole pounds.
        const long long hundredths = test::RoundedQuotient((limit * w - m) * 100, arm - limit);
        const long long whole = (limit * w - m) * (arm - limit) > 0
                                    ? test::CeilQuotient(std::llabs(limit * w - m), std::llabs(arm - limit))
                                    : 0;
        const long long cgWith = test::RoundedQuotient((m + whole * arm) * 10, w + whole);
        EXPECT_EQ(BallastText(*limits), "Ballast needed at +" + test::Written(arm, 1) +
                                            "0 in: " + test::Written(hundredths, 2) + " lb, rounded up to " +
                                            std::to_string(whole) + " lb; C.G. with ballast +" +
                                            test::Written(cgWith, 2) + " in");
        // With that ballast the C.G. itself is at or within the limit, not only as shown.
        EXPECT_LE((m + whole * arm - limit * (w + whole)) * (m - limit * w), 0);
        EXPECT_EQ(IndicationText(*limits), std::string("OUTSIDE empty weight C.G. range ") + c.range + " in");
    }
}

TEST(EmptyCgCheck, WorksOutTheBallastToTheLimitPassed) {
    // Aft of the range, ballast in the nose.
    EXPECT_EQ(Evaluate("35.0 - 42.5", 1500, 44.0f, "10 (nose)").ballast->whole, 70);

    // A whole amount stays whole, however the arithmetic rounds on the way.
    EXPECT_EQ(Evaluate("33.0 - 42.5", 2437.5f, 32.2f, "228").ballast->whole, 10);

    // Ballast on the C.G.'s own side of the limit, or on it, cannot help: no negative or
    // endless amount is shown.
    for (const char* arm : {"20", "33.0", "-50"})
        EXPECT_EQ(Evaluate("33.0 - 42.5", 1876, 32.2f, arm).ballast->state, Ballast::State::CannotReach)
            << arm;
    EXPECT_EQ(BallastText(Evaluate("33.0 - 42.5", 1876, 32.2f, "20")),
              "Ballast at +20.00 in cannot bring the C.G. within the range");
    // No ballast arm typed: no ballast.
    EXPECT_FALSE(Evaluate("33.0 - 42.5", 1876, 32.2f, "").ballast);
}

}  // namespace
}  // namespace wb
