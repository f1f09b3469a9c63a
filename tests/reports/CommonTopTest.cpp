// The company header, title, aircraft header, new values and C.G. ranges that head the
// calculation report and the full change report.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/PageBlocks.h"
#include "reports/Reports.h"

namespace wb {
namespace {

using test::PrintedAt;
using test::RightAlignedAt;

class CommonTopTest : public ::testing::Test {
  protected:
    double Top(TitleField title = TitleField::EquipTitle) { return PrintCommonTop(page, in, title); }
    // x of a text centred across the recording page in a font of this size.
    static double Centred(const std::string& text, double size) {
        return (11520 - text.size() * size * 10) / 2;
    }

    ReportInput in = test::SampleInput();
    RecordingPage page;
};

TEST_F(CommonTopTest, CompanyHeaderInTheDefaultFontThenArial12) {
    const double pageTop = Top();
    EXPECT_TRUE(page.UnitsAreTwips());

    const RecordedText name = page.One("Acme Aviation Services");
    EXPECT_EQ(name.font, (PageFont{"Arial", 18, true, false}));
    EXPECT_DOUBLE_EQ(name.x, Centred(name.text, 18));
    EXPECT_DOUBLE_EQ(name.y, 50);

    // The next line starts one name height (18 pt) below 50; the lines follow 200 apart.
    const RecordedText address = page.One("12 Hangar Road");
    EXPECT_EQ(address.font, (PageFont{"Arial", 12, false, false}));
    EXPECT_DOUBLE_EQ(address.x, Centred(address.text, 12));
    EXPECT_DOUBLE_EQ(address.y, 18 * 23 + 50);
    EXPECT_DOUBLE_EQ(page.One("Springfield, IL 62701").y, 664);
    EXPECT_DOUBLE_EQ(page.One("(217) 555-0100").y, 864);

    const RecordedText title = page.One("Weight and Balance Report");
    EXPECT_EQ(title.font, (PageFont{"Arial", 12, true, false}));
    EXPECT_DOUBLE_EQ(title.x, Centred(title.text, 12));
    EXPECT_DOUBLE_EQ(title.y, 1264);
    EXPECT_TRUE(page.Find("Weight and Balance Revision").empty());

    EXPECT_DOUBLE_EQ(pageTop, 1264 + 1300);
    EXPECT_TRUE(page.HasLine(100, pageTop, 11510, pageTop, 4));
    EXPECT_TRUE(page.HasLine(4100, pageTop, 4100, pageTop + 1000, 4));
}

TEST_F(CommonTopTest, AircraftHeaderRowsAndTheRightColumnFromThePrintableWidth) {
    RecordingPage wide(12000);
    const double pageTop = PrintCommonTop(wide, in, TitleField::FormTitle) - 1300;
    EXPECT_DOUBLE_EQ(pageTop, 1264);
    EXPECT_EQ(wide.One("Weight and Balance Revision").y, 1264);

    struct Row {
        double dy;
        const char *leftLabel, *leftValue, *rightLabel, *rightValue;
    };
    const Row rows[] = {
        {300, "Reg. Number:", "N123AB", "Date:", "03-14-2024"},
        {510, "Make/Model:", "Cessna  172N", "Hobbs:", "4521.3"},
        {720, "Year:", "1978", "Max Weight:", "2300"},
        {930, "Serial Number:", "17265432", "Work Order:", "WO-7781"},
    };
    for (const Row& r : rows) {
        const double y = pageTop + r.dy;
        EXPECT_TRUE(PrintedAt(wide, r.leftLabel, 100, y));
        EXPECT_TRUE(PrintedAt(wide, r.leftValue, 1800, y));
        EXPECT_TRUE(PrintedAt(wide, r.rightLabel, 12000 - 3500, y));
        EXPECT_TRUE(PrintedAt(wide, r.rightValue, 12000 - 1600, y));
    }
    EXPECT_EQ(wide.One("Reg. Number:").font, (PageFont{"Arial", 11, false, false}));
}

TEST_F(CommonTopTest, HeaderValuesAreTrimmed) {
    in.Set(Field::Tail, "  N9  ");
    in.Set(Field::Make, " Piper ");
    in.Set(Field::Model, "PA-28 ");
    Top();
    EXPECT_EQ(page.Find("N9").size(), 1u);
    EXPECT_EQ(page.Find("Piper  PA-28").size(), 1u);
}

TEST_F(CommonTopTest, ReportFontRowHeadsTheNameOnly) {
    CompanyRow fontRow = ReportFontRow({"Times New Roman", 14, false, true});
    in.reportFontRow = fontRow;
    Top();
    EXPECT_EQ(page.One("Acme Aviation Services").font, (PageFont{"Times New Roman", 14, false, true}));
    const RecordedText address = page.One("12 Hangar Road");
    EXPECT_EQ(address.font, (PageFont{"Arial", 12, false, false}));
    EXPECT_DOUBLE_EQ(address.y, 14 * 23 + 50);

    // A row without a size would print the name at no size at all: the default size stands in.
    fontRow.CompCSZ = "";
    in.reportFontRow = fontRow;
    RecordingPage again;
    PrintCommonTop(again, in, TitleField::EquipTitle);
    EXPECT_EQ(again.One("Acme Aviation Services").font.size, 18);
}

TEST_F(CommonTopTest, NullNameLeavesTheOtherLinesInTheReportFontFromTheTop) {
    in.company->CompName.reset();
    in.company->CompCSZ.reset();
    const double pageTop = Top() - 1300;
    const RecordedText address = page.One("12 Hangar Road");
    EXPECT_EQ(address.font, (PageFont{"Arial", 18, true, false}));
    EXPECT_DOUBLE_EQ(address.y, 0);
    EXPECT_DOUBLE_EQ(address.x, Centred(address.text, 18));
    // A Null line is left out but its 200 twips are kept.
    EXPECT_DOUBLE_EQ(page.One("(217) 555-0100").y, 400);
    EXPECT_DOUBLE_EQ(pageTop, 800);
}

TEST_F(CommonTopTest, WithoutCompanyInfoTheTitleStartsAt100) {
    in.options.company = false;
    const double pageTop = Top() - 1300;
    EXPECT_DOUBLE_EQ(pageTop, 100);
    EXPECT_TRUE(page.Find("Acme Aviation Services").empty());
    EXPECT_TRUE(page.Find("12 Hangar Road").empty());
    EXPECT_TRUE(page.Find("(217) 555-0100").empty());
    EXPECT_DOUBLE_EQ(page.One("Weight and Balance Report").y, 100);
    EXPECT_DOUBLE_EQ(page.One("Reg. Number:").y, 400);
}

TEST_F(CommonTopTest, AnEmptyCompanyTableGivesNoHeaderAndNoTitle) {
    in.company.reset();
    const double pageTop = Top() - 1300;
    EXPECT_DOUBLE_EQ(pageTop, 0 + 200 + 200 + 400);
    EXPECT_DOUBLE_EQ(page.One("Reg. Number:").y, 1100);
    for (const auto& t : page.texts())
        EXPECT_GE(t.y, 1100) << t.text;
}

TEST_F(CommonTopTest, NewValuesAndUsefulLoadRightAlignedAt4000) {
    in.Set(Field::Text23, "1507.50");
    in.Set(Field::Text24, "70.38");
    in.Set(Field::MaxWt, "2300 lb");
    const double pageTop = Top();
    EXPECT_TRUE(PrintedAt(page, "New A/C Empty Weight:", 100, pageTop + 100));
    EXPECT_TRUE(RightAlignedAt(page, "1507.50", 4000, pageTop + 100));
    EXPECT_TRUE(PrintedAt(page, "New A/C Empty C.G.:", 100, pageTop + 400));
    EXPECT_TRUE(RightAlignedAt(page, "70.38", 4000, pageTop + 400));
    EXPECT_TRUE(PrintedAt(page, "New A/C Useful Load:", 100, pageTop + 700));
    EXPECT_TRUE(RightAlignedAt(page, "792.50", 4000, pageTop + 700));
}

TEST_F(CommonTopTest, EmptyNewWeightPrintsPointZeroZeroAndTheUsefulLoadIsTheMaximum) {
    in.Set(Field::Text23, "");
    in.Set(Field::Text24, "abc");
    const double pageTop = Top();
    EXPECT_TRUE(RightAlignedAt(page, ".00", 4000, pageTop + 100));
    EXPECT_TRUE(RightAlignedAt(page, ".00", 4000, pageTop + 400));
    EXPECT_TRUE(RightAlignedAt(page, "2300.00", 4000, pageTop + 700));
}

TEST_F(CommonTopTest, RangesOnlyWhenAskedAndTheyLeave12Points) {
    const double pageTop = Top();
    const RecordedText landing = page.One("Landing C.G. Range:");
    EXPECT_EQ(landing.font.size, 10);
    EXPECT_TRUE(PrintedAt(page, "Landing C.G. Range:", 4300, pageTop + 100));
    EXPECT_TRUE(PrintedAt(page, "35.0 - 47.3", 6900, pageTop + 100));
    EXPECT_TRUE(PrintedAt(page, "Gear Extended C.G. Range:", 4300, pageTop + 400));
    EXPECT_TRUE(PrintedAt(page, "n/a", 6900, pageTop + 400));
    EXPECT_TRUE(PrintedAt(page, "Empty Weight C.G. Range:", 4300, pageTop + 700));
    EXPECT_TRUE(PrintedAt(page, "35.0 - 40.0", 6900, pageTop + 700));
    EXPECT_EQ(page.Font().size, 12);

    in.options.ranges = false;
    RecordingPage without;
    PrintCommonTop(without, in, TitleField::EquipTitle);
    EXPECT_TRUE(without.Find("Landing C.G. Range:").empty());
    EXPECT_EQ(without.Font().size, 11);
}

}  // namespace
}  // namespace wb
