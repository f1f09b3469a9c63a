#include <gtest/gtest.h>

#include "worksheet/Worksheet.h"

namespace wb {
namespace {

void FillEverything(Worksheet& ws) {
    for (const FieldInfo& info : AllFields())
        ws.Set(info.field, std::string(info.control));
    for (GridId id : kAllGrids) {
        for (auto& c : ws.grid(id).cells)
            c = "x";
        for (auto& e : ws.store(id).entries)
            e = "1";
        ws.grid(id).row = 3;
        ws.grid(id).col = 2;
        ws.edit(id).EditCol = 2;
    }
}

TEST(ClearWorksheet, LeavesTheDefaultRowsAndNothingElse) {
    Worksheet ws;
    FillEverything(ws);
    ws.values.NewWeight = 5;
    ClearWorksheet(ws, false);

    const Grid& scaleGrid = ws.grid(GridId::Grid2);
    const Grid& fluidGrid = ws.grid(GridId::Grid4);
    const char* jacks[] = {"Right Main", "Left Main", "Nose", "", ""};
    const char* fluids[] = {"Forward Tanks", "Aft Tanks", "", "", ""};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(scaleGrid.Cell(r, scale::Dsc), jacks[r]);
        EXPECT_EQ(ws.ScaleRows().At(r, scale::Dsc).Text(), jacks[r]);
        EXPECT_EQ(fluidGrid.Cell(r, fluid::Dsc), fluids[r]);
        EXPECT_EQ(ws.FluidRows().At(r, fluid::Dsc).Text(), fluids[r]);
        for (int c = 1; c < scale::Count; ++c) {
            EXPECT_EQ(scaleGrid.Cell(r, c), "");
            EXPECT_TRUE(ws.ScaleRows().At(r, c).IsEmpty());
        }
        for (int c = 1; c < fluid::Count; ++c)
            EXPECT_TRUE(ws.FluidRows().At(r, c).IsEmpty());
    }
    for (GridId id : {GridId::Grid1, GridId::Grid3})
        for (int r = 0; r < ShapeOf(id).rows; ++r)
            for (int c = 0; c < ShapeOf(id).cols; ++c) {
                EXPECT_EQ(ws.grid(id).Cell(r, c), "");
                EXPECT_TRUE(ws.store(id).At(r, c).IsEmpty());
            }
    for (const FieldInfo& info : AllFields())
        EXPECT_EQ(ws.Get(info.field), "") << info.control;

    EXPECT_EQ(scaleGrid.row, 0);
    EXPECT_EQ(scaleGrid.col, 1);
    EXPECT_EQ(ws.grid(GridId::Grid1).col, 0);
    EXPECT_EQ(ws.edit(GridId::Grid2).EditCol, -1);
    EXPECT_EQ(ws.values.NewWeight, 5.0f);  // the computed values stay
    // Store rows beyond the shown ones are never touched by the clear.
    EXPECT_EQ(ws.InstalledList().At(30, 0).Text(), "1");
    EXPECT_EQ(ws.ScaleRows().At(5, 0).Text(), "1");
}

TEST(ClearWorksheet, AnArmedSearchKeepsTheCriteriaFields) {
    Worksheet ws;
    FillEverything(ws);
    ClearWorksheet(ws, true);
    for (Field kept : {Field::Tail, Field::Date, Field::Serial, Field::Make, Field::Model, Field::Year,
                       Field::By, Field::Cert, Field::Work})
        EXPECT_EQ(ws.Get(kept), InfoOf(kept).control);
    for (Field emptied : {Field::Empty, Field::CG, Field::MaxWt, Field::Tach, Field::Range1, Field::Range2,
                          Field::Range3, Field::Memo, Field::Text23, Field::Text24, Field::Text27})
        EXPECT_EQ(ws.Get(emptied), "");
}

}  // namespace
}  // namespace wb
