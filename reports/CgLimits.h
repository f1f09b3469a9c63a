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

// Where the new empty C.G. stands against the empty-weight range (with it in % MAC where a
// chord is typed) and, with a ballast arm typed, the ballast: the lines the calculation report
// prints above its chart. Empty when the range
// text holds no range or there is no new empty C.G.
std::vector<std::string> EmptyCgLines(const ReportInput& in);
// Those lines from (100, top) in `size` pt, the first in bold, on the next sheet where they
// would pass the foot of this one. Returns the y below them; `top` when there are none.
double PrintEmptyCgLines(SheetRun& run, const ReportInput& in, double top, double size);

// Where the new empty C.G. stands on the mean aerodynamic chord, when a LEMAC and a MAC are
// typed: "New A/C Empty C.G. +680.27 in = 40.65 % MAC, with LEMAC +625.60 in and MAC 134.50
// in". Empty otherwise.
std::string MacLine(const ReportInput& in);

// The calculation report's lines on the C.G.: where it stands on the chord (MacLine), where it
// stands against the range, the ballast, and the chart. Drawn from `top` when they end above
// `bottom`, else from the top of the next sheet. Returns the y below them; `top` itself when
// there is neither a chord nor a range.
double PrintEmptyCgLimits(SheetRun& run, const ReportInput& in, double top, double bottom);

}  // namespace wb
