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
    }
}

TEST(ClearWorksheet, LeavesTheDefaultRowsAndAnArmedSearchKeepsTheCriteria) {
    Worksheet ws;
    FillEverything(ws);
    ClearWorksheet(ws, true);
    for (const FieldInfo& info : AllFields()) {
        const bool criterion =
            info.field == Field::Tail || info.field == Field::Date || info.field == Field::Serial ||
            info.field == Field::Make || info.field == Field::Model || info.field == Field::Year ||
            info.field == Field::By || info.field == Field::Cert || info.field == Field::Work;
        EXPECT_EQ(ws.Get(info.field), criterion ? info.control : "") << info.control;
    }

    FillEverything(ws);
    ws.values.NewWeight = 5;
    ClearWorksheet(ws, false);
    const char* jacks[] = {"Right Main", "Left Main", "Nose", "", ""};
    const char* fluids[] = {"Forward Tanks", "Aft Tanks", "", "", ""};
    for (GridId id : kAllGrids)
        for (int r = 0; r < ShapeOf(id).rows; ++r)
            for (int c = 0; c < ShapeOf(id).cols; ++c) {
                const char* want = c > 0                 ? ""
                                   : id == GridId::Grid2 ? jacks[r]
                                   : id == GridId::Grid4 ? fluids[r]
                                                         : "";
                EXPECT_EQ(ws.grid(id).Cell(r, c), want) << ShapeOf(id).name << r << "," << c;
                const Entry& stored = ws.store(id).At(r, c);
                EXPECT_TRUE(*want ? stored.Text() == want : stored.IsEmpty())
                    << ShapeOf(id).name << r << "," << c;
            }
    for (const FieldInfo& info : AllFields())
        EXPECT_EQ(ws.Get(info.field), "") << info.control;
    EXPECT_EQ(ws.values.NewWeight, 5.0f);  // the computed values stay
}

}  // namespace
}  // namespace wb
