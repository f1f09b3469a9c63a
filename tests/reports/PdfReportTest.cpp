// Through Qt into a PDF file: the real fonts fit, and a twip on the page is a twip on paper.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <thread>

#include "ReportFixture.h"
#include "reports/Reports.h"
#include "reports/qt/BoundPdf.h"
#include "reports/qt/PrintReport.h"
#include "tests/support/RecordingProgress.h"

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

// The box of the first word with this text in the PDF, in points: left, top, right, bottom.
std::array<double, 4> Box(const QString& path, const QString& word) {
    const QString html = RunTool(WB_PDFTOTEXT, {"-bbox", path, "-"});
    const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re" +
        QRegularExpression::escape(word) + "</word>");
    const auto m = re.match(html);
    EXPECT_TRUE(m.hasMatch()) << word.toStdString();
    return {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
            m.captured(4).toDouble()};
}

// A file of that name in `dir`, or in the folder WB_KEEP_PDFS names, where it stays for a look.
QString PdfPath(const QTemporaryDir& dir, const char* file) {
    const QString keep = qEnvironmentVariable("WB_KEEP_PDFS");
    return (keep.isEmpty() ? QDir(dir.path()) : QDir(keep)).filePath(QString::fromLatin1(file));
}

// Reports bound into one PDF/A file, as an aircraft's record travels: each starts on a sheet of
// its own, every font is embedded, and the file says it is PDF/A-1b.
TEST(PdfReport, BoundReportsMakeOnePdfAFileWithEveryFontEmbedded) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("record.pdf");
    const std::vector<BoundReport> reports = {{test::SampleInput(), PrintCalculationReport},
                                              {test::SampleInput(), PrintFullChangeReport}};
    const PrintOutcome outcome = PrintBoundPdf(path.toStdString(), reports, "N123AB");
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    const QString text = RunTool(WB_PDFTOTEXT, {"-layout", path, "-"});
    // The calculation report takes two sheets, the change report one.
    EXPECT_EQ(text.count('\f'), 3);
    const QStringList fonts = RunTool(WB_PDFFONTS, {path}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts)
        EXPECT_TRUE(font.contains(QRegularExpression(R"(\s+yes\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+$)")))
            << font.toStdString();  // the "emb" column
    EXPECT_TRUE(RunTool(WB_PDFINFO, {"-meta", path}).contains(QStringLiteral("pdfaid:part")));
}

