// The printed record of a tail, read from the store with no window: the weight and balance
// record report, then the calculation report of every stored Worksheet of the tail, oldest
// first, each as its print button prints it once the Worksheet is loaded.
#pragma once

#include <string>
#include <vector>

#include "reports/ReportInput.h"
#include "store/Sqlite.h"
#include "worksheet/Dates.h"
#include "worksheet/Progress.h"

namespace wb {

struct RecordReports {
    // The record report: the tail's chain and audit trail under its latest Worksheet's header.
    ReportInput record;
    // One calculation report per stored Worksheet, oldest first.
    std::vector<ReportInput> worksheets;
};

// Reads the reports of `tail` from `db` (company header, report font and print options as
// stored, the shop's scales, signatures, loading data); `today` stands where a report or a
// load needs the date. Reports each Worksheet read on `progress` and stops when asked to
// (WorkCancelled). Throws what the store throws.
RecordReports ReadRecordReports(Database& db, const std::string& tail, CalendarDate today,
                                Progress& progress = NoProgress());

}  // namespace wb
