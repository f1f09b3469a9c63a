#include "worksheet/Balance.h"

#include <gtest/gtest.h>

#include <array>

namespace wb {
namespace {

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
