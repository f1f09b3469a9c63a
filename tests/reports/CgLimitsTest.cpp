// The empty-weight C.G. range on paper: after the notes, clear of the signature line.
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
    Worksheet ws = test::Figure10Worksheet();  // no weighing and no changes
    ws.loading = LoadingTexts{};
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
    EXPECT_TRUE(PrintedAt(
        page, "New A/C Empty C.G. +32.20 in: OUTSIDE empty weight C.G. range +33.0 to +42.5 in", 100, top));
    EXPECT_TRUE(PrintedAt(
        page, "Ballast needed at +228.00 in: 7.70 lb, rounded up to 8 lb; C.G. with ballast +33.03 in", 100,
        top + 10 * 23));
    EXPECT_EQ(page.sheets(), 1);
    // Clear of the signature line.
    for (const RecordedText& t : page.texts())
        EXPECT_TRUE(t.y < top || t.y >= 14500 || t.y + t.font.size * 23 <= 14400) << t.text;
}

}  // namespace
}  // namespace wb
