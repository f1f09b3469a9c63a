#include "worksheet/Balance.h"

#include <gtest/gtest.h>

#include <cfloat>

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
    void Fluid(int row, const char* weight, const char* arm) {
        ws.FluidRows().At(row, fluid::Wgt) = weight;
        ws.FluidRows().At(row, fluid::Arm) = arm;
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
    void TheWeighing() {
        Scale(0, "2.5", "612.5", "80");
        Scale(1, "2.5", "610", "80");
        Scale(2, "0", "290", "30");
    }
    std::string Shown(GridId g, int r, int c) { return ws.grid(g).Cell(r, c); }

    Worksheet ws;
};

TEST_F(BalanceTest, AWeighingGivesTheEmptyWeightArmAndMoment) {
    TheWeighing();
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::Empty), "1507.50");
    EXPECT_EQ(ws.Get(Field::CG), "70.38");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Description), "Previous A/C Empty");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Weight), "1507.50");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Arm), "70.38");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment), "106100.0");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Remove), "//////");
    EXPECT_EQ(ws.Get(Field::Text23), "1507.50");
    EXPECT_EQ(ws.Get(Field::Text24), "70.38");
    EXPECT_EQ(ws.Get(Field::Text27), "106100.0");
    // The previous-empty row holds the weighed numbers, not their rounded display.
    EXPECT_DOUBLE_EQ(ws.InstalledList().At(0, installed::Arm).Value(), 70.38142);
}

TEST_F(BalanceTest, FluidsAreTakenOffTheWeighing) {
    TheWeighing();
    Fluid(0, "30", "95");
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::CG), "69.88");
    EXPECT_EQ(ws.Get(Field::Text23), "1477.50");
}

TEST_F(BalanceTest, EquipmentInstalledAndRemovedFromATypedEmptyWeight) {
    ws.Set(Field::Empty, "1200");
    ws.Set(Field::CG, "35.5");
    RebuildPreviousEmptyRow(ws, Field::CG);
    Change(1, "Radio", "12", "40", "X", "");
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::Text23), "1212.00");
    EXPECT_EQ(ws.Get(Field::Text24), "35.54");
    EXPECT_EQ(ws.Get(Field::Text27), "43080.0");

    Change(1, "Radio", "12", "40", "", "X");
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::Text23), "1188.00");
    EXPECT_EQ(ws.Get(Field::Text24), "35.45");
    EXPECT_EQ(ws.Get(Field::Text27), "42120.0");
    // The typed values are not overwritten when there is no weighing.
    EXPECT_EQ(ws.Get(Field::Empty), "1200");
    EXPECT_EQ(ws.Get(Field::CG), "35.5");
}

TEST_F(BalanceTest, MarksAreExactAndCaseSensitive) {
    ws.Set(Field::Empty, "1200");
    ws.Set(Field::CG, "35.5");
    RebuildPreviousEmptyRow(ws, Field::Empty);
    Change(1, "Both", "12", "40", "X", "X");
    Change(2, "Lower", "50", "40", "x", "");
    Change(3, "Neither", "70", "40", "", "");
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::Text23), "1200.00");
    EXPECT_EQ(ws.Get(Field::Text24), "35.50");
}

TEST_F(BalanceTest, WeightsWithoutArmsAreNoWeighing) {
    Scale(0, "", "612.5", "");
    Scale(1, "", "610", "");
    ws.Set(Field::Empty, "1200");
    ws.Set(Field::CG, "35.5");
    RebuildPreviousEmptyRow(ws, Field::CG);
    EXPECT_EQ(ws.values.ScaleArm, 0.0f);
    EXPECT_EQ(ws.Get(Field::Empty), "1200");
    EXPECT_EQ(ws.Get(Field::Text23), "1200.00");
    EXPECT_EQ(ws.Get(Field::Text24), "35.50");
    EXPECT_EQ(ws.Get(Field::Text27), "42600.0");
}

TEST_F(BalanceTest, NothingEnteredShowsZeroResults) {
    Recalculate(ws);
    EXPECT_EQ(ws.values.NewWeight, 0.0f);
    EXPECT_EQ(ws.Get(Field::Text23), ".00");
    EXPECT_EQ(ws.Get(Field::Text24), ".00");
    EXPECT_EQ(ws.Get(Field::Text27), ".0");
}

TEST_F(BalanceTest, ANegativeMomentKeepsItsSign) {
    ws.Set(Field::Empty, "1000");
    ws.Set(Field::CG, "-10");
    RebuildPreviousEmptyRow(ws, Field::CG);
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment), "-10000.0");
    EXPECT_EQ(ws.Get(Field::Text24), "-10.00");
    EXPECT_EQ(ws.Get(Field::Text27), "-10000.0");
}

