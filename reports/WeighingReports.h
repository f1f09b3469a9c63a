// The weighing record on paper: the calculation report's weighing section, and the list of
// aircraft due for reweighing.
#pragma once

#include "reports/Page.h"
#include "reports/ReportInput.h"

namespace wb {

// The weighing section under the scale table from `top`: the lines of in.weighingLines, the
// warnings and a past due date in bold. Returns the y under it; `top` when there is none.
double PrintWeighingSection(Page& page, const ReportInput& in, double top);

// Every aircraft of in.dueList by next due date, continued on further sheets.
void PrintDueList(const ReportInput& in, Page& page);

}  // namespace wb
