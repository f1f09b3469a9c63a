// The arithmetic of the Worksheet: row moments, the weighed empty weight and arm, the
// previous-empty row and the new empty weight, arm and moment.
#pragma once

#include "worksheet/Worksheet.h"

namespace wb {

// Computes and stores the moment of one row of a grid's store, then shows the row again in
// the grid from its entries (the row redisplay of a committed row).
void CommitRowMoment(Worksheet& ws, GridId grid, int row);

// Shows a store row in its grid with the committed-row patterns, without recomputing.
void RedisplayRow(Worksheet& ws, GridId grid, int row);

// Sums the weighing and the equipment changes into the six values and the result boxes.
// After a weighing it also rewrites Empty, CG and the previous-empty row; a change typed into
// row 0 moves down first, and with the last row in use it stays and `FirstRowBlocked` is set.
void Recalculate(Worksheet& ws);

// Makes row 0 of the InstalledList free for the previous-empty row: a typed change there moves
// down a row. False, with nothing moved, when the last row is in use.
bool FreeFirstRow(Worksheet& ws);

// Shows store rows in their grids as a load shows them, each moment worked out afresh from
// its row's weight and arm: a change-list row (the previous-empty row with its marks "//////"),
// an equipment-list row (every number, an empty one as 0.00), rows 0 to 4 of the scale and
// fluid grids, and every row of the four grids (rows with nothing typed left empty).
void ShowChangeRow(Worksheet& ws, int row);
void ShowEquipmentRow(Worksheet& ws, int row);
void ShowScaleAndFluidRows(Worksheet& ws);
void ShowAllRows(Worksheet& ws);

// Builds row 0 of the InstalledList from the Empty and CG fields when one of them (the one
// named) loses the focus with text in it, then recalculates. A change typed into row 0 moves
// down a row; when the last row is in use there is no room, nothing changes and it says false.
bool RebuildPreviousEmptyRow(Worksheet& ws, Field leaving);

}  // namespace wb
