// The program's own editing of the four grids: the grid control never edits in place. Each
// function is one grid event; every programmatic move of the current cell commits like a
// move by the mechanic.
#pragma once

#include "worksheet/Ports.h"
#include "worksheet/Worksheet.h"

namespace wb {

inline constexpr int kEnterKey = 13;
inline constexpr int kBackspaceKey = 8;

// A character key (Enter, Backspace or a printable character, as a Unicode code point)
// typed while the grid has the focus.
void GridKey(Worksheet& ws, GridId grid, char32_t key, Dialogs& dialogs);

// The Delete key: removes the current row.
void GridDeleteKey(Worksheet& ws, GridId grid);

// A mouse click on the current cell (the press has already made it current).
void GridClick(Worksheet& ws, GridId grid, Dialogs& dialogs);

// The current cell moves to (row, col), by mouse, arrow key or program; a real change
// commits the row last edited.
void GridMoveCurrent(Worksheet& ws, GridId grid, int row, int col);

// The grid loses the keyboard focus: the current cell goes to row 0 and any pending edit
// is committed, wherever the current cell stood.
void GridFocusLeft(Worksheet& ws, GridId grid);

// Commits a pending edit of this grid: row moment, row redisplay, totals.
void CommitRow(Worksheet& ws, GridId grid);

}  // namespace wb