// Drawn on a worker thread, as the window prints, each sheet is told as it is started.
TEST(PdfReport, CalculationReportPrintedAside) {
    QTemporaryDir dir;
    const QString path = PdfPath(dir, "calculation.pdf");
    test::RecordingProgress progress;
    PrintOutcome outcome;
    std::thread worker([&] {
        outcome = PrintToPdfFile(path.toStdString(), test::SampleInput(), PrintCalculationReport, progress);
    });
    worker.join();
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    std::vector<std::string> texts;
    for (const auto& step : progress.Steps())
        texts.push_back(step.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Printing sheet 1", "Printing sheet 2"}));
    const QString text = RunTool(WB_PDFTOTEXT, {"-layout", path, "-"});
    for (const char* key : {"Acme Aviation Services", "Minus Fluids", "Garmin GTX 327", "Previous +70.52"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
    EXPECT_EQ(text.count('\f'), 2);  // the range check on a sheet of its own: the first is full
    EXPECT_NEAR(Box(path, "-500.0")[2], Pt(11200), 0.5);  // right-aligned in the real font
}

// The three reports of the full Worksheet (10-digit values, 11-character serials, every row
// filled) in the real fonts: every serial whole, the totals as the arithmetic gives them.
TEST(PdfReport, TheFullWorksheetInEachReport) {
    QTemporaryDir dir;
    struct Case {
        const char* file;
        ReportWriter writer;
        int serials;  // 11-character serials printed: list items, or change rows twice over
    };
    const Case cases[] = {{"full-calculation.pdf", PrintCalculationReport, 100},
                          {"full-change.pdf", PrintFullChangeReport, 2 * 29},
                          {"full-compact-change.pdf", PrintCompactChangeReport, 2 * 29}};
    const ReportInput in =
        MakeReportInput(test::FullWorksheet(), "Hobbs", PrintOptions{true, true, true, true},
                        test::FullCompany(), std::nullopt);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = PdfPath(dir, c.file);
        const PrintOutcome outcome = PrintToPdfFile(path.toStdString(), in, c.writer);
        ASSERT_TRUE(outcome.ok()) << outcome.message;
        const QString words = RunTool(WB_PDFTOTEXT, {"-bbox", path, "-"});
        // Serials in their columns (the model, also 11 characters, is in the header).
        const QRegularExpression serial(R"re(<word xMin="([\d.]+)"[^>]*>MMMMMMMMMMM</word>)re");
        int inColumns = 0;
        for (auto m = serial.globalMatch(words); m.hasNext();) {
            const double x = m.next().captured(1).toDouble();
            for (double column : {2200.0, 4200.0, 7905.0})
                if (std::abs(x - Pt(column)) < 3) ++inColumns;
        }
        EXPECT_EQ(inColumns, c.serials);
        const QString text = RunTool(WB_PDFTOTEXT, {"-layout", path, "-"});
        EXPECT_TRUE(text.contains("OUTSIDE empty weight C.G. range +35.0 to +40.0"));
    }
}

// The three reports of a Worksheet typed in kilograms and millimetres: every heading, value and
// line that names a unit names the metric one, and the calculation report gives the new C.G. in
// % MAC. WB_KEEP_PDFS keeps the pages for a look.
TEST(PdfReport, TheThreeReportsInKilogramsAndMillimetres) {
    QTemporaryDir dir;
    struct Case {
        const char* file;
        ReportWriter writer;
        std::vector<const char*> words;
    };
    const Case cases[] = {
        {"metric-calculation.pdf",
         PrintCalculationReport,
         {"Tare (kg)", "Weight (kg)", "Arm (mm)", "Moment (kg-mm)", "Max Weight:", "1043 kg", "% MAC",
          "with LEMAC +657.90 mm and MAC 1493.50 mm", "Weights in kg, arms in mm, moments in kg-mm",
          "New A/C Empty C.G. +1176.55 mm: within empty weight C.G. range"}},
        {"metric-change.pdf",
         PrintFullChangeReport,
         {"Weight (kg)", "Arm (mm)", "Moment (kg-mm)", "1043 kg",
          "+1176.55 mm: within empty weight C.G. range"}},
        {"metric-compact-change.pdf",
         PrintCompactChangeReport,
         {"Weight (kg)", "Arm (mm)", "Moment (kg-mm)", "Max. Weight: 1043 kg"}},
    };
    const ReportInput in = test::SampleInput(test::MetricWorksheet());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = PdfPath(dir, c.file);
        const PrintOutcome outcome = PrintToPdfFile(path.toStdString(), in, c.writer);
        ASSERT_TRUE(outcome.ok()) << outcome.message;
        const QString text = RunTool(WB_PDFTOTEXT, {"-layout", path, "-"}).simplified();
        for (const char* word : c.words)
            EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("(lb)"))) << text.toStdString();
    }
}

// The loading check in the real fonts: a second sheet, numbered with the first, its figures
// in their columns.
TEST(PdfReport, TheLoadingCheckOnASheetOfItsOwn) {
    QTemporaryDir dir;
    const QString path = PdfPath(dir, "loading-check.pdf");
    const ReportInput in =
        MakeReportInput(test::Figure10Worksheet(), "Tach", PrintOptions{true, true, true, true},
                        test::SampleCompany(), std::nullopt);
    const PrintOutcome outcome = PrintToPdfFile(path.toStdString(), in, PrintCalculationReport);
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    const QString text = RunTool(WB_PDFTOTEXT, {"-layout", path, "-"});
    EXPECT_EQ(text.count('\f'), 2);
    const QString second = text.section('\f', 1, 1);
    for (const char* key :
         {"Loading Check", "Most forward extreme condition", "Most rearward extreme condition",
          "(a) With full fuel", "Page 2 of 2", "Satisfactory"})
        EXPECT_TRUE(second.contains(QString::fromUtf8(key))) << key;
    EXPECT_NEAR(Box(path, "16104.4")[2], Pt(100 + 5600 - 60), 0.5);
    EXPECT_NEAR(Box(path, "43428.4")[2], Pt(5820 + 5600 - 60), 0.5);

    // A sloped envelope with a utility category and an extreme condition outside it.
    const QString sloped = PdfPath(dir, "loading-check-sloped.pdf");
    const PrintOutcome slopedOutcome =
        PrintToPdfFile(sloped.toStdString(),
                       MakeReportInput(test::SlopedWorksheet(), "Tach", PrintOptions{true, true, true, true},
                                       test::SampleCompany(), std::nullopt),
                       PrintCalculationReport);
    ASSERT_TRUE(slopedOutcome.ok()) << slopedOutcome.message;
    EXPECT_TRUE(RunTool(WB_PDFTOTEXT, {"-layout", sloped, "-"}).contains("85.00 lb over the maximum weight"));
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
