// The empty-weight C.G. range on paper and on screen: one chart drawn through the page port,
// so that the specifications panel and the calculation report show the same picture.
#pragma once

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

// The calculation report's lines on the range: where the new empty C.G. stands, the ballast,
// and the chart. Drawn from `top` when they end above `bottom`, else from the top of the next
// sheet. Returns the y below them; `top` itself when the range text holds no range.
double PrintEmptyCgLimits(SheetRun& run, const ReportInput& in, double top, double bottom);

}  // namespace wb
