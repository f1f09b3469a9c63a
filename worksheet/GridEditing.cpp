#include "worksheet/GridEditing.h"

#include <algorithm>
#include <array>

#include "worksheet/Balance.h"
#include "worksheet/Decimal.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

constexpr std::string_view kNotEditableTitle = "This field not editable";
constexpr std::string_view kNotEditableText = "Press OK to Continue";

bool Contains(const std::vector<int>& v, int x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

// Keeps the current row in view; the Enter moves scroll further by their own rule.
void KeepVisible(Grid& g, const GridShape& shape) {
    if (g.row < g.topRow) g.topRow = g.row;
    if (g.row >= g.topRow + shape.visibleRows) g.topRow = g.row - shape.visibleRows + 1;
    g.topRow = std::clamp(g.topRow, 0, std::max(0, g.rows - shape.visibleRows));
}

// Where Enter in column c leads: the next column, or -1 for no move; the columns marked with
// a row step go on in the next row.
struct EnterStep {
    int col = -1;
    bool nextRow = false;
};
using EnterRow = std::array<EnterStep, 7>;
constexpr EnterRow kGrid1Enter = {{{1}, {2}, {3}, {5}, {}, {6}, {0, true}}};
constexpr EnterRow kGrid2Enter = {{{1}, {2}, {3}, {1, true}, {}}};
constexpr EnterRow kGrid3Enter = {{{1}, {2}, {3}, {0, true}, {}}};
constexpr EnterRow kGrid4Enter = {{{1}, {2}, {1, true}, {}}};

EnterStep EnterMove(GridId id, int c) {
    static constexpr std::array<const EnterRow*, 4> kTables = {&kGrid1Enter, &kGrid2Enter, &kGrid3Enter,
                                                               &kGrid4Enter};
    return (*kTables[static_cast<size_t>(id)])[static_cast<size_t>(c)];
}

void RefuseComputedColumn(Dialogs& dialogs) {
    dialogs.Notice(kNotEditableTitle, kNotEditableText, Icon::Information);
}

// Nothing typed is left in the row (a refused entry, or one erased again).
bool NothingTyped(const Worksheet& ws, GridId id, int r) {
    const RowStore& s = ws.store(id);
    for (int c = 0; c < s.cols; ++c)
        if (c != ShapeOf(id).computedCol && !s.At(r, c).IsEmpty()) return false;
    return true;
}

// Whether a cell shows the stored figure, rounded to the cell's decimals: then the figure, not
// the cell, is what the row holds.
bool ShowsStored(const std::string& cell, const Entry& stored) {
    if (stored.IsEmpty() || cell == stored.Text()) return !stored.IsEmpty();
    if (!NumericText(cell) || !NumericText(stored.Text())) return false;
    const size_t point = cell.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(cell.size() - point - 1);
    return (Decimal::Read(stored.Text()).Rounded(decimals) - Decimal::Read(cell)).IsZero();
}

}  // namespace

void CommitRow(Worksheet& ws, GridId id) {
    EditState& edit = ws.edit(id);
    if (edit.EditCol >= 0 && Contains(ShapeOf(id).inputCols, edit.EditCol)) {
        CommitRowMoment(ws, id, edit.EditRow);
        // An empty row shows no moment: a bare ".0" there reads as something typed.
        if (NothingTyped(ws, id, edit.EditRow)) {
            ws.store(id).At(edit.EditRow, ShapeOf(id).computedCol) = Entry();
            RedisplayRow(ws, id, edit.EditRow);
        }
        edit.EditCol = -1;
        if (id != GridId::Grid3) Recalculate(ws);
    }
    ws.TypingStarted = false;
}

void GridMoveCurrent(Worksheet& ws, GridId id, int row, int col) {
    Grid& g = ws.grid(id);
    row = std::clamp(row, 0, g.rows - 1);
    col = std::clamp(col, 0, g.cols - 1);
    if (row == g.row && col == g.col) return;
    g.row = row;
    g.col = col;
    KeepVisible(g, ShapeOf(id));
    CommitRow(ws, id);
}

