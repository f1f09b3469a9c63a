// The three printed reports. Each draws one document on the page from the input alone and
// ends the document; the notes may take further sheets.
#pragma once

#include "reports/Page.h"
#include "reports/ReportInput.h"

namespace wb {

// The weighing with the scale and fluid rows, the new values and the equipment list; with
// loading data, the loading check on a sheet of its own after them (reports/LoadingCheck.h).
void PrintCalculationReport(const ReportInput& in, Page& page);
// The equipment changes, removed rows first, on a full page.
void PrintFullChangeReport(const ReportInput& in, Page& page);
// The same content in 8 pt on the top half of the page, installed rows first.
void PrintCompactChangeReport(const ReportInput& in, Page& page);
// The tail's chain of Worksheets, one line each with what it supersedes, breaks and superseded
// versions marked, and the change since the last weighing; continued on further sheets.
void PrintRecordReport(const ReportInput& in, Page& page);

}  // namespace wb