TEST_F(BalanceTest, RowMomentsAndTheirRedisplayPerGrid) {
    Scale(0, "2.5", "612.5", "80");
    CommitRowMoment(ws, GridId::Grid2, 0);
    EXPECT_EQ(Shown(GridId::Grid2, 0, scale::Tar), "2.5");  // the tare as typed
    EXPECT_EQ(Shown(GridId::Grid2, 0, scale::Wgt), "612.50");
    EXPECT_EQ(Shown(GridId::Grid2, 0, scale::Mom), "48800.0");

    Fluid(1, "12.5", "-0.04");
    CommitRowMoment(ws, GridId::Grid4, 1);
    EXPECT_EQ(Shown(GridId::Grid4, 1, fluid::Mom), "-.5");

    // An empty weight stays empty in the change list but shows 0.00 in the equipment list.
    Change(4, "Strobe", "", "40", "", "");
    CommitRowMoment(ws, GridId::Grid1, 4);
    EXPECT_EQ(Shown(GridId::Grid1, 4, installed::Weight), "");
    EXPECT_EQ(Shown(GridId::Grid1, 4, installed::Moment), ".0");
    ws.EquipmentList().At(7, equipment::Description) = "Strobe";
    ws.EquipmentList().At(7, equipment::Arm) = "40";
    CommitRowMoment(ws, GridId::Grid3, 7);
    EXPECT_EQ(Shown(GridId::Grid3, 7, equipment::Weight), "0.00");
    // A lone space stores the number 0 and shows 0.00 once committed.
    ws.EquipmentList().At(8, equipment::Weight) = Entry::Number(0);
    ws.InstalledList().At(8, installed::Weight) = Entry::Number(0);
    CommitRowMoment(ws, GridId::Grid1, 8);
    EXPECT_EQ(Shown(GridId::Grid1, 8, installed::Weight), "0.00");
}

TEST_F(BalanceTest, LeavingAnEmptyFieldChangesNothing) {
    Change(0, "Typed row", "5", "10", "X", "");
    RebuildPreviousEmptyRow(ws, Field::Empty);
    EXPECT_EQ(ws.InstalledList().At(0, installed::Description).Text(), "Typed row");
    EXPECT_EQ(ws.Get(Field::Text23), "");
}

TEST_F(BalanceTest, ATypedRowInRowZeroMovesDownForThePreviousEmptyRow) {
    Change(0, "Typed row", "5", "10", "X", "");
    ws.grid(GridId::Grid1).Cell(0, installed::Description) = "Typed row";
    ws.grid(GridId::Grid1).Cell(0, installed::Weight) = "5";  // typed, not yet committed
    ws.edit(GridId::Grid1) = {0, installed::Weight};
    Change(29, "Last", "1", "1", "X", "");
    ws.Set(Field::Serial, "17265432");
    ws.Set(Field::Empty, "1200");
    RebuildPreviousEmptyRow(ws, Field::Empty);
    EXPECT_EQ(ws.InstalledList().At(1, installed::Description).Text(), "Typed row");
    EXPECT_EQ(Shown(GridId::Grid1, 1, installed::Description), "Typed row");
    EXPECT_EQ(Shown(GridId::Grid1, 1, installed::Weight), "5.00");  // the edit moved with its row
    EXPECT_EQ(Shown(GridId::Grid1, 1, installed::Moment), "50.0");
    EXPECT_EQ(ws.edit(GridId::Grid1).EditCol, -1);
    EXPECT_EQ(ws.InstalledList().At(29, installed::Description).Text(), "");  // row 28 was empty
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Description), "Previous A/C Empty");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Serial), "17265432");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Weight), "1200.0");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Arm), "");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment), "0.0");
    EXPECT_EQ(ws.Get(Field::Text23), "1205.00");
    // Rebuilding again replaces row 0 in place.
    ws.Set(Field::CG, "35.5");
    RebuildPreviousEmptyRow(ws, Field::CG);
    EXPECT_EQ(ws.InstalledList().At(1, installed::Description).Text(), "Typed row");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Arm), "35.50");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Moment), "42600.0");
}

TEST_F(BalanceTest, AWeighingOverridesTheTypedPreviousEmptyValues) {
    ws.Set(Field::Empty, "1200");
    ws.Set(Field::CG, "35.5");
    TheWeighing();
    RebuildPreviousEmptyRow(ws, Field::CG);
    EXPECT_EQ(ws.Get(Field::Empty), "1507.50");
    EXPECT_EQ(ws.Get(Field::CG), "70.38");
    EXPECT_EQ(Shown(GridId::Grid1, 0, installed::Weight), "1507.50");
}

TEST_F(BalanceTest, ComputationWritesCountAsFieldChanges) {
    std::vector<Field> changed;
    ws.onFieldChanged = [&](Field f) { changed.push_back(f); };
    TheWeighing();
    Recalculate(ws);
    EXPECT_NE(std::find(changed.begin(), changed.end(), Field::Empty), changed.end());
    EXPECT_NE(std::find(changed.begin(), changed.end(), Field::CG), changed.end());
    changed.clear();
    Recalculate(ws);  // same results: no change
    EXPECT_TRUE(changed.empty());
}

TEST_F(BalanceTest, ValuesBeyondSinglePrecisionNeverShowGarbage) {
    Scale(0, "", "1e38", "1e38");
    Recalculate(ws);
    EXPECT_EQ(ws.Get(Field::Text27), "Overflow");
    EXPECT_EQ(ws.Get(Field::Text24), "Overflow");
}

}  // namespace
}  // namespace wb
