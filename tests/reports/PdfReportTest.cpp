// The reports rendered through Qt into PDF files and read back with the PDF tools: the
// key lines are there, in the fonts and sizes asked for, and a twip on the page is a twip on
// paper from the corner of the printable area.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ReportFixture.h"
#include "reports/Reports.h"
#include "reports/qt/PrintReport.h"

namespace wb {
namespace {

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The printable area starts a quarter inch (18 pt) in; a twip is a twentieth of a point.
double Pt(double twips) {
    return 18 + twips / 20;
}

class PdfReportTest : public ::testing::Test {
  protected:
    // Writes the report and returns its text as laid out. WB_KEEP_PDFS names a folder where
    // the files stay for a look at the pages.
    QString Render(ReportWriter report, const QString& name, const std::vector<const char*>& keys) {
        const QString keep = qEnvironmentVariable("WB_KEEP_PDFS");
        path = keep.isEmpty() ? dir.filePath(name) : QDir(keep).filePath(name);
        PrintOutcome outcome = PrintToPdfFile(path.toStdString(), in, report);
        EXPECT_TRUE(outcome.ok()) << outcome.message;
        const QString text = RunTool(WB_PDFTOTEXT, {"-layout", path, "-"});
        for (const char* key : keys)
            EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
        return text;
    }
    // The box of the first word with this text, in points: left, top, right, bottom.
    std::array<double, 4> Box(const QString& word) {
        const QString html = RunTool(WB_PDFTOTEXT, {"-bbox", path, "-"});
        const QRegularExpression re(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re" +
            QRegularExpression::escape(word) + "</word>");
        const auto m = re.match(html);
        EXPECT_TRUE(m.hasMatch()) << word.toStdString();
        return {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                m.captured(4).toDouble()};
    }

    QTemporaryDir dir;
    QString path;
    ReportInput in = test::SampleInput();
};

TEST_F(PdfReportTest, CalculationReport) {
    const QString text = Render(
        PrintCalculationReport, "calculation.pdf",
        {"Acme Aviation Services", "Reg. Number:", "Scale locations", "Minus Fluids", "105600.0",
         "Garmin GTX 327", "A&P 1234567", "Weighed with unusable fuel and full oil.", "Previous +70.52"});
    EXPECT_EQ(text.count('\f'), 2);  // the range check on a sheet of its own: the first is full
    EXPECT_NEAR(Box("Reg.")[0], Pt(100), 0.5);
    EXPECT_NEAR(Box("-500.0")[2], Pt(11200), 0.5);  // right-aligned in the real font
    const auto name = Box("Acme");
    EXPECT_NEAR(name[3] - name[1], 18 * 1.15, 1.5);  // the 18 pt name
}

// The full report lists removed rows first, the compact one installed rows first.
TEST_F(PdfReportTest, ChangeReports) {
    QString text =
        Render(PrintFullChangeReport, "full.pdf", {"Previous Aircraft Empty", "New Aircraft Values"});
    EXPECT_LT(text.indexOf("Radio KX-155"), text.indexOf("Radio GNC 255"));
    EXPECT_NEAR(Box("82.5")[2], Pt(10200), 0.5);
    text = Render(PrintCompactChangeReport, "compact.pdf",
                  {"Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432"});
    EXPECT_LT(text.indexOf("Radio GNC 255"), text.indexOf("Radio KX-155"));
}

}  // namespace
}  // namespace wb

int main(int argc, char** argv) {
    // Test discovery runs this binary without the tests' environment; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
