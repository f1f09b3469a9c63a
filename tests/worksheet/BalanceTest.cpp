#include "worksheet/Balance.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "TestArithmetic.h"

namespace wb {
namespace {

using test::RoundedQuotient;
using test::Scaled;
using test::Written;

class BalanceTest : public ::testing::Test {
  protected:
    BalanceTest() { ClearWorksheet(ws, false); }

    void Scale(int row, const char* tare, const char* weight, const char* arm) {
        ws.ScaleRows().At(row, scale::Tar) = tare;
        ws.ScaleRows().At(row, scale::Wgt) = weight;
        ws.ScaleRows().At(row, scale::Arm) = arm;
    }
    void Change(int row, const char* desc, const char* weight, const char* arm, const char* in,
                const char* out) {
        RowStore& s = ws.InstalledList();
        s.At(row, installed::Description) = desc;
        s.At(row, installed::Weight) = weight;
        s.At(row, installed::Arm) = arm;
        s.At(row, installed::Install) = in;
        s.At(row, installed::Remove) = out;
    }
    std::string Shown(GridId g, int r, int c) { return ws.grid(g).Cell(r, c); }

    Worksheet ws;
};

// A weighing overrides the typed previous empty values; the weighing report checks the fluids off it.
TEST_F(BalanceTest, AWeighingGivesTheEmptyWeightArmAndMoment) {
    ws.Set(Field::Empty, "1200");
    ws.Set(Field::CG, "35.5");
    Scale(0, "2.5", "612.5", "80");
    Scale(1, "2.5", "610", "80");
    Scale(2, "0", "290", "30");
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::Empty), "1507.50");
    EXPECT_EQ(ws.Get(Field::CG), "70.38");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment), "106100.0");
    // The previous-empty row holds the weighed numbers, not their rounded display.
    EXPECT_DOUBLE_EQ(ws.InstalledList().At(0, installed::Arm).Value(), 106100 / 1507.5);
}

// Without a weighing the typed previous values stand, and only rows marked exactly "X" count.
TEST_F(BalanceTest, ChangesFromTypedPreviousValues) {
    struct Case {
        const char *empty, *cg;
        std::vector<std::array<const char*, 5>> changes;  // description, weight, arm, in, out
        const char *weight, *arm, *moment;
    };
    const Case cases[] = {
        {"1200", "35.5", {{"Radio", "12", "40", "X", ""}}, "1212.00", "35.54", "43080.0"},
        {"1200",
         "35.5",
         {{"Both", "12", "40", "X", "X"}, {"Lower", "50", "40", "x", ""}},
         "1200.00",
         "35.50",
         "42600.0"},
        {"1000", "-10", {}, "1000.00", "-10.00", "-10000.0"},  // a negative moment keeps its sign
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.empty) + " " + c.cg);
        ClearWorksheet(ws, false);
        Scale(0, "", "612.5", "");  // weights without arms are no weighing
        ws.Set(Field::Empty, c.empty);
        ws.Set(Field::CG, c.cg);
        RebuildPreviousEmptyRow(ws, Field::CG);
        for (size_t r = 0; r < c.changes.size(); ++r) {
            const auto& [d, w, a, in, out] = c.changes[r];
            Change(static_cast<int>(r) + 1, d, w, a, in, out);
        }
        Recalculate(ws);
        EXPECT_EQ(ws.Get(Field::Text23), c.weight);
        EXPECT_EQ(ws.Get(Field::Text24), c.arm);
        EXPECT_EQ(ws.Get(Field::Text27), c.moment);
        EXPECT_EQ(ws.Get(Field::CG), c.cg);  // never overwritten without a weighing
    }
}

