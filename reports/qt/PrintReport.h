// Running a report onto paper or into a PDF file, for the window's three print buttons.
#pragma once

#include <string>

#include "reports/Page.h"
#include "reports/ReportInput.h"
#include "worksheet/Progress.h"

class QPrinter;
class QWidget;

namespace wb {

// One of PrintCalculationReport, PrintFullChangeReport, PrintCompactChangeReport.
using ReportWriter = void (*)(const ReportInput&, Page&);

struct PrintOutcome {
    enum Status { Printed, Cancelled, Failed };
    Status status = Printed;
    std::string message;  // why it failed, for the user
    bool ok() const { return status == Printed; }
};

// Runs the report on the printer as it stands (the one chosen in set-up). A failure ends the
// document and is returned; nothing else is told.
// Each sheet started is told on `progress`.
PrintOutcome PrintOnPrinter(QPrinter& printer, const ReportInput& in, ReportWriter report,
                            Progress& progress = NoProgress());

// Writes the report as a PDF file: Letter, portrait, a quarter-inch margin all round (a
// printable area of 8 by 10.5 inches), 600 dots per inch for the pen widths.
PrintOutcome PrintToPdfFile(const std::string& path, const ReportInput& in, ReportWriter report,
                            Progress& progress = NoProgress());

// Whether the system offers any printer at all.
bool SystemHasPrinter();

// The print button: on the printer chosen in set-up, or, on a system without a printer, into
// a PDF file that the user names in a file dialog (Cancelled when the user gives no name).
PrintOutcome PrintReport(QWidget* parent, QPrinter& printer, const ReportInput& in, ReportWriter report);

}  // namespace wb
