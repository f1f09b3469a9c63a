// The equipment list of an aircraft's latest stored Worksheet, brought into a new one.
#pragma once

#include <optional>
#include <string_view>

#include "store/Sqlite.h"
#include "worksheet/UnitSystem.h"
#include "worksheet/Worksheet.h"

namespace wb {

// The unit system of the tail's last stored Worksheet (the latest date, the last stored of
// that date); nothing when none is stored.
std::optional<UnitSystem> LatestUnits(Database& db, std::string_view tail);

// Copies the equipment-list rows of the latest stored Worksheet of `tail` into EquipmentList
// rows 0 onward (stores and grid), and returns how many were copied. Rows marked installed
// or removed, change-list rows and the previous-empty row are never copied. Rows of a
// Worksheet in another unit system than `ws` are converted into its system with the exact
// factors (worksheet/Convert.h); a figure that cannot be is copied as typed.
int CopyLatestEquipmentList(Database& db, Worksheet& ws, std::string_view tail);

// Scale rows back to "Right Main", "Left Main", "Nose" and fluid rows to "Forward Tanks",
// "Aft Tanks", every number empty; both grids rewritten from them.
void ResetScaleAndFluidRows(Worksheet& ws);

}  // namespace wb
