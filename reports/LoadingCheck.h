// Can it still be loaded, on paper and on screen: the chart of weight against C.G. with the
// envelope, the two extreme conditions and the loading schedule's cases, drawn once through
// the page port so that the loading panel and the calculation report show the same picture;
// and the calculation report's "Loading check" sheet.
#pragma once

#include "reports/Page.h"
#include "reports/ReportInput.h"
#include "reports/Sheets.h"
#include "worksheet/Loading.h"

namespace wb {

// The unit system the report's loading figures are worked in (pound and inch until the
// Worksheet carries one).
UnitSystem LoadingUnits(const ReportInput& in);
LoadingEvaluation EvaluateLoading(const ReportInput& in);

// The chart in the box from (left, top), `width` by `height` twips: the frame with the weights
// up its left side and the arms along its foot, the normal envelope heavy and the utility
// envelope dashed, the maximum weight dotted, each loading a mark of its own, and under the
// frame the legend. Nothing is printed inside the frame but lines, so no text can meet an
// edge of the envelope. The page's font and pen are as they were afterwards. Nothing is drawn
// without an envelope.
void DrawLoadingChart(Page& page, const LoadingEvaluation& e, double left, double top, double width,
                      double height);

// The smallest height the chart is drawn in.
inline constexpr double kLoadingChartMinHeight = 3600;

// The calculation report's loading check: a sheet of its own after the others, numbered with
// them, with the two extreme-condition tables, the loading schedule and the chart (continued
// on a further sheet where they do not fit). Nothing without loading data.
void PrintLoadingCheck(SheetRun& run, const ReportInput& in);

}  // namespace wb
