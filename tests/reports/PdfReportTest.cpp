// The three reports rendered through Qt into PDF files and read back with the PDF tools:
// the key lines are there, the fonts and sizes are the ones asked for, and one twip on the
// page is one twip on paper from the corner of the printable area.
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

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // points from the top-left corner of the sheet
};

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

class PdfReportTest : public ::testing::Test {
  protected:
    // Writes the report and returns its text as laid out.
    QString Render(ReportWriter report, const ReportInput& in, const QString& name) {
        // WB_KEEP_PDFS names a folder where the files stay for a look at the pages.
        const QString keep = qEnvironmentVariable("WB_KEEP_PDFS");
        path = keep.isEmpty() ? dir.filePath(name) : QDir(keep).filePath(name);
        PrintOutcome outcome = PrintToPdfFile(path.toStdString(), in, report);
        EXPECT_TRUE(outcome.ok()) << outcome.message;
        return RunTool(WB_PDFTOTEXT, {"-layout", path, "-"});
    }
    std::vector<Word> Words() {
        QString html = RunTool(WB_PDFTOTEXT, {"-bbox", path, "-"});
        static const QRegularExpression re(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
        std::vector<Word> words;
        for (auto it = re.globalMatch(html); it.hasNext();) {
            auto m = it.next();
            words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                             m.captured(3).toDouble(), m.captured(4).toDouble()});
        }
        return words;
    }
    Word First(const QString& text) {
        for (const Word& w : Words())
            if (w.text == text) return w;
        ADD_FAILURE() << "no word " << text.toStdString();
        return {};
    }

    QTemporaryDir dir;
    QString path;
    ReportInput in = test::SampleInput();
};

// The printable area starts a quarter inch (18 pt) in; a twip is a twentieth of a point.
constexpr double kMargin = 18;
double Pt(double twips) {
    return kMargin + twips / 20;
}

TEST_F(PdfReportTest, CalculationReport) {
    const QString text = Render(PrintCalculationReport, in, "calculation.pdf");
    for (const char* key : {"Acme Aviation Services",
                            "12 Hangar Road",
                            "Weight and Balance Report",
                            "Reg. Number:",
                            "N123AB",
                            "Hobbs:",
                            "Scale locations",
                            "Right Main",
                            "48800.0",
                            "Minus Fluids",
                            "xxxxxxxx",
                            "-500.0",
                            "New Aircraft Values",
                            "1497.50",
                            "105600.0",
                            "Garmin GTX 327",
                            "36.9",
                            "Equipment weights above are included in New A/C Empty Weight",
                            "J. Mechanic",
                            "A&P 1234567",
                            "Weighed with unusable fuel and full oil."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
    EXPECT_EQ(text.count('\f'), 1);

    // Positions: the header label at x = 100, "-500.0" ending at 11200 (right alignment in the
    // real font), the totals on the line at 7050.
    EXPECT_NEAR(First("Reg.").xMin, Pt(100), 0.5);
    EXPECT_NEAR(First("-500.0").xMax, Pt(11200), 0.5);
    EXPECT_NEAR(First("105600.0").xMax, Pt(11200), 0.5);
    EXPECT_NEAR(First("Acme").yMin, Pt(50), 2.5);
    // Sizes: the name in 18 pt, the equipment rows in 6 pt.
    const Word name = First("Acme"), item = First("Garmin");
    EXPECT_NEAR(name.yMax - name.yMin, 18 * 1.15, 1.5);
    EXPECT_NEAR(item.yMax - item.yMin, 6 * 1.15, 1.0);

    const QString fonts = RunTool("pdffonts", {path});
    EXPECT_TRUE(fonts.contains("LiberationSans-Bold")) << fonts.toStdString();
}

TEST_F(PdfReportTest, FullChangeReport) {
    const QString text = Render(PrintFullChangeReport, in, "full.pdf");
    for (const char* key :
         {"Weight and Balance Revision", "Previous Aircraft Empty", "17265432", "n/a", "Removed",
          "Radio KX-155", "82.5", "Installed", "Radio GNC 255", "96.1", "New Aircraft Values"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
    EXPECT_LT(text.indexOf("Radio KX-155"), text.indexOf("Radio GNC 255"));
    EXPECT_NEAR(First("82.5").xMax, Pt(10200), 0.5);
}

TEST_F(PdfReportTest, CompactChangeReport) {
    const QString text = Render(PrintCompactChangeReport, in, "compact.pdf");
    for (const char* key : {"Acme Aviation Services", "Weight and Balance Revision",
                            "Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432",
                            "Date: 03-14-2024 /Hobbs: 4521.3 /Max. Weight: 2300 /Work Order: WO-7781",
                            "Previous Aircraft Empty", "Installed", "Removed", "Radio GNC 255"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
    EXPECT_LT(text.indexOf("Radio GNC 255"), text.indexOf("Radio KX-155"));
    const Word reg = First("Reg.");
    EXPECT_NEAR(reg.yMax - reg.yMin, 8 * 1.15, 1.0);
}

TEST_F(PdfReportTest, NotesOfManyPagesGoOnFurtherSheets) {
    std::string memo;
    for (int i = 0; i < 300; ++i)
        memo += "Note line " + std::to_string(i) + "\r\n";
    in.Set(Field::Memo, memo);
    const QString text = Render(PrintCalculationReport, in, "notes.pdf");
    EXPECT_GE(text.count('\f'), 5);
    EXPECT_TRUE(text.contains("Note line 0"));
    EXPECT_TRUE(text.contains("Note line 299"));
}

TEST_F(PdfReportTest, AFileThatCannotBeWrittenIsReported) {
    const std::string bad = dir.filePath("missing/folder/report.pdf").toStdString();
    PrintOutcome outcome = PrintToPdfFile(bad, in, PrintCalculationReport);
    EXPECT_EQ(outcome.status, PrintOutcome::Failed);
    EXPECT_NE(outcome.message.find("report.pdf"), std::string::npos) << outcome.message;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(bad)));
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
