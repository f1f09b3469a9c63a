// The three reports rendered through Qt into PDF files and read back with the PDF tools: the
// key lines are there, in the fonts and sizes asked for, and a twip on the page is a twip on
// paper from the corner of the printable area.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ReportFixture.h"
#include "SampleChain.h"
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
    const auto name = Box("Acme"), item = Box("Garmin");
    EXPECT_NEAR(name[3] - name[1], 18 * 1.15, 1.5);  // 18 pt name, 6 pt equipment rows
    EXPECT_NEAR(item[3] - item[1], 6 * 1.15, 1.0);
    EXPECT_TRUE(RunTool("pdffonts", {path}).contains("LiberationSans-Bold"));
}

TEST_F(PdfReportTest, FullChangeReport) {
    const QString text =
        Render(PrintFullChangeReport, "full.pdf",
               {"Weight and Balance Revision", "Previous Aircraft Empty", "New Aircraft Values"});
    EXPECT_LT(text.indexOf("Radio KX-155"), text.indexOf("Radio GNC 255"));
    EXPECT_NEAR(Box("82.5")[2], Pt(10200), 0.5);
}

TEST_F(PdfReportTest, CompactChangeReport) {
    const QString text = Render(PrintCompactChangeReport, "compact.pdf",
                                {"Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432",
                                 "Date: 03-14-2024 /Hobbs: 4521.3 /Max. Weight: 2300 /Work Order: WO-7781"});
    EXPECT_LT(text.indexOf("Radio GNC 255"), text.indexOf("Radio KX-155"));
    const auto reg = Box("Reg.");
    EXPECT_NEAR(reg[3] - reg[1], 8 * 1.15, 1.0);
}

// Every report of the largest Worksheet in the real fonts: each word inside the printable
// area, and no two words of one line running into each other.
TEST_F(PdfReportTest, TheFullWorksheetFitsItsSheetsInTheRealFonts) {
    in = MakeReportInput(test::FullWorksheet(), "Hobbs", PrintOptions{true, true, true, true},
                         test::FullCompany(), std::nullopt);
    const std::pair<ReportWriter, const char*> reports[] = {{PrintCalculationReport, "full calculation.pdf"},
                                                            {PrintFullChangeReport, "full changes.pdf"},
                                                            {PrintCompactChangeReport, "full compact.pdf"}};
    for (const auto& [report, name] : reports) {
        SCOPED_TRACE(name);
        // The full change report's 58 rows continue on a second sheet, which says so.
        Render(report, name,
               report == PrintFullChangeReport ? std::vector<const char*>{"Page 2 of 2"}
                                               : std::vector<const char*>{});
        const QString html = RunTool(WB_PDFTOTEXT, {"-bbox", path, "-"});
        const QRegularExpression word(
            R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
        struct Word {
            double x0, y0, x1, y1;
            QString text;
        };
        std::vector<std::vector<Word>> pages;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(0).startsWith("<page")) {
                pages.emplace_back();
                continue;
            }
            const Word w{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble(), m.captured(5)};
            EXPECT_GE(w.x0, Pt(0) - 0.5) << w.text.toStdString();
            EXPECT_LE(w.x1, Pt(11520) + 0.5) << w.text.toStdString();
            EXPECT_LE(w.y1, Pt(15120) + 0.5) << w.text.toStdString();
            pages.back().push_back(w);
        }
        for (const auto& page : pages)
            for (size_t i = 0; i < page.size(); ++i)
                for (size_t j = i + 1; j < page.size(); ++j) {
                    const Word &a = page[i], &b = page[j];
                    const bool sameLine = std::abs(a.y1 - b.y1) < 0.5;
                    if (sameLine && a.x0 < b.x1 - 0.2 && b.x0 < a.x1 - 0.2)
                        ADD_FAILURE() << a.text.toStdString() << " runs into " << b.text.toStdString();
                }
    }
}

TEST_F(PdfReportTest, RecordReport) {
    in.history = test::SampleChain();
    const QString text =
        Render(PrintRecordReport, "record.pdf",
               {"Weight and Balance Record", "BREAK IN THE CHAIN", "Superseded version, replaced 2022-08-13",
                "Since the weighing of 01-10-2020: weight +12.00, C.G. +0.16"});
    EXPECT_EQ(text.count('\f'), 1);
    EXPECT_NEAR(Box("106577.9")[2], Pt(9000), 0.5);  // the moment column's right edge
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
