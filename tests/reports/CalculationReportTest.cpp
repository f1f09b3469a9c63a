// The weighing report: the scale table with its fluid rows and totals, the equipment list in
// two halves, the signature line and the notes.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/NoteLines.h"
#include "reports/Reports.h"
#include "worksheet/Balance.h"

namespace wb {
namespace {

using test::PrintedAt;
using test::RightAlignedAt;

constexpr double kLine11 = 11 * 23;  // one line of 11 pt on the recording page

class CalculationReportTest : public ::testing::Test {
  protected:
    void Print() {
        in = test::SampleInput(ws);
        PrintCalculationReport(in, page);
        pageTop = test::BodyTop(page);
    }
    // The texts printed at y, in the order printed.
    std::vector<std::string> LineAt(double y) {
        std::vector<std::string> texts;
        for (const auto& t : page.AtY(y))
            texts.push_back(t.text);
        return texts;
    }

    Worksheet ws = test::SampleWorksheet();
    ReportInput in;
    RecordingPage page;
    double pageTop = 0;
};

TEST_F(CalculationReportTest, ScaleRowsFluidRowAndTotals) {
    Print();
    EXPECT_DOUBLE_EQ(pageTop, 2564);
    const RecordedText heading = page.One("Scale locations");
    EXPECT_TRUE(PrintedAt(page, "Scale locations", 200, pageTop + 1370));
    EXPECT_TRUE(heading.font.bold);
    EXPECT_EQ(heading.font.size, 11);

    const double y0 = pageTop + 1370 + kLine11;
    EXPECT_EQ(LineAt(y0), (std::vector<std::string>{"Right Main", "2.5", "612.50", "80.00", "48800.0"}));
    EXPECT_TRUE(PrintedAt(page, "Right Main", 200, y0));
    EXPECT_FALSE(page.One("Right Main").font.bold);
    EXPECT_TRUE(RightAlignedAt(page, "2.5", 5500, y0));
    EXPECT_TRUE(RightAlignedAt(page, "612.50", 7000, y0));
    EXPECT_TRUE(RightAlignedAt(page, "80.00", 8500, y0));
    EXPECT_TRUE(RightAlignedAt(page, "48800.0", 11200, y0));
    EXPECT_EQ(LineAt(y0 + kLine11),
              (std::vector<std::string>{"Left Main", "2.5", "610.00", "80.00", "48600.0"}));
    EXPECT_EQ(LineAt(y0 + 2 * kLine11),
              (std::vector<std::string>{"Nose", "0.0", "290.00", "30.00", "8700.0"}));

    EXPECT_TRUE(page.HasLine(100, pageTop + 2823, 11510, pageTop + 2823, 1));
    EXPECT_TRUE(PrintedAt(page, "Minus Fluids", 200, pageTop + 2853));
    EXPECT_TRUE(page.One("Minus Fluids").font.bold);
    const double fy = pageTop + 2853 + kLine11;
    EXPECT_EQ(LineAt(fy),
              (std::vector<std::string>{"Forward Tanks", "xxxxxxxx", "-10.00", "50.00", "-500.0"}));
    EXPECT_TRUE(RightAlignedAt(page, "xxxxxxxx", 5500, fy));
    EXPECT_TRUE(RightAlignedAt(page, "-500.0", 11200, fy));

    // The weighed totals, right-aligned by the width of their own text.
    EXPECT_TRUE(PrintedAt(page, "New Aircraft Values", 1160, 7050));
    EXPECT_EQ(page.One("New Aircraft Values").font.size, 12);
    EXPECT_TRUE(RightAlignedAt(page, "1497.50", 7000, 7050));
    EXPECT_TRUE(RightAlignedAt(page, "70.52", 8500, 7050));
    EXPECT_TRUE(RightAlignedAt(page, "105600.0", 11200, 7050));
    EXPECT_EQ(page.One("105600.0").font.size, 11);
}

TEST_F(CalculationReportTest, OneScaleRowStillDrawsTheWholeTable) {
    for (int r = 1; r < 5; ++r)
        test::SetRow(ws.ScaleRows(), r, {"", "", "", ""});
    for (int r = 0; r < 5; ++r)
        test::SetRow(ws.FluidRows(), r, {"", "", ""});
    Recalculate(ws);
    Print();
    EXPECT_TRUE(page.HasLine(100, pageTop + 1000, 11510, 7300, 4, true));
    EXPECT_TRUE(page.HasLine(100, 7050, 11510, 7050, 4));
    EXPECT_TRUE(page.HasLine(100, pageTop + 1300, 11510, pageTop + 1300, 1));
    for (double x : {4100.0, 5800.0, 7300.0, 8800.0})
        EXPECT_TRUE(page.HasLine(x, pageTop + 1300, x, 7300, 1)) << x;
    EXPECT_EQ(LineAt(pageTop + 1370 + kLine11).size(), 5u);
    EXPECT_TRUE(LineAt(pageTop + 1370 + 2 * kLine11).empty());
    EXPECT_TRUE(page.Find("Minus Fluids").empty());
    // The equipment list sits below the table at 7500.
    EXPECT_TRUE(page.HasLine(100, 7500, 11510, 14000, 4, true));
}

TEST_F(CalculationReportTest, NoPositiveScaleTotalMeansNoTable) {
    for (const char* second : {"", "-700"}) {
        Worksheet sheet = test::SampleWorksheet();
        sheet.ScaleRows().At(0, scale::Wgt) = second[0] ? "300" : "";
        sheet.ScaleRows().At(1, scale::Wgt) = second;
        sheet.ScaleRows().At(2, scale::Wgt) = "";
        RecordingPage p;
        PrintCalculationReport(test::SampleInput(sheet), p);
        const double top = test::BodyTop(p);
        EXPECT_TRUE(p.Find("Scale locations").empty()) << second;
        EXPECT_TRUE(p.Find("New Aircraft Values").empty()) << second;
        EXPECT_TRUE(p.HasLine(100, top + 1000, 11510, top + 7500, 4, true)) << second;
        // With the ranges printed the headings keep their 12 pt.
        const RecordedText heading = p.Find("Equipment").front();
        EXPECT_DOUBLE_EQ(heading.y, top + 1030);
        EXPECT_EQ(heading.font.size, 12);
    }
}

TEST_F(CalculationReportTest, NegativeFluidPrintsItsRowWithoutTheHeading) {
    test::SetRow(ws.FluidRows(), 0, {"Forward Tanks", "-4", "50"});
    Print();
    EXPECT_TRUE(page.Find("Minus Fluids").empty());
    // It follows the last scale row on the next line.
    EXPECT_EQ(LineAt(pageTop + 1370 + 4 * kLine11),
              (std::vector<std::string>{"Forward Tanks", "xxxxxxxx", "4.00", "50.00", "200.0"}));
}

TEST_F(CalculationReportTest, EquipmentRowsFillTwoHalvesOfFifty) {
    RowStore& list = ws.EquipmentList();
    for (int i = 0; i < 100; ++i) {
        std::string n = std::to_string(i);
        test::SetRow(list, i,
                     {("Item " + n).c_str(), ("S" + n).c_str(), std::to_string(i + 1).c_str(), "10"});
    }
    test::SetRow(list, 100, {"Hidden", "S100", "1", "1"});
    Print();
    const double top = 7500;
    EXPECT_TRUE(page.HasLine(100, top, 11510, top + 6500, 4, true));
    EXPECT_TRUE(page.HasLine(5805, top, 5805, top + 6500, 4));
    EXPECT_TRUE(page.HasLine(10505, top + 300, 10505, top + 6500, 1));
    EXPECT_TRUE(PrintedAt(page, "Equipment", 200, top + 30));
    EXPECT_TRUE(PrintedAt(page, "Moment", 10605, top + 30));
    EXPECT_TRUE(
        PrintedAt(page, "Equipment weights above are included in New A/C Empty Weight", 100, top + 6550));

    struct Where {
        int row;
        double x, y, weightRight, momentRight;
    };
    const Where rows[] = {{0, 200, top + 350, 3800, 5705},
                          {49, 200, top + 5740, 3800, 5705},
                          {50, 5905, top + 350, 9505, 11410},
                          {99, 5905, top + 5740, 9505, 11410}};
    for (const Where& w : rows) {
        const std::string n = std::to_string(w.row);
        EXPECT_TRUE(PrintedAt(page, "Item " + n, w.x, w.y)) << n;
        EXPECT_TRUE(PrintedAt(page, "S" + n, w.x + 2000, w.y)) << n;
        EXPECT_TRUE(RightAlignedAt(page, std::to_string(w.row + 1) + ".00", w.weightRight, w.y)) << n;
        EXPECT_TRUE(RightAlignedAt(page, "10.00", w.weightRight + 900, w.y)) << n;
        EXPECT_TRUE(RightAlignedAt(page, std::to_string((w.row + 1) * 10) + ".0", w.momentRight, w.y)) << n;
        EXPECT_EQ(page.One("Item " + n).font.size, 6);
    }
    EXPECT_TRUE(page.Find("Hidden").empty());
}

TEST_F(CalculationReportTest, EquipmentCellsPrintAsStoredAndAMomentOnlyWhenNotZero) {
    test::SetRow(ws.EquipmentList(), 2, {"Strobe", "", "1.5 lb", "abc"});
    Print();
    const double y0 = 7500 + 350, y1 = y0 + 110, y2 = y1 + 110;
    EXPECT_EQ(LineAt(y0), (std::vector<std::string>{"Garmin GTX 327", "12345", "2.60", "14.20", "36.9"}));
    // A weight without an arm: no moment.
    EXPECT_EQ(LineAt(y1), (std::vector<std::string>{"ELT 406", "E-77", "3.10"}));
    // Text that is not a number prints as it stands; its numeric value still makes no moment.
    EXPECT_EQ(LineAt(y2), (std::vector<std::string>{"Strobe", "1.5 lb", "abc"}));
}

TEST_F(CalculationReportTest, SignatureLineAndNotesAcrossIt) {
    Print();
    EXPECT_TRUE(page.HasLine(8500, 14500, 11410, 14500, 4));
    const RecordedText mechanic = page.One("J. Mechanic,  A&P 1234567");
    EXPECT_TRUE(PrintedAt(page, mechanic.text, 8500, 14500));
    EXPECT_EQ(mechanic.font.size, 8);
    const RecordedText notes = page.One("Weighed with unusable fuel and full oil.");
    EXPECT_TRUE(PrintedAt(page, notes.text, 100, 14300));
    EXPECT_EQ(notes.font.size, 8);
    EXPECT_EQ(page.endCount(), 1);
    EXPECT_EQ(page.sheets(), 1);

    in.options.mechanic = in.options.notes = false;
    RecordingPage bare;
    PrintCalculationReport(in, bare);
    EXPECT_TRUE(bare.Find(mechanic.text).empty());
    EXPECT_TRUE(bare.Find(notes.text).empty());
    EXPECT_FALSE(bare.HasLine(8500, 14500, 11410, 14500, 4));
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
    // 8 pt lines of 184 twips from 14300: four fit above the foot at 15120, the fifth moves on.
    EXPECT_DOUBLE_EQ(lines[3].y, 14300 + 3 * 184);
    EXPECT_EQ(lines[3].sheet, 0);
    EXPECT_EQ(lines[4].sheet, 1);
    EXPECT_DOUBLE_EQ(lines[4].y, 2000);
    EXPECT_EQ(lines[4].x, 100);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, "Line " + std::to_string(i));
        EXPECT_LE(lines[i].y + 184, 15120) << i;
    }
    EXPECT_EQ(page.sheets(), 1 + (300 - 4 + 70) / 71);  // 71 lines from 2000 on each further sheet
    EXPECT_EQ(page.endCount(), 1);
}

TEST_F(CalculationReportTest, LongAndEmptyFieldsPrintAsTheyStand) {
    const std::string longText(500, 'W');
    for (const FieldInfo& info : AllFields())
        ws.Set(info.field, longText);
    for (int i = 0; i < 100; ++i)
        test::SetRow(ws.EquipmentList(), i, {longText.c_str(), longText.c_str(), "", ""});
    Print();
    EXPECT_EQ(page.Find(longText).size(), 200u + 7 + 3);  // equipment cells, header values, ranges
    EXPECT_EQ(page.endCount(), 1);

    Worksheet empty;
    ClearWorksheet(empty, false);
    RecordingPage blank;
    PrintCalculationReport(MakeReportInput(empty, "Tach", {}, std::nullopt, std::nullopt), blank);
    EXPECT_EQ(blank.endCount(), 1);
    EXPECT_TRUE(blank.Find("Scale locations").empty());
}

}  // namespace
}  // namespace wb
