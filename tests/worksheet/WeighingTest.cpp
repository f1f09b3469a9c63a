#include "worksheet/Weighing.h"

#include <gtest/gtest.h>

#include "worksheet/Worksheet.h"

namespace wb {
namespace {

CalendarDate D(const char* typed) {
    return *ParseTypedDate(typed);
}

struct AdviceCase {
    const char* what;
    double weightChange, armChange;
    std::optional<double> maxLanding;
    double maxWeight;
    std::optional<double> mac;
    bool advised;
    const char* text;  // AdviceText
};

// The thresholds: over 0.5 % of the reference weight or over 0.5 % MAC, net of opposite changes.
const AdviceCase kAdvice[] = {
    {"+6 and +5 of 2000 lb", 11.0, 0, 2000, 0, std::nullopt, true,
     "Reweigh advised: weight +11.00 lb, 0.55 % of 2000.00 lb; C.G. +0.00 in"},
    {"+6 and -5 cancel down to 0.05 %", 1.0, 0, 2000, 0, std::nullopt, false, ""},
    {"exactly 0.5 % is not over it", -10.0, 0, 2000, 0, std::nullopt, false, ""},
    {"a removal counts as much as an installation", -10.5, 0, 2000, 0, std::nullopt, true,
     "Reweigh advised: weight -10.50 lb, 0.53 % of 2000.00 lb; C.G. +0.00 in"},
    {"the maximum weight stands in for a landing weight", 11.0, 0, std::nullopt, 2000, std::nullopt, true,
     "Reweigh advised: weight +11.00 lb, 0.55 % of 2000.00 lb; C.G. +0.00 in"},
    {"the landing weight, not the maximum, is the reference", 11.0, 0, 2500, 2000, std::nullopt, false, ""},
    {"C.G. 40.10 to 40.41 on a 60 in MAC", 0, 0.31, 2000, 0, 60.0, true,
     "Reweigh advised: weight +0.00 lb, 0.00 % of 2000.00 lb; C.G. +0.31 in, 0.52 % MAC"},
    {"C.G. shift of 0.30 in is 0.5 % MAC, not over", 0, -0.30, 2000, 0, 60.0, false, ""},
    {"without a MAC a shift alone advises nothing", 0, 5.0, 2000, 0, std::nullopt, false, ""},
    {"no reference weight at all", 500.0, 0, std::nullopt, 0, std::nullopt, false, ""},
};

TEST(ReweighAdvisor, AdvisesOverHalfAPercentOfWeightOrMac) {
    for (const AdviceCase& c : kAdvice) {
        SCOPED_TRACE(c.what);
        ReweighInput in;
        in.weightChange = c.weightChange;
        in.armChange = c.armChange;
        in.maxLandingWeight = c.maxLanding;
        in.maxWeight = c.maxWeight;
        if (c.mac) in.mac = MacReference{30, *c.mac};
        const ReweighAdvice advice = AdviseReweigh(in);
        EXPECT_EQ(advice.advised, c.advised);
        EXPECT_EQ(AdviceText(in, advice, UnitSystem::PoundInch), c.text);
    }
}

struct DueCase {
    const char* lastWeighing;
    int months;
    const char* today;
    const char* text;
};

TEST(ReweighAdvisor, GivesTheNextDueDateAndWhetherItIsPast) {
    const DueCase cases[] = {
        {"03-14-2022", 48, "12-07-2026", "Next weighing due 03-14-2026 (past due)"},
        {"03-14-2022", 48, "03-14-2026", "Next weighing due 03-14-2026"},  // due that day, not past
        {"03-14-2022", 108, "12-07-2026", "Next weighing due 03-14-2031"},
        {"08-31-2025", 6, "01-01-2026", "Next weighing due 02-28-2026"},  // no 31st in February
        {"02-29-2024", 12, "01-01-2026", "Next weighing due 02-28-2025 (past due)"},
        {"03-14-2022", 0, "12-07-2026", ""},  // no interval
        {nullptr, 48, "12-07-2026", ""},      // never weighed
    };
    for (const DueCase& c : cases) {
        SCOPED_TRACE(std::string(c.lastWeighing ? c.lastWeighing : "none") + " + " +
                     std::to_string(c.months));
        ReweighInput in;
        if (c.lastWeighing) in.lastWeighing = D(c.lastWeighing);
        in.intervalMonths = c.months;
        in.today = D(c.today);
        EXPECT_EQ(DueText(AdviseReweigh(in)), c.text);
    }
    EXPECT_EQ(ReweighMonthsOf("48"), 48);
    EXPECT_EQ(ReweighMonthsOf(""), 0);
    EXPECT_EQ(ReweighMonthsOf("4.5"), 0);
}

struct NegligibleCase {
    double rowWeight, rowArm, emptyWeight;
    std::optional<double> mac;
    UnitSystem units;
    bool negligible;
};

TEST(NegligibleChange, FollowsTheWeightBandsAndTheMacShift) {
    const NegligibleCase cases[] = {
        {1.0, 50, 4999, std::nullopt, UnitSystem::PoundInch, true},
        {1.1, 50, 4999, std::nullopt, UnitSystem::PoundInch, false},
        {-1.0, 50, 4999, std::nullopt, UnitSystem::PoundInch, true},  // removed
        {2.0, 50, 5000, std::nullopt, UnitSystem::PoundInch, true},
        {2.0, 50, 50000, std::nullopt, UnitSystem::PoundInch, true},
        {2.1, 50, 50000, std::nullopt, UnitSystem::PoundInch, false},
        {5.0, 50, 50001, std::nullopt, UnitSystem::PoundInch, true},
        {5.1, 50, 60000, std::nullopt, UnitSystem::PoundInch, false},
        // 1 lb far aft on a light aircraft moves the C.G. 0.075 in: 0.125 % of a 60 in MAC.
        {1.0, 190, 2000, 60.0, UnitSystem::PoundInch, false},
        {1.0, 41, 2000, 60.0, UnitSystem::PoundInch, true},
        // Kilograms: 1 lb is 0.4536 kg, and the bands are by the weight in pounds.
        {0.45, 1, 2000, std::nullopt, UnitSystem::KilogramMetre, true},
        {0.50, 1, 2000, std::nullopt, UnitSystem::KilogramMetre, false},
        {0.90, 1, 3000, std::nullopt, UnitSystem::KilogramMetre, true},  // 6,614 lb: 2 lb band
    };
    for (const NegligibleCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.rowWeight) + " at " + std::to_string(c.rowArm) + " on " +
                     std::to_string(c.emptyWeight));
        std::optional<MacReference> mac;
        if (c.mac) mac = MacReference{30, *c.mac};
        EXPECT_EQ(NegligibleChange(c.rowWeight, c.rowArm, c.emptyWeight, 40.0, mac, c.units), c.negligible);
    }
}

class WeighingWarningsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorksheet(ws, false);
        ws.Set(Field::Date, "02-15-2026");
        acme.serial = "A-100";
        acme.makeModel = "Acme WS-1";
        acme.capacity = 1000;
        acme.calibrated = D("01-10-2024");
    }
    void Reading(int row, const char* weight, const char* scaleSerial) {
        ws.ScaleRows().At(row, scale::Wgt) = weight;
        ws.Set(static_cast<Field>(static_cast<int>(Field::Scale1) + row), scaleSerial);
    }
    Worksheet ws;
    ShopScale acme;
};

TEST_F(WeighingWarningsTest, NameTheScaleAndByHowMuch) {
    struct Case {
        const char* what;
        const char* weighed;
        int interval;
        const char* reading;
        const char* serial;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"past its calibration",
         "02-15-2026",
         24,
         "600",
         "A-100",
         {"Scale A-100 (Acme WS-1): calibrated 01-10-2024, due again 01-10-2026; the weighing of 02-15-2026 "
          "is 36 days past its calibration."}},
        {"on its last day", "01-10-2026", 24, "600", "A-100", {}},
        {"a maker's shorter interval",
         "02-15-2025",
         12,
         "600",
         "A-100",
         {"Scale A-100 (Acme WS-1): calibrated 01-10-2024, due again 01-10-2025; the weighing of 02-15-2025 "
          "is 36 days past its calibration."}},
        {"never more than 24 months",
         "02-15-2026",
         36,
         "600",
         "A-100",
         {"Scale A-100 (Acme WS-1): calibrated 01-10-2024, due again 01-10-2026; the weighing of 02-15-2026 "
          "is 36 days past its calibration."}},
        {"over its capacity",
         "06-01-2025",
         24,
         "1250",
         "A-100",
         {"Scale A-100 (Acme WS-1) on Right Main: the reading of 1250.00 lb is 250.00 lb above its capacity "
          "of 1000.00 lb."}},
        {"no scale named",
         "06-01-2025",
         24,
         "600",
         "",
         {"Right Main: no scale is named for its reading of 600.00 lb."}},
        {"a scale the shop does not keep",
         "06-01-2025",
         24,
         "600",
         "Z-9",
         {"Right Main: the scale Z-9 is not among the shop's scales."}},
        {"a row without a reading needs no scale", "06-01-2025", 24, "", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ws.Set(Field::Date, c.weighed);
        acme.intervalMonths = c.interval;
        Reading(0, c.reading, c.serial);
        EXPECT_EQ(WeighingWarnings(ws, {acme}, UnitSystem::PoundInch), c.warnings);
    }
}

TEST_F(WeighingWarningsTest, TellAScaleUsedOnTwoRowsPastItsCalibrationOnce) {
    Reading(0, "600", "A-100");
    Reading(1, "610", "A-100");
    Reading(2, "300", "");
    const auto warnings = WeighingWarnings(ws, {acme}, UnitSystem::KilogramMillimetre);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("36 days past"), std::string::npos);
    EXPECT_EQ(warnings[1], "Nose: no scale is named for its reading of 300.00 kg.");
}

}  // namespace
}  // namespace wb
