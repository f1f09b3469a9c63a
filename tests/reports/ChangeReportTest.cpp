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
    EXPECT_TRUE(PrintedAt(page, "New Aircraft Values", 1200, 12700));

    const double y = pageTop + 1370;
    EXPECT_EQ(LineAt(page, y),
              (Texts{"Previous Aircraft Empty", "17265432", "1497.50", "70.52", "105600.0", "n/a", "n/a"}));

    // The weight and moment totals are the sums of their columns.
    test::ExpectRightEdges(page, 12700, {"1498.20", "70.49", "105613.6"}, {7000, 8500, 10200});
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, 12976 + 60));
}

TEST_F(ChangeReportTest, FullListsRemovedThenInstalledAndARowMarkedTwiceInBoth) {
    Mark(3, "Both Ways", "X", "X");
    PrintFull();
    const double first = pageTop + 1770;
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, first));
    EXPECT_TRUE(page.AtY(first).front().font.bold);
    EXPECT_EQ(LineAt(page, first + 200), (Texts{"Radio KX-155", "R-1", "5.50", "15.00", "82.5", "X"}));
    EXPECT_EQ(LineAt(page, first + 400), (Texts{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
    EXPECT_TRUE(LineAt(page, first + 600).empty());
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, first + 800));
    EXPECT_EQ(LineAt(page, first + 1000), (Texts{"Radio GNC 255", "G-9", "6.20", "15.50", "96.1", "X"}));
    EXPECT_EQ(LineAt(page, first + 1200), (Texts{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
}

TEST_F(ChangeReportTest, CompactHeaderLinesAndBodyWithInstalledFirst) {
    in = test::SampleInput(ws);
    PrintCompactChangeReport(in, page);
    EXPECT_TRUE(PrintedAt(page, "Acme Aviation Services  ", 100, 50));
    // Centred it would run over the phone number: the title follows the company details.
    EXPECT_TRUE(PrintedAt(page, "Weight and Balance Revision", 100 + 91 * 80, 50));
    EXPECT_TRUE(PrintedAt(page, "Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432",
                          100, 234));
    const double top = 602;

    // Within the top half of the sheet.
    const double frame = top + 400 + 184, half = 15120 / 2.0;
    EXPECT_TRUE(page.HasLine(100, frame, 11510, half - 200, 4, true));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, frame + 400));
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, frame + 850));
    EXPECT_TRUE(RightAlignedAt(page, "105613.6", 10200, half - 400));
    // The notes start under the frame, not inside it.
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, half - 200 + 100));
}

}  // namespace
}  // namespace wb