void GridKey(Worksheet& ws, GridId id, char32_t key, Dialogs& dialogs) {
    const GridShape& shape = ShapeOf(id);
    Grid& g = ws.grid(id);
    const int r = g.row;
    const int c = g.col;
    EditState& edit = ws.edit(id);
    edit.EditRow = r;
    edit.EditCol = c;

    if (key == kEnterKey) {
        const EnterStep move = EnterMove(id, c);
        if (move.col < 0) return;
        int next = r;
        if (move.nextRow && r + 1 < g.rows) next = r + 1;
        GridMoveCurrent(ws, id, next, move.col);
        if (id == GridId::Grid1 && g.row >= 18) g.topRow = g.row - 17;
        if (id == GridId::Grid3 && g.row >= 5) g.topRow = g.row - 4;
        return;
    }

    if (c == shape.computedCol) {
        // The key is refused: the computed cell keeps what it shows.
        RefuseComputedColumn(dialogs);
        GridMoveCurrent(ws, id, r, id == GridId::Grid1 ? installed::Install : 0);
        return;
    }

    std::string& cell = g.Cell(r, c);
    if (key == kBackspaceKey) {
        RemoveLastChar(cell);
    } else if (ws.TypingStarted) {
        AppendUtf8(cell, key);
    } else {
        ws.TypingStarted = true;
        cell.clear();
        AppendUtf8(cell, key);
    }

    Entry& entry = ws.store(id).At(r, c);
    if (Contains(shape.textCols, c)) {
        entry = cell;
    } else if (Contains(shape.numericCols, c)) {
        entry = cell;
        if (cell == " ") entry = Entry::Number(0);
        if (cell != " " && cell != "-" && !NumericText(entry.Text())) {
            cell.clear();
            entry = Entry();
            dialogs.Notice("Entry must be numeric", "Please re-enter value", Icon::Information);
        }
    } else if (Contains(shape.markCols, c)) {
        cell = (cell == "x" || cell == "X" || cell == "y" || cell == "Y") ? "X" : "";
        entry = cell;
        Recalculate(ws);
    }
}

void GridDeleteKey(Worksheet& ws, GridId id) {
    Grid& g = ws.grid(id);
    RowStore& s = ws.store(id);
    const int r = g.row;
    if (id == GridId::Grid1) {
        if (r <= 0) return;  // the previous-empty row stays
        // The rows below move up and are read back from their cells; a cell that shows its
        // stored figure keeps the figure, so that one kept at full precision (a conversion's)
        // is not rounded to its cell by a delete above it.
        for (int row = r; row < g.rows - 1; ++row)
            for (int c = 0; c < g.cols; ++c) {
                g.Cell(row, c) = g.Cell(row + 1, c);
                s.At(row, c) =
                    ShowsStored(g.Cell(row, c), s.At(row + 1, c)) ? s.At(row + 1, c) : Entry(g.Cell(row, c));
            }
        for (int c = 0; c < g.cols; ++c) {
            g.Cell(g.rows - 1, c).clear();
            s.At(g.rows - 1, c) = Entry();
        }
        Recalculate(ws);
        return;
    }
    for (int row = r; row < g.rows - 1; ++row)
        for (int c = 0; c < g.cols; ++c) {
            g.Cell(row, c) = g.Cell(row + 1, c);
            s.At(row, c) = s.At(row + 1, c);
        }
    for (int c = 0; c < g.cols; ++c) {
        g.Cell(g.rows - 1, c).clear();
        s.At(g.rows - 1, c) = Entry();
    }
    if (id == GridId::Grid2 || id == GridId::Grid4) Recalculate(ws);
}

void GridClick(Worksheet& ws, GridId id, Dialogs& dialogs) {
    Grid& g = ws.grid(id);
    if (g.col != ShapeOf(id).computedCol) return;  // the selection is just the current cell
    RefuseComputedColumn(dialogs);
    int col = 0;
    switch (id) {
        case GridId::Grid1:
            col = installed::Install;
            break;
        case GridId::Grid2:
            col = scale::Arm;
            break;
        case GridId::Grid3:
            col = equipment::Arm;
            break;
        case GridId::Grid4:
            col = fluid::Wgt;
            break;
    }
    GridMoveCurrent(ws, id, g.row, col);
}

void GridFocusLeft(Worksheet& ws, GridId id) {
    GridMoveCurrent(ws, id, 0, ws.grid(id).col);
    // A current cell already in row 0 does not move, yet its edit must land all the same:
    // otherwise the totals, the reports and the saved row disagree with the cells.
    CommitRow(ws, id);
}

}  // namespace wb
