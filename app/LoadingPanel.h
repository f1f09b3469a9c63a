// The loading panel, opened from the specifications panel: the aircraft's loading stations
// and C.G. envelope typed in grids of their own, the fuel, oil and occupant boxes, and, worked
// from them and the new empty weight and C.G., the two extreme-condition checks, the loading
// schedule and the chart. What the panel shows of a grid is decided here; the window draws it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "worksheet/Loading.h"

namespace wb {

enum class LoadingGrid { Stations, Normal, Utility };

// Rows and columns of a grid, and its column headings with the unit words.
int LoadingGridRows(LoadingGrid grid);
int LoadingGridColumns(LoadingGrid grid);
std::vector<std::string> LoadingHeadings(LoadingGrid grid, UnitSystem units);
// The caption of a box, with its unit words; and what an empty box stands for ("6": the
// default fuel weight), empty where nothing is assumed.
std::string LoadingBoxCaption(LoadingBox box, UnitSystem units);
std::string LoadingBoxDefault(LoadingBox box, UnitSystem units);

// The cell of a grid as typed.
std::string& LoadingCell(LoadingTexts& texts, LoadingGrid grid, int row, int col);
const std::string& LoadingCell(const LoadingTexts& texts, LoadingGrid grid, int row, int col);
// The cell as the panel shows it: a number through the weight-and-arm display pattern
// ("16" as "16.00"), a count of seats as a whole number, other text as typed.
std::string LoadingCellShown(const LoadingTexts& texts, LoadingGrid grid, int row, int col);

// Most characters a cell or box keeps: a station's name as an equipment description, a
// number as a number box.
int LoadingCellLimit(LoadingGrid grid, int col);
inline constexpr int kLoadingBoxLimit = 12;

}  // namespace wb
