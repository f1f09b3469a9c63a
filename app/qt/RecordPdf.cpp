#include "app/qt/RecordPdf.h"

#include <stdexcept>

#include "app/RecordPrint.h"
#include "reports/Reports.h"
#include "reports/qt/BoundPdf.h"

namespace wb::gui {

void WriteRecordPdf(Database& db, const std::string& tail, const std::filesystem::path& pdf,
                    Progress& progress, CalendarDate today) {
    RecordReports read = ReadRecordReports(db, tail, today, progress);
    const std::string title = read.record.history.tail + " weight and balance record";
    std::vector<BoundReport> bound;
    bound.reserve(read.worksheets.size() + 1);
    bound.push_back({std::move(read.record), PrintRecordReport});
    for (ReportInput& in : read.worksheets)
        bound.push_back({std::move(in), PrintCalculationReport});
    const PrintOutcome outcome = PrintBoundPdf(pdf.string(), bound, title, progress);
    if (outcome.status == PrintOutcome::Cancelled) throw WorkCancelled();
    if (!outcome.ok()) throw std::runtime_error(outcome.message);
}

}  // namespace wb::gui