// Heavy aircraft, weighed or starting from typed values, with changes: every shown value is
// what a decimal calculation of the typed texts gives, to its last shown digit.
TEST_F(BalanceTest, HeavyAircraftShowTheirValuesToTheLastDigit) {
    struct Reading {
        const char *tare, *weight, *arm;
    };
    struct Case {
        const char* name;
        std::vector<Reading> scales;
        std::vector<std::array<const char*, 2>> fluids;   // weight, arm
        const char *empty, *cg;                           // typed, when there is no weighing
        std::vector<std::array<const char*, 4>> changes;  // weight, arm, installed, removed
    };
    const Case cases[] = {
        {"747-class weighing",
         {{"85.5", "40123.45", "312.75"},
          {"120.25", "101234.56", "1302.45"},
          {"118.75", "100987.65", "1302.45"},
          {"110", "98765.43", "1350.5"},
          {"110", "99012.34", "1350.5"}},
         {{"1234.5", "1250.5"}},
         "",
         "",
         {}},
        {"747-class weighing and changes",
         {{"0", "41234.56", "298.15"}, {"0", "102345.67", "1298.85"}, {"0", "103456.78", "1298.85"}},
         {},
         "",
         "",
         {{"1234.56", "1501.25", "X", ""}, {"456.78", "250.5", "", "X"}, {"0.25", "1300.5", "X", ""}}},
        {"typed previous airliner values and changes",
         {},
         {},
         "352345.6",
         "1287.35",
         {{"1234.56", "1501.25", "X", ""}, {"456.78", "250.5", "", "X"}, {"100000.5", "1300.5", "X", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearWorksheet(ws, false);
        // Weights in hundredths, arms in hundredths, moments in ten-thousandths.
        long long weight = 0, moment = 0;
        for (size_t n = 0; n < c.scales.size(); ++n) {
            const Reading& r = c.scales[n];
            Scale(static_cast<int>(n), r.tare, r.weight, r.arm);
            const long long net = Scaled(r.weight, 2) - Scaled(r.tare, 2);
            weight += net;
            moment += net * Scaled(r.arm, 2);
        }
        for (size_t n = 0; n < c.fluids.size(); ++n) {
            ws.FluidRows().At(static_cast<int>(n), fluid::Wgt) = c.fluids[n][0];
            ws.FluidRows().At(static_cast<int>(n), fluid::Arm) = c.fluids[n][1];
            weight -= Scaled(c.fluids[n][0], 2);
            moment -= Scaled(c.fluids[n][0], 2) * Scaled(c.fluids[n][1], 2);
        }
        const bool weighed = !c.scales.empty();
        if (!weighed) {
            ws.Set(Field::Empty, c.empty);
            ws.Set(Field::CG, c.cg);
            RebuildPreviousEmptyRow(ws, Field::CG);
            weight = Scaled(c.empty, 2);
            moment = weight * Scaled(c.cg, 2);
        }
        const long long weighedWeight = weight, weighedMoment = moment;
        for (size_t r = 0; r < c.changes.size(); ++r) {
            const auto& [w, a, in, out] = c.changes[r];
            Change(static_cast<int>(r) + 1, "Change", w, a, in, out);
            const long long m = Scaled(w, 2) * Scaled(a, 2);
            const int sign = (std::string(in) == "X") - (std::string(out) == "X");
            weight += sign * Scaled(w, 2);
            moment += sign * m;
        }
        Recalculate(ws);
        if (weighed) {
            EXPECT_EQ(ws.Get(Field::Empty), Written(weighedWeight, 2));
            EXPECT_EQ(ws.Get(Field::CG), Written(RoundedQuotient(weighedMoment, weighedWeight), 2));
            EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Weight), Written(weighedWeight, 2));
            EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment),
                      Written(RoundedQuotient(weighedMoment, 1000), 1));
        }
        EXPECT_EQ(ws.Get(Field::Text23), Written(weight, 2, false));
        EXPECT_EQ(ws.Get(Field::Text24), Written(RoundedQuotient(moment, weight), 2, false));
        EXPECT_EQ(ws.Get(Field::Text27), Written(RoundedQuotient(moment, 1000), 1, false));
    }
}

TEST_F(BalanceTest, ATypedRowInRowZeroMovesDownForThePreviousEmptyRow) {
    Change(0, "Typed row", "5", "10", "X", "");
    ws.grid(GridId::Grid1).Cell(0, installed::Description) = "Typed row";
    ws.grid(GridId::Grid1).Cell(0, installed::Weight) = "5";  // typed, not yet committed
    ws.edit(GridId::Grid1) = {0, installed::Weight};
    Change(29, "Last", "1", "1", "X", "");
    ws.Set(Field::Empty, "1200");
    // No room while the last row is in use: nothing moves, nothing is lost.
    EXPECT_FALSE(RebuildPreviousEmptyRow(ws, Field::Empty));
    EXPECT_EQ(ws.InstalledList().At(0, installed::Description).Text(), "Typed row");
    EXPECT_EQ(ws.InstalledList().At(29, installed::Description).Text(), "Last");
    Change(29, "", "", "", "", "");
    EXPECT_TRUE(RebuildPreviousEmptyRow(ws, Field::Empty));
    EXPECT_EQ(ws.InstalledList().At(1, installed::Description).Text(), "Typed row");
    EXPECT_EQ(Shown(GridId::Grid1, 1, installed::Weight), "5.00");  // the edit moved with its row
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Weight), "1200.0");
    EXPECT_EQ(ws.Get(Field::Text23), "1205.00");
    // Rebuilding again replaces row 0 in place.
    ws.Set(Field::CG, "35.5");
    RebuildPreviousEmptyRow(ws, Field::CG);
    EXPECT_EQ(ws.InstalledList().At(1, installed::Description).Text(), "Typed row");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment), "42600.0");
}

}  // namespace
}  // namespace wb
