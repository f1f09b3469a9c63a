// The weighing report: scale table with fluid rows and totals, the equipment list in two
// halves, the signature line and the notes.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"

namespace wb {
namespace {

using test::LineAt;
using test::PrintedAt;
using Texts = std::vector<std::string>;

constexpr double kLine11 = 11 * 23;  // one line of 11 pt on the recording page

class CalculationReportTest : public ::testing::Test {
  protected:
    void Print() {
        in = test::SampleInput(ws);
        PrintCalculationReport(in, page);
        pageTop = test::BodyTop(page);
    }

    Worksheet ws = test::SampleWorksheet();
    ReportInput in;
    RecordingPage page;
    double pageTop = 0;
};

TEST_F(CalculationReportTest, ScaleRowsFluidRowAndTotals) {
    Print();
    const double y0 = pageTop + 1370 + kLine11;
    EXPECT_EQ(LineAt(page, y0), (Texts{"Right Main", "2.50", "612.50", "80.00", "48800.0"}));
    test::ExpectRightEdges(page, y0, {"2.50", "612.50", "80.00", "48800.0"}, {5500, 7000, 8500, 11200});
    EXPECT_TRUE(PrintedAt(page, "Minus Fluids", 200, pageTop + 2853));
    EXPECT_EQ(LineAt(page, pageTop + 2853 + kLine11),
              (Texts{"Forward Tanks", "xxxxxxxx", "-10.00", "50.00", "-500.0"}));
    // The frame is whole however few rows there are, and deep enough for its 12 pt label.
    EXPECT_TRUE(page.HasLine(100, pageTop + 1000, 11510, 7050 + 12 * 23, 4, true));
    EXPECT_TRUE(PrintedAt(page, "Weighed Aircraft Values", 1160, 7050));
    test::ExpectRightEdges(page, 7050, {"1497.50", "70.52", "105600.0"}, {7000, 8500, 11200});
}

TEST_F(CalculationReportTest, NegativeFluidPrintsItsRowUnderTheFluidRuleWithoutTheHeading) {
    test::SetRow(ws.FluidRows(), 0, {"Forward Tanks", "-4", "50"});
    Print();
    EXPECT_TRUE(page.Find("Minus Fluids").empty());
    EXPECT_EQ(LineAt(page, pageTop + 2853), (Texts{"Forward Tanks", "xxxxxxxx", "4.00", "50.00", "200.0"}));
}

TEST_F(CalculationReportTest, NoPositiveScaleTotalMeansNoTable) {
    for (const char* second : {"", "-700"}) {
        Worksheet sheet = ws;
        test::SetRow(sheet.ScaleRows(), 0, {"Right Main", "", second[0] ? "300" : "", "80"});
        test::SetRow(sheet.ScaleRows(), 1, {"Left Main", "", second, "80"});
        sheet.ScaleRows().At(2, scale::Wgt) = "";
        RecordingPage p;
        PrintCalculationReport(test::SampleInput(sheet), p);
        const double top = test::BodyTop(p);
        EXPECT_TRUE(p.Find("Scale locations").empty()) << second;
        EXPECT_TRUE(PrintedAt(p, "Equipment", 200, top + 1030));
    }
}

TEST_F(CalculationReportTest, EquipmentRowsFillTwoHalvesOfFifty) {
    for (int i = 0; i < 101; ++i) {
        const std::string n = std::to_string(i);
        test::SetRow(ws.EquipmentList(), i,
                     {("Item " + n).c_str(), ("S" + n).c_str(), std::to_string(i + 1).c_str(), "10"});
    }
    test::SetRow(ws.EquipmentList(), 1, {"Item 1", "S1", "1.5 lb", ""});
    Print();
    struct Where {
        int row;
        double x, y, momentRight;
    };
    for (const Where& w : {Where{49, 200, 13266, 5705}, Where{50, 5905, 7876, 11410}}) {
        const std::string n = std::to_string(w.row);
        SCOPED_TRACE("row " + n);
        EXPECT_TRUE(PrintedAt(page, "Item " + n, w.x, w.y)) << n;
        test::ExpectRightEdges(
            page, w.y, {std::to_string(w.row + 1) + ".00", "10.00", std::to_string((w.row + 1) * 10) + ".0"},
            {w.momentRight - 1905, w.momentRight - 1005, w.momentRight});
    }
    // Text that is not a number prints as it stands; without an arm there is no moment.
    EXPECT_EQ(LineAt(page, 7986),
              (Texts{"Item 1", "S1", "1.5 lb", "Item 51", "S51", "52.00", "10.00", "520.0"}));
    EXPECT_TRUE(page.Find("Item 100").empty());
}

TEST_F(CalculationReportTest, SignatureLineAndNotesAcrossIt) {
    Print();
    EXPECT_TRUE(page.HasLine(8500, 14500, 11410, 14500, 4));
    EXPECT_TRUE(PrintedAt(page, "J. Mechanic,  A&P 1234567", 8500, 14500));
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, 14326));

    in.options.mechanic = in.options.notes = false;
    RecordingPage bare;
    PrintCalculationReport(in, bare);
    EXPECT_TRUE(bare.Find("J. Mechanic,  A&P 1234567").empty());
    EXPECT_TRUE(bare.Find("Weighed with unusable fuel and full oil.").empty());
}

TEST_F(CalculationReportTest, NotesContinueOnNewSheetsAt2000) {
    std::string memo;
    for (int i = 0; i < 300; ++i)
        memo += "Line " + std::to_string(i) + "\r\n";
    ws.Set(Field::Memo, memo);
    Print();
    std::vector<RecordedText> lines;
    for (const auto& t : page.texts())
        if (t.text.rfind("Line ", 0) == 0) lines.push_back(t);
    ASSERT_EQ(lines.size(), 300u);
    // 8 pt lines of 184 twips from 14326: two end above the sheet stamp's room (from 14876),
    // the third moves on.
    EXPECT_EQ(lines[1].sheet, 0);
    EXPECT_EQ(lines[2].sheet, 1);
    EXPECT_TRUE(PrintedAt(page, "Line 2", 100, 2000));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, "Line " + std::to_string(i));
        EXPECT_LE(lines[i].y + 184, 14876) << i;
    }
    EXPECT_EQ(page.sheets(), 1 + (300 - 2 + 68) / 69);  // 69 lines from 2000 on each further sheet
}

TEST_F(CalculationReportTest, OverlongFieldsAreCutAtTheirColumnsAndAnEmptyWorksheetPrints) {
    const std::string longText(500, 'W');
    for (const FieldInfo& info : AllFields())
        ws.Set(info.field, longText);
    for (int i = 0; i < 100; ++i)
        test::SetRow(ws.EquipmentList(), i, {longText.c_str(), longText.c_str(), "", ""});
    Print();
    EXPECT_EQ(test::Overprints(page), std::vector<std::string>{});
    size_t cut = 0;
    for (const RecordedText& t : page.texts())
        if (t.text.rfind("WW", 0) == 0 && t.text.find("Page") == std::string::npos) {
            EXPECT_EQ(longText.rfind(t.text, 0), 0u) << t.text;  // a start of the text, never garbled
            ++cut;
        }
    EXPECT_GE(cut, 200u + 7 + 3);  // equipment cells, header values, ranges

    Worksheet empty;
    ClearWorksheet(empty, false);
    RecordingPage blank;
    PrintCalculationReport(MakeReportInput(empty, "Tach", {}, std::nullopt, std::nullopt), blank);
    EXPECT_EQ(blank.endCount(), 1);
}

}  // namespace
}  // namespace wb
