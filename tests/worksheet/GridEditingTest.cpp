#include "worksheet/GridEditing.h"

#include <gtest/gtest.h>

#include "tests/support/ScriptedDialogs.h"

namespace wb {
namespace {

using test::ScriptedDialogs;

class GridEditing : public ::testing::Test {
  protected:
    GridEditing() { ClearWorksheet(ws, false); }

    void Type(GridId g, std::u32string keys) {
        for (char32_t k : keys)
            GridKey(ws, g, k, dialogs);
    }
    void Enter(GridId g) { GridKey(ws, g, kEnterKey, dialogs); }
    const std::string& Cell(GridId g, int r, int c) { return ws.grid(g).Cell(r, c); }
    const Entry& Store(GridId g, int r, int c) { return ws.store(g).At(r, c); }
    void At(GridId g, int r, int c) { GridMoveCurrent(ws, g, r, c); }

    Worksheet ws;
    ScriptedDialogs dialogs;
};

// Each key is checked: no number empties the cell with a message; marks toggle.
TEST_F(GridEditing, KeysTypedIntoCells) {
    struct Case {
        GridId grid;
        int col;
        const char* before;
        std::u32string keys;
        const char* cell;
        const char* stored;
        bool refused;
    };
    const Case cases[] = {
        {GridId::Grid2, scale::Wgt, "", U"7\b", "", "", true},          // a Backspace to empty
        {GridId::Grid2, scale::Wgt, "", U"1,234", "234", "234", true},  // never 1234 shown, 1 computed
        {GridId::Grid1, installed::Arm, "", U"-", "-", "-", false},     // a lone minus while typing
        {GridId::Grid1, installed::Description, "", U"Kompa\u00DF\b", "Kompa", "Kompa", false},
        {GridId::Grid3, equipment::Weight, "123", U"\b55", "55", "55", false},
        {GridId::Grid1, installed::Install, "", U"x", "X", "X", false},  // a mark column takes X or Y
        {GridId::Grid1, installed::Install, "", U"xx", "", "", false},   // the same mark again clears it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(ShapeOf(c.grid).name) + " " + c.cell);
        ClearWorksheet(ws, false);
        dialogs.Clear();
        ws.grid(c.grid).Cell(1, c.col) = c.before;
        At(c.grid, 1, c.col);
        Type(c.grid, c.keys);
        EXPECT_EQ(Cell(c.grid, 1, c.col), c.cell);
        EXPECT_EQ(Store(c.grid, 1, c.col).Text(), c.stored);
        const std::vector<test::Shown> told{
            {test::Shown::Notice, "Entry must be numeric", "Please re-enter value", Icon::Information}};
        EXPECT_EQ(dialogs.shown, c.refused ? told : std::vector<test::Shown>{});
    }
}

// A row left empty by its edit shows no moment once committed; a row with anything in it shows
// the moment through its pattern, an empty weight's ".0" included.
TEST_F(GridEditing, OnlyARowWithSomethingInItShowsAMoment) {
    struct Case {
        GridId grid;
        int col;
        std::u32string keys;
        const char* moment;
    };
    const Case cases[] = {
        {GridId::Grid1, installed::Weight, U"a", ""},  // "Entry must be numeric" empties it
        {GridId::Grid1, installed::Arm, U"5\b", ""},
        {GridId::Grid1, installed::Weight, U"12", ".0"},  // no arm yet
        {GridId::Grid2, scale::Wgt, U"x", ".0"},          // the jack location stays in the row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(ShapeOf(c.grid).name) + " " + std::to_string(c.col));
        ClearWorksheet(ws, false);
        At(c.grid, 1, c.col);
        Type(c.grid, c.keys);
        At(c.grid, 2, c.col);
        EXPECT_EQ(Cell(c.grid, 1, ShapeOf(c.grid).computedCol), c.moment);
    }
}

TEST_F(GridEditing, EnterMovesFollowTheTable) {
    struct EnterCase {
        GridId grid;
        int row, col, toRow, toCol;
    };
    const EnterCase cases[] = {
        {GridId::Grid1, 0, 3, 0, 5},   {GridId::Grid1, 0, 4, 0, 4}, {GridId::Grid1, 0, 6, 1, 0},
        {GridId::Grid1, 29, 6, 29, 0}, {GridId::Grid2, 1, 3, 2, 1}, {GridId::Grid4, 0, 2, 1, 1},
        {GridId::Grid3, 99, 3, 99, 0},
    };
    for (const EnterCase& c : cases) {
        ws.grid(c.grid).row = c.row;
        ws.grid(c.grid).col = c.col;
        Enter(c.grid);
        EXPECT_EQ(ws.grid(c.grid).row, c.toRow) << ShapeOf(c.grid).name << " " << c.row << "," << c.col;
        EXPECT_EQ(ws.grid(c.grid).col, c.toCol) << ShapeOf(c.grid).name << " " << c.row << "," << c.col;
    }
}

// Leaving a row commits it, typed into or not; the equipment list never touches the totals.
TEST_F(GridEditing, ARowIsCommittedWhenTheCurrentCellMoves) {
    ws.ScaleRows().At(0, scale::Wgt) = "612.5";
    ws.ScaleRows().At(0, scale::Arm) = "80";
    At(GridId::Grid2, 0, scale::Tar);
    Type(GridId::Grid2, U"2.5");
    EXPECT_EQ(Cell(GridId::Grid2, 0, scale::Mom), "");  // nothing computed yet
    At(GridId::Grid2, 3, scale::Wgt);
    At(GridId::Grid3, 0, equipment::Weight);
    Type(GridId::Grid3, U"12");
    Enter(GridId::Grid3);
    Type(GridId::Grid3, U"40");
    Enter(GridId::Grid3);
    EXPECT_EQ(Cell(GridId::Grid2, 0, scale::Mom), "48800.0");
    EXPECT_EQ(Cell(GridId::Grid3, 0, equipment::Moment), "480.0");
    EXPECT_EQ(ws.Get(Field::Text23), "610.00");
}

// Delete moves the rows below up and recomputes; the previous-empty row 0 stays.
TEST_F(GridEditing, DeleteMovesTheRowsBelowUp) {
    for (int r = 0; r < 30; ++r) {
        ws.grid(GridId::Grid1).Cell(r, 0) = "row " + std::to_string(r);
        ws.InstalledList().At(r, 0) = "row " + std::to_string(r);
    }
    At(GridId::Grid1, 0, 0);
    GridDeleteKey(ws, GridId::Grid1);
    EXPECT_EQ(Cell(GridId::Grid1, 0, 0), "row 0");

    At(GridId::Grid1, 3, 0);
    ws.grid(GridId::Grid1).Cell(4, installed::Weight) = "12.00";
    GridDeleteKey(ws, GridId::Grid1);
    EXPECT_EQ(Cell(GridId::Grid1, 3, 0), "row 4");
    EXPECT_EQ(Store(GridId::Grid1, 3, installed::Weight).Text(), "12.00");  // read back from the cells
    EXPECT_EQ(Cell(GridId::Grid1, 28, 0), "row 29");
    EXPECT_TRUE(Store(GridId::Grid1, 29, 0).IsEmpty());

    ws.ScaleRows().At(0, scale::Wgt) = "100";
    ws.ScaleRows().At(0, scale::Arm) = "10";
    ws.ScaleRows().At(1, scale::Wgt) = "200";
    ws.ScaleRows().At(1, scale::Arm) = "20";
    At(GridId::Grid2, 0, scale::Wgt);
    GridDeleteKey(ws, GridId::Grid2);
    EXPECT_EQ(Store(GridId::Grid2, 0, scale::Dsc).Text(), "Left Main");
    EXPECT_EQ(ws.Get(Field::Text23), "200.00");
}

}  // namespace
}  // namespace wb
