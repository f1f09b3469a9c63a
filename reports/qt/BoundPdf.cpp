#include "reports/qt/BoundPdf.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "reports/qt/QtPage.h"

namespace wb {
namespace {

// A QtPage on which a report's end only closes that report: the file is finished by Close().
class BindingPage : public QtPage {
  public:
    using QtPage::QtPage;
    void Close() { QtPage::FinishDocument(); }

  protected:
    void FinishDocument() override {}
};

}  // namespace

PrintOutcome PrintBoundPdf(const std::string& path, const std::vector<BoundReport>& reports,
                           const std::string& title, Progress& progress) {
    const QString file = QString::fromStdString(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    printer.setResolution(600);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    printer.setCreator(QStringLiteral("Weight and Balance"));
    printer.setDocName(QString::fromStdString(title));
    {
        BindingPage page(printer, progress);
        for (std::size_t i = 0; i < reports.size() && !page.Failed(); ++i) {
            if (progress.Cancelled()) break;
            if (i > 0) page.ContinueWithNextDocument();
            reports[i].report(reports[i].input, page);
        }
        page.Close();
        // Half a record is no record: nothing is left behind on a cancel or a failure.
        if (progress.Cancelled()) {
            QFile::remove(file);
            return {PrintOutcome::Cancelled, {}};
        }
        if (page.Failed()) {
            QFile::remove(file);
            return {PrintOutcome::Failed, "The record could not be written to " + path + ": " + page.Error()};
        }
    }
    if (QFileInfo(file).size() <= 0)
        return {PrintOutcome::Failed, "The record could not be written to " + path + "."};
    return {};
}

}  // namespace wb
