// The empty-weight C.G. range on paper: the check line, the ballast and the chart, placed
// after everything else where they fit, and the chart itself.
#include "reports/CgLimits.h"

#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"
#include "worksheet/Balance.h"

namespace wb {
namespace {

using test::PrintedAt;

// The published example, typed as a previous empty weight and C.G. without a weighing.
Worksheet ExampleWorksheet() {
    Worksheet ws = test::SampleWorksheet();
    for (int n = 0; n < 5; ++n) {
        for (int c : {scale::Tar, scale::Wgt, scale::Arm})
            ws.ScaleRows().At(n, c) = "";
        ws.FluidRows().At(n, fluid::Wgt) = "";
    }
    for (int r = 1; r < 30; ++r)
        for (int c = 0; c < installed::Count; ++c)
            ws.InstalledList().At(r, c) = Entry();
    ws.Set(Field::Empty, "1876");
    ws.Set(Field::CG, "32.2");
    ws.Set(Field::Range3, "+33.0 to +42.5");
    ws.Set(Field::BallastArm, "228");
    RebuildPreviousEmptyRow(ws, Field::CG);
    return ws;
}

TEST(CgLimitsReport, CheckAndBallastFollowTheNotesWhereTheyFit) {
    const ReportInput in = test::SampleInput(ExampleWorksheet());
    RecordingPage page;
    PrintCalculationReport(in, page);
    const RecordedText notes = page.One("Weighed with unusable fuel and full oil.");
    const double top = notes.y + 8 * 23 + 100;
    EXPECT_TRUE(PrintedAt(page, "New A/C Empty C.G. +32.20: OUTSIDE empty weight C.G. range +33.0 to +42.5",
                          100, top));
    EXPECT_TRUE(PrintedAt(page, "Ballast needed at +228.00: 7.70, rounded up to 8; C.G. with ballast +33.03",
                          100, top + 10 * 23));
    EXPECT_GE(page.One("New +32.20").y, top + 2 * 10 * 23);
    EXPECT_EQ(page.sheets(), 1);
    // Clear of the signature line.
    for (const RecordedText& t : page.texts())
        EXPECT_TRUE(t.y < top || t.y >= 14500 || t.y + t.font.size * 23 <= 14400) << t.text;
}

TEST(CgLimitsReport, WithoutRoomTheyGoToAFreshSheetAndWithoutARangeNowhere) {
    // The weighing's table leaves no room below the notes: a fresh sheet, 2000 from its top.
    ReportInput in = test::SampleInput();
    in.Set(Field::Range3, "35.0 - 80.0");
    RecordingPage page;
    PrintCalculationReport(in, page);
    const RecordedText line = page.One("New A/C Empty C.G. +70.49: within empty weight C.G. range");
    EXPECT_EQ(line.sheet, 1);
    EXPECT_EQ(line.y, 2000);
    EXPECT_EQ(page.One("Weighed with unusable fuel and full oil.").sheet, 0);
    EXPECT_EQ(page.endCount(), 1);

    in.Set(Field::Range3, "see type certificate");
    RecordingPage none;
    PrintCalculationReport(in, none);
    EXPECT_EQ(none.sheets(), 1);
    EXPECT_TRUE(none.Find("New +70.49").empty());
}

TEST(CgLimitsChart, LimitsTicksAndMarksStayInsideTheChart) {
    EmptyCgLimits limits = *EvaluateEmptyCg("35.0 - 42.5", "36", 1876, 300, "");
    RecordingPage page;
    page.SetFont(PageFont{"Times New Roman", 12, true, false});
    const double height = DrawEmptyCgChart(page, limits, 1000, 5000, 6000);
    EXPECT_EQ(height, EmptyCgChartHeight());
    EXPECT_EQ(page.Font(), (PageFont{"Times New Roman", 12, true, false}));  // the report's font is kept

    for (const RecordedText& t : page.texts()) {
        const double w = static_cast<double>(t.text.size()) * t.font.size * RecordingPage::kCharWidthPerPoint;
        EXPECT_GE(t.x, 1000) << t.text;
        EXPECT_LE(t.x + w, 7000) << t.text;
        EXPECT_GE(t.y, 5000) << t.text;
        EXPECT_LE(t.y + t.font.size * 23, 5000 + height) << t.text;
    }
    // A mark far off the range stands at the edge of the axis with its value.
    const RecordedText mark = page.One("New +300.00");
    const RecordedText aft = page.One("+42.5");
    const RecordedText forward = page.One("+35.0");
    EXPECT_LT(forward.x, aft.x);
    EXPECT_GT(mark.x, aft.x);
    ASSERT_FALSE(page.Find("40").empty());  // ticks at round arms
    EXPECT_GT(page.One("40").x, forward.x);
    EXPECT_LT(page.One("40").x, aft.x);

    // A narrow chart keeps the two limit labels apart.
    RecordingPage narrow;
    DrawEmptyCgChart(narrow, *EvaluateEmptyCg("33.00 - 33.05", "", 0, 0, ""), 0, 0, 1500);
    const RecordedText lo = narrow.One("+33.00"), hi = narrow.One("+33.05");
    EXPECT_LE(lo.x + 6 * lo.font.size * RecordingPage::kCharWidthPerPoint, hi.x);
}

}  // namespace
}  // namespace wb
