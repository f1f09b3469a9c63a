// What a print button prints: the screen as it stands and the company rows as stored.
#pragma once

#include "app/MainForm.h"
#include "reports/Page.h"
#include "reports/ReportInput.h"

namespace wb {

// The Worksheet on screen, the tach/hobbs caption and the four print options as they stand
// now (stored or not), with the company row and the report font row read from the store at
// this moment; no company rows while no main database is open.
ReportInput ReportFromScreen(MainForm& form);

using ReportDrawing = void (*)(const ReportInput&, Page&);
// The report of a print button; nullptr for any other control.
ReportDrawing ReportOfButton(Control button);

// The file name offered when a report goes into a PDF file: the tail number and the report.
std::string ReportFileName(Control button, const MainForm& form);

}  // namespace wb
