#include "reports/qt/PrintReport.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "reports/qt/QtPage.h"

namespace wb {
namespace {

constexpr int kPdfResolution = 600;

PrintOutcome Run(QPrinter& printer, const ReportInput& in, ReportWriter report, const QString& target,
                 Progress& progress) {
    QtPage page(printer, progress);
    if (!page.Failed()) report(in, page);
    page.EndDocument();
    if (page.Failed())
        return {PrintOutcome::Failed,
                "The report could not be printed to " + target.toStdString() + ": " + page.Error()};
    return {};
}

}  // namespace

PrintOutcome PrintOnPrinter(QPrinter& printer, const ReportInput& in, ReportWriter report,
                            Progress& progress) {
    QString target =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
    return Run(printer, in, report, target.isEmpty() ? QStringLiteral("the printer") : target, progress);
}

PrintOutcome PrintToPdfFile(const std::string& path, const ReportInput& in, ReportWriter report,
                            Progress& progress) {
    const QString file = QString::fromStdString(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(kPdfResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    printer.setCreator(QStringLiteral("Weight and Balance"));
    PrintOutcome outcome = Run(printer, in, report, file, progress);
    // The PDF writer reports few write errors itself: an empty or missing file is a failure.
    if (outcome.ok() && QFileInfo(file).size() <= 0)
        outcome = {PrintOutcome::Failed, "The report could not be written to " + path + "."};
    return outcome;
}

bool SystemHasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

PrintOutcome PrintReport(QWidget* parent, QPrinter& printer, const ReportInput& in, ReportWriter report) {
    if (SystemHasPrinter() || printer.outputFormat() == QPrinter::PdfFormat)
        return PrintOnPrinter(printer, in, report);
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Save the report as a PDF file"),
                                                QString(), QStringLiteral("PDF files (*.pdf)"));
    if (file.isEmpty()) return {PrintOutcome::Cancelled, {}};
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
    return PrintToPdfFile(file.toStdString(), in, report);
}

}  // namespace wb
