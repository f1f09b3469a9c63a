#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
    const std::set<Field> criteria{Field::Tail, Field::Date, Field::Serial, Field::Make, Field::Model,
                                   Field::Year, Field::By,   Field::Cert,   Field::Work};
    for (const FieldInfo& info : AllFields())
        EXPECT_EQ(ws.Get(info.field), criteria.count(info.field) ? info.control : "") << info.control;

    // A filled Worksheet cleared is a never-filled one cleared, but the computed values stay.
    Worksheet fresh;
    ClearWorksheet(fresh, false);
    FillEverything(ws);
    ws.values.NewWeight = 5;
    ClearWorksheet(ws, false);
    for (GridId id : kAllGrids) {
        EXPECT_EQ(ws.grid(id).cells, fresh.grid(id).cells) << ShapeOf(id).name;
        const auto shown = static_cast<ptrdiff_t>(ShapeOf(id).rows * ShapeOf(id).cols);  // beyond: spare room
        EXPECT_TRUE(std::equal(ws.store(id).entries.begin(), ws.store(id).entries.begin() + shown,
                               fresh.store(id).entries.begin()))
            << ShapeOf(id).name;
    }
    for (const FieldInfo& info : AllFields())
        EXPECT_EQ(ws.Get(info.field), "") << info.control;
    EXPECT_EQ(ws.grid(GridId::Grid2).Cell(2, 0), "Nose");
    EXPECT_EQ(ws.values.NewWeight, 5.0f);
}

}  // namespace
}  // namespace wb
