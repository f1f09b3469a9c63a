// The equipment change reports: the full page with removed rows first, and the compact half
// page with installed rows first.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"
#include "worksheet/Balance.h"

namespace wb {
namespace {

using test::LineAt;
using test::PrintedAt;
using test::RightAlignedAt;
using Texts = std::vector<std::string>;

class ChangeReportTest : public ::testing::Test {
  protected:
    void Mark(int row, const std::string& description, const char* in, const char* out) {
        test::SetRow(ws.InstalledList(), row, {description.c_str(), "B-3", "1", "2", "", in, out});
        CommitRowMoment(ws, GridId::Grid1, row);
    }
    void PrintFull() {
        in = test::SampleInput(ws);
        PrintFullChangeReport(in, page);
        pageTop = test::BodyTop(page);
    }

    Worksheet ws = test::SampleWorksheet();
    ReportInput in;
    RecordingPage page;
    double pageTop = 0;
};

TEST_F(ChangeReportTest, FullFramePreviousValuesAndTotals) {
    PrintFull();
    // The totals band is deep enough for its 12 pt label.
    EXPECT_TRUE(page.HasLine(100, pageTop + 1000, 11510, 12700 + 12 * 23, 4, true));
    const RecordedText removed = page.Find("Removed").front();  // the mark heading inside its band
    EXPECT_EQ(removed.x, 10930);
    EXPECT_TRUE(removed.y > pageTop + 1000 && removed.y + removed.font.size * 23 <= pageTop + 1300);
    EXPECT_TRUE(PrintedAt(page, "New Aircraft Values", 1200, 12700));

    const double y = pageTop + 1370;
    EXPECT_EQ(LineAt(page, y),
              (Texts{"Previous Aircraft Empty", "17265432", "1497.50", "70.52", "105600.0", "n/a", "n/a"}));
    EXPECT_TRUE(PrintedAt(page, "n/a", 11050, y));

    // The weight and moment totals are the sums of their columns.
    test::ExpectRightEdges(page, 12700, {"1498.20", "70.49", "105613.6"}, {7000, 8500, 10200});

    EXPECT_TRUE(page.HasLine(8500, 13500, 11410, 13500, 4));
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, 12976 + 60));
}

TEST_F(ChangeReportTest, FullListsRemovedThenInstalledAndARowMarkedTwiceInBoth) {
    Mark(3, "Both Ways", "X", "X");
    PrintFull();
    const double first = pageTop + 1770;
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, first));
    EXPECT_TRUE(page.AtY(first).front().font.bold);
    EXPECT_EQ(LineAt(page, first + 200), (Texts{"Radio KX-155", "R-1", "5.50", "15.00", "82.5", "X"}));
    EXPECT_TRUE(PrintedAt(page, "X", 11100, first + 200));
    EXPECT_EQ(LineAt(page, first + 400), (Texts{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
    EXPECT_TRUE(LineAt(page, first + 600).empty());
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, first + 800));
    EXPECT_EQ(LineAt(page, first + 1000), (Texts{"Radio GNC 255", "G-9", "6.20", "15.50", "96.1", "X"}));
    EXPECT_TRUE(PrintedAt(page, "X", 10550, first + 1000));
    EXPECT_EQ(LineAt(page, first + 1200), (Texts{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
}

TEST_F(ChangeReportTest, FullWithNoRowMarked) {
    for (int r = 1; r < 30; ++r)
        Mark(r, "Item", "x", "");  // marks are case-sensitive
    PrintFull();
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, pageTop + 1770));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, pageTop + 2170));
    EXPECT_TRUE(page.Find("Item").empty());
    // Bold ends with the last heading even though no row followed it.
    ASSERT_EQ(page.AtY(12700).size(), 4u);
    for (const auto& t : page.AtY(12700))
        EXPECT_FALSE(t.font.bold) << t.text;
}

TEST_F(ChangeReportTest, NoWeighingAndNoPreviousEmptyRowPrintsZeros) {
    for (RowStore* rows : {&ws.ScaleRows(), &ws.FluidRows()})
        for (Entry& e : rows->entries)
            e = Entry();
    for (int c = 0; c < installed::Count; ++c)
        ws.InstalledList().At(0, c) = Entry();
    ws.Set(Field::Empty, "");
    ws.Set(Field::CG, "");
    Recalculate(ws);
    in = test::SampleInput(ws);
    PrintFullChangeReport(in, page);
    EXPECT_EQ(LineAt(page, test::BodyTop(page) + 1370),
              (Texts{"Previous Aircraft Empty", "17265432", "0.00", "0.00", "0.0", "n/a", "n/a"}));
}

TEST_F(ChangeReportTest, CompactHeaderLinesAndBodyWithInstalledFirst) {
    in = test::SampleInput(ws);
    PrintCompactChangeReport(in, page);
    const RecordedText name = page.One("Acme Aviation Services  ");
    EXPECT_TRUE(PrintedAt(page, name.text, 100, 50));
    EXPECT_EQ(name.font, (PageFont{"Arial", 8, true, false}));
    EXPECT_TRUE(PrintedAt(page, "(217) 555-0100" + std::string(14, ' '), 100 + 63 * 80, 50));
    // Centred it would run over the phone number: the title follows the company details.
    EXPECT_TRUE(PrintedAt(page, "Weight and Balance Revision", 100 + 91 * 80, 50));
    EXPECT_TRUE(PrintedAt(page, "Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432",
                          100, 234));
    EXPECT_TRUE(
        PrintedAt(page, "Date: 03-14-2024 /Hobbs: 4521.3 /Max. Weight: 2300 /Work Order: WO-7781", 100, 418));

    const double top = 602;
    EXPECT_TRUE(PrintedAt(page, "J. Mechanic,  A&P 1234567", 8500, top));
    EXPECT_TRUE(PrintedAt(page, "Landing C.G. Range:", 4300, top));

    // Within the top half of the sheet.
    const double frame = top + 400 + 184, half = 15120 / 2.0;
    EXPECT_TRUE(page.HasLine(100, frame, 11510, half - 200, 4, true));
    EXPECT_TRUE(PrintedAt(page, "Previous Aircraft Empty", 200, frame + 200));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, frame + 400));
    EXPECT_TRUE(PrintedAt(page, "Radio GNC 255", 200, frame + 550));
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, frame + 850));
    EXPECT_TRUE(PrintedAt(page, "Radio KX-155", 200, frame + 1000));
    EXPECT_TRUE(RightAlignedAt(page, "105613.6", 10200, half - 400));
    // The notes start under the frame, not inside it.
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, half - 200 + 100));
}

TEST_F(ChangeReportTest, CompactTitleCentredWhenItFitsOrWithoutCompanyInfo) {
    in = test::SampleInput(ws);
    in.company->CompAddress.reset();
    in.company->CompCSZ.reset();
    PrintCompactChangeReport(in, page);
    EXPECT_TRUE(PrintedAt(page, "Weight and Balance Revision", (11520 - 27 * 80) / 2.0, 50));

    in.options.company = false;  // the title in the printer's own font at y = 100
    RecordingPage plain;
    PrintCompactChangeReport(in, plain);
    EXPECT_TRUE(plain.Find("Acme Aviation Services  ").empty());
    EXPECT_TRUE(PrintedAt(plain, "Weight and Balance Revision", (11520 - 27 * 100) / 2.0, 100));
}

}  // namespace
}  // namespace wb
