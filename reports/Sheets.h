// The sheets of one report. A report is drawn twice: once on a page that only measures, to
// count its sheets, then on the real page, so that each sheet of a report that needs more
// than one can carry the tail number, the date and "Page n of m".
#pragma once

#include "reports/Page.h"
#include "reports/ReportInput.h"

namespace wb {

class SheetRun {
  public:
    // total: the number of sheets the report takes, 0 while it is being counted.
    SheetRun(Page& page, const ReportInput& in, int total) : page_(page), in_(in), total_(total) {}

    Page& page() { return page_; }
    int Sheet() const { return sheet_; }  // counted from 1

    // The lowest y the body may reach on any sheet: the foot stays free for the sheet stamp.
    double Bottom() const;
    // Where the body goes on on a fresh sheet.
    double ContinuationTop() const { return page_.PrintableTop() + kContinuationTop; }

    // Stamps this sheet and starts the next one.
    void Next();
    // Stamps the last sheet and ends the document.
    void Finish();

    static constexpr double kContinuationTop = 2000;

  private:
    void Stamp();

    Page& page_;
    const ReportInput& in_;
    int total_;
    int sheet_ = 1;
};

using ReportBody = void (*)(const ReportInput&, SheetRun&);

// Counts the sheets of body on a measuring copy of page, then draws it on page.
void PrintInSheets(const ReportInput& in, Page& page, ReportBody body);

}  // namespace wb
