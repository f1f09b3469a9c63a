// The full change report lists removed rows first, the compact half page installed rows first.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"
#include "worksheet/Balance.h"

namespace wb {
namespace {

using test::LineAt;
using test::PrintedAt;
using Texts = std::vector<std::string>;

TEST(ChangeReport, FullListsRemovedThenInstalledAndARowMarkedTwiceInBoth) {
    Worksheet ws = test::SampleWorksheet();
    test::SetRow(ws.InstalledList(), 3, {"Both Ways", "B-3", "1", "2", "", "X", "X"});
    CommitRowMoment(ws, GridId::Grid1, 3);
    RecordingPage page;
    PrintFullChangeReport(test::SampleInput(ws), page);
    // The rule under the 11 pt headings clears their feet; the rows follow it down.
    const double shift = 30 + 11 * 23 + 30 - 300;
    const double first = test::BodyTop(page) + 1770 + shift;
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, first));
    EXPECT_EQ(LineAt(page, first + 400), (Texts{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, first + 800));
    EXPECT_EQ(LineAt(page, first + 1200), (Texts{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
}

// The compact report stays within the top half of the sheet, its notes under the frame.
TEST(ChangeReport, CompactListsInstalledFirstWithinTheTopHalf) {
    RecordingPage page;
    PrintCompactChangeReport(test::SampleInput(), page);
    // Each rule clears the feet of the 8 pt line above it by 30; the rule under the headings
    // clears the 6 pt "Removed" at 60, and the rows follow it down.
    const double frame = 602 + 30 + 400 + 184 + 30, shift = 60 + 6 * 23 + 30 - 200, half = 15120 / 2.0;
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, frame + 400 + shift));
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, frame + 850 + shift));
    EXPECT_TRUE(
        PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, half - 400 + 8 * 23 + 30 + 100));
}

}  // namespace
}  // namespace wb
