// The empty-weight C.G. range on paper and on screen: one chart drawn through the page port,
// so that the specifications panel and the calculation report show the same picture.
#pragma once

#include <string>
#include <vector>

#include "reports/Page.h"
#include "reports/ReportInput.h"
#include "reports/Sheets.h"
#include "worksheet/Limits.h"

namespace wb {

// An arm axis with a few ticks, the range between its two limits, and the previous and new
// empty C.G. marked; top-left corner at (left, top), `width` wide. Returns the height drawn.
// The page's font and pen are as they were afterwards.
double DrawEmptyCgChart(Page& page, const EmptyCgLimits& limits, double left, double top, double width);

// The height DrawEmptyCgChart takes.
double EmptyCgChartHeight();

// Where the new empty C.G. stands against the empty-weight range and, with a ballast arm typed,
// the ballast: the lines the calculation report prints above its chart. Empty when the range
// text holds no range or there is no new empty C.G.
std::vector<std::string> EmptyCgLines(const ReportInput& in);
// Those lines from (100, top) in `size` pt, the first in bold, on the next sheet where they
// would pass the foot of this one. Returns the y below them; `top` when there are none.
double PrintEmptyCgLines(SheetRun& run, const ReportInput& in, double top, double size);

// The calculation report's lines on the range: where the new empty C.G. stands, the ballast,
// and the chart. Drawn from `top` when they end above `bottom`, else from the top of the next
// sheet. Returns the y below them; `top` itself when the range text holds no range.
double PrintEmptyCgLimits(SheetRun& run, const ReportInput& in, double top, double bottom);

}  // namespace wb
