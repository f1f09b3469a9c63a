// Several reports bound into one PDF/A-1b file, each starting on a sheet of its own: the
// printed record that travels with an aircraft, readable without this program for decades
// (every font embedded, the format named in the file's metadata).
#pragma once

#include <string>
#include <vector>

#include "reports/qt/PrintReport.h"

namespace wb {

struct BoundReport {
    ReportInput input;
    ReportWriter report;
};

// Writes the reports in order into `path` (Letter, as PrintToPdfFile). `title` goes into the
// document's metadata.
PrintOutcome PrintBoundPdf(const std::string& path, const std::vector<BoundReport>& reports,
                           const std::string& title, Progress& progress = NoProgress());

}  // namespace wb
