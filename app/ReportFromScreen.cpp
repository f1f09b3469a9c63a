#include "app/ReportFromScreen.h"

#include "app/ReportLines.h"
#include "reports/Reports.h"
#include "reports/WeighingReports.h"
#include "store/Records.h"
#include "worksheet/Units.h"

namespace wb {

ReportInput ReportFromScreen(MainForm& form) {
    PrintOptions options;
    options.company = form.Checked(Control::Check3D1);
    options.ranges = form.Checked(Control::Check3D2);
    options.mechanic = form.Checked(Control::Check3D3);
    options.notes = form.Checked(Control::Check3D4);
    std::optional<CompanyRow> company, fontRow;
    if (form.records) {
        try {
            MainDatabase& main = form.records->database();
            // Printing writes nothing: an empty company table prints no header.
            company = main.FindCompanyRow();
            if (auto font = main.ReadReportFont()) fontRow = ReportFontRow(*font);
        } catch (const std::exception&) {
            // A report without the header is still a report of the screen.
            company.reset();
            fontRow.reset();
        }
    }
    ReportInput input = MakeReportInput(form.ws, form.TachCaption(), options, company, fontRow);
    input.history = form.history;
    if (form.ws.values.ScaleArm != 0) input.weighingLines = form.WeighingReportLines();
    input.dueList = form.dueList;
    // The MAC joins when the aircraft has one; until then the weight alone decides.
    input.negligible = NegligibleRows(form.ws, MacReferenceOf(form.ws), wb::Units(form.ws));
    input.signedLines = form.SignatureLines();
    input.auditLines = AuditLines(form.historyAudit);
    return input;
}

ReportDrawing ReportOfButton(Control button) {
    switch (button) {
        case Control::Command3D32:
            return PrintCalculationReport;
        case Control::Command3D14:
            return PrintFullChangeReport;
        case Control::Command3D27:
            return PrintCompactChangeReport;
        case Control::Command3D43:
            return PrintRecordReport;
        case Control::DuePrint:
            return PrintDueList;
        default:
            return nullptr;
    }
}

std::string ReportFileName(Control button, const MainForm& form) {
    std::string kind = "report";
    if (button == Control::Command3D32) kind = "weight and balance";
    if (button == Control::Command3D14) kind = "equipment changes";
    if (button == Control::Command3D27) kind = "equipment changes compact";
    if (button == Control::Command3D43) kind = "weight and balance record";
    if (button == Control::DuePrint) return "due for reweighing.pdf";
    const std::string& tail = form.Text(Control::Text1);
    return (tail.empty() ? kind : tail + " " + kind) + ".pdf";
}

}  // namespace wb
