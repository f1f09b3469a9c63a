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

// The signed change reports say where the C.G. stands and the ballast it needs, as the
// calculation report does.
TEST(ChangeReport, BothSayWhereTheCgStandsAndTheBallast) {
    Worksheet ws = test::SampleWorksheet();
    ws.Set(Field::BallastArm, "10");
    for (auto print : {PrintFullChangeReport, PrintCompactChangeReport}) {
        RecordingPage page;
        print(test::SampleInput(ws), page);
        const RecordedText verdict =
            page.One("New A/C Empty C.G. +70.49 in: OUTSIDE empty weight C.G. range +35.0 to +40.0 in");
        EXPECT_TRUE(verdict.font.bold);
        const RecordedText ballast = page.One(
            "Ballast needed at +10.00 in: 1522.85 lb, rounded up to 1523 lb; C.G. with ballast +40.00 in");
        EXPECT_EQ(ballast.y, verdict.y + verdict.font.size * 23);
        EXPECT_GT(verdict.y, page.One("New Aircraft Values").y);
    }
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
    // Under the frame: where the new empty C.G. stands, as the calculation report says it, then
    // the notes.
    const double bottom = half - 400 + 8 * 23 + 30;
    EXPECT_TRUE(PrintedAt(page,
                          "New A/C Empty C.G. +70.49 in: OUTSIDE empty weight C.G. range +35.0 to +40.0 in",
                          100, bottom + 60));
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, bottom + 60 + 8 * 23 + 60));
}

}  // namespace
}  // namespace wb
