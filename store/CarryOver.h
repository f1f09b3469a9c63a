// The equipment list of an aircraft's latest stored Worksheet, brought into a new one.
#pragma once

#include <string_view>

#include "store/Sqlite.h"
#include "worksheet/Worksheet.h"

namespace wb {

// Copies the equipment-list rows of the latest stored Worksheet of `tail` into EquipmentList
// rows 0 onward (stores and grid), and returns how many were copied. Rows marked installed
// or removed, change-list rows and the previous-empty row are never copied.
int CopyLatestEquipmentList(Database& db, Worksheet& ws, std::string_view tail);

// Scale rows back to "Right Main", "Left Main", "Nose" and fluid rows to "Forward Tanks",
// "Aft Tanks", every number empty; both grids rewritten from them.
void ResetScaleAndFluidRows(Worksheet& ws);

}  // namespace wb
