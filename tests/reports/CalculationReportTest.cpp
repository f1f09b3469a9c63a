// The weighing report: scale table, fluids and totals, the equipment list in two halves, the notes.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/PageBlocks.h"
#include "reports/Reports.h"

namespace wb {
namespace {

using test::LineAt;
using test::PrintedAt;
using Texts = std::vector<std::string>;

constexpr double kLine11 = 11 * 23;  // one line of 11 pt on the recording page

RecordingPage Printed(const Worksheet& ws) {
    RecordingPage page;
    PrintCalculationReport(test::SampleInput(ws), page);
    return page;
}

TEST(CalculationReport, ScaleRowsFluidRowAndTotals) {
    const RecordingPage page = Printed(test::SampleWorksheet());
    const double pageTop = test::BodyTop(page), y0 = pageTop + 1370 + kLine11;
    EXPECT_EQ(LineAt(page, y0), (Texts{"Right Main", "2.50", "612.50", "80.00", "48800.0"}));
    EXPECT_TRUE(test::RightAlignedAt(page, "48800.0", 11200, y0));
    EXPECT_EQ(LineAt(page, pageTop + 2853 + kLine11),
              (Texts{"Forward Tanks", "xxxxxxxx", "-10.00", "50.00", "-500.0"}));
    EXPECT_EQ(LineAt(page, 7050), (Texts{"Weighed Aircraft Values", "1497.50", "70.52", "105600.0"}));
}

TEST(CalculationReport, EquipmentRowsFillTwoHalvesOfFifty) {
    Worksheet ws = test::SampleWorksheet();
    for (int i = 0; i < 101; ++i) {
        const std::string n = std::to_string(i);
        test::SetRow(ws.EquipmentList(), i,
                     {("Item " + n).c_str(), ("S" + n).c_str(), std::to_string(i + 1).c_str(), "10"});
    }
    test::SetRow(ws.EquipmentList(), 1, {"Item 1", "S1", "1.5 lb", ""});
    const RecordingPage page = Printed(ws);
    // The list starts 200 under the scale table, whose foot clears its 12 pt totals label.
    const double top = 7050 + 12 * 23 + 30 + 200;
    EXPECT_TRUE(PrintedAt(page, "Item 49", 200, top + 350 + 110 * 49));
    // Text that is not a number prints as it stands; without an arm there is no moment.
    EXPECT_EQ(LineAt(page, top + 350 + 110),
              (Texts{"Item 1", "S1", "1.5 lb", "Item 51", "S51", "52.00", "10.00", "520.0"}));
    EXPECT_TRUE(page.Find("Item 100").empty());
}

TEST(CalculationReport, NotesContinueOnNewSheetsAt2000) {
    Worksheet ws = test::SampleWorksheet();
    std::string memo;
    for (int i = 0; i < 300; ++i)
        memo += "Line " + std::to_string(i) + "\r\n";
    ws.Set(Field::Memo, memo);
    const RecordingPage page = Printed(ws);
    // Two 8 pt lines end above the sheet stamp's room, the third moves on; none is lost.
    EXPECT_EQ(page.One("Line 1").sheet, 0);
    EXPECT_EQ(page.One("Line 2").sheet, 1);
    EXPECT_TRUE(PrintedAt(page, "Line 2", 100, 2000));
    EXPECT_EQ(page.One("Line 299").sheet, page.sheets() - 1);
}

// Under the header every full-size report gives the useful load.
TEST(CommonTop, UsefulLoadRightAlignedAt4000) {
    ReportInput in = test::SampleInput();
    in.Set(Field::Text23, "1507.50");  // the useful load is the maximum weight less this
    in.Set(Field::MaxWt, "2300 lb");
    RecordingPage page;
    const double top = PrintCommonTop(page, in, TitleField::EquipTitle);
    EXPECT_TRUE(test::RightAlignedAt(page, "792.50 lb", 4000, top + 700));

    // Without a maximum weight there is no useful load, not a negative one.
    in.Set(Field::MaxWt, "");
    RecordingPage without;
    PrintCommonTop(without, in, TitleField::EquipTitle);
    EXPECT_EQ(LineAt(without, top + 700),
              (Texts{"New A/C Useful Load:", "Empty Weight C.G. Range:", "35.0 - 40.0"}));
}

}  // namespace
}  // namespace wb
