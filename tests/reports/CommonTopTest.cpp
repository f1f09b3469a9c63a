// The company header, title, aircraft header and new values that head the full-size reports.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/PageBlocks.h"

namespace wb {
namespace {

using test::PrintedAt;
using test::RightAlignedAt;

class CommonTopTest : public ::testing::Test {
  protected:
    double Top() { return PrintCommonTop(page, in, TitleField::EquipTitle); }
    static double Centred(const std::string& text, double size) {
        return (11520 - text.size() * size * 10) / 2;
    }

    ReportInput in = test::SampleInput();
    RecordingPage page;
};

TEST_F(CommonTopTest, CompanyHeaderInTheDefaultFontThenArial12) {
    const double pageTop = Top();
    const RecordedText name = page.One("Acme Aviation Services");
    EXPECT_EQ(name.font, (PageFont{"Arial", 18, true, false}));
    EXPECT_TRUE(PrintedAt(page, name.text, Centred(name.text, 18), 50));
    // One name height (18 pt) below 50, then a 12 pt line apart, in Arial 12, so none touches.
    const RecordedText address = page.One("12 Hangar Road");
    EXPECT_EQ(address.font, (PageFont{"Arial", 12, false, false}));
    EXPECT_TRUE(PrintedAt(page, address.text, Centred(address.text, 12), 18 * 23 + 50));
    EXPECT_EQ(page.One("(217) 555-0100").y, 464 + 2 * 276);
    const RecordedText title = page.One("Weight and Balance Report");
    EXPECT_EQ(title.font, (PageFont{"Arial", 12, true, false}));
    EXPECT_TRUE(PrintedAt(page, title.text, Centred(title.text, 12), 1416));

    EXPECT_EQ(pageTop, 1416 + 1300);
    EXPECT_TRUE(page.HasLine(100, pageTop, 11510, pageTop, 4));
    EXPECT_TRUE(page.HasLine(4100, pageTop, 4100, pageTop + 1000, 4));
}

TEST_F(CommonTopTest, AircraftHeaderRightColumnFollowsThePrintableWidth) {
    RecordingPage wide(12000);
    PrintCommonTop(wide, in, TitleField::FormTitle);
    EXPECT_EQ(wide.One("Weight and Balance Revision").y, 1416);
    EXPECT_TRUE(PrintedAt(wide, "N123AB", 1800, 1716));
    EXPECT_TRUE(PrintedAt(wide, "Date:", 12000 - 3500, 1716));
    EXPECT_TRUE(PrintedAt(wide, "03-14-2024", 12000 - 1600, 1716));
    EXPECT_TRUE(PrintedAt(wide, "WO-7781", 10400, 2346));
}

TEST_F(CommonTopTest, ReportFontRowHeadsTheNameOnly) {
    CompanyRow fontRow = ReportFontRow({"Times New Roman", 14, false, true});
    in.reportFontRow = fontRow;
    Top();
    EXPECT_EQ(page.One("Acme Aviation Services").font, (PageFont{"Times New Roman", 14, false, true}));
    EXPECT_EQ(page.One("12 Hangar Road").font, (PageFont{"Arial", 12, false, false}));
    EXPECT_EQ(page.One("12 Hangar Road").y, 14 * 23 + 50);
}

// A Null name leaves the other lines in the report font from the top; without company
// information only the title is printed, from 100, and an empty company table prints neither.
TEST_F(CommonTopTest, WithoutTheNameOrTheCompanyInformation) {
    in.company->CompName.reset();
    in.company->CompCSZ.reset();
    EXPECT_EQ(Top(), 414 + 200 + 400 + 1300);
    const RecordedText address = page.One("12 Hangar Road");
    EXPECT_EQ(address.font, (PageFont{"Arial", 18, true, false}));
    EXPECT_TRUE(PrintedAt(page, address.text, Centred(address.text, 18), 0));
    EXPECT_EQ(page.One("(217) 555-0100").y, 414 + 200);  // an 18 pt line, then the Null line's 200

    in.options.company = false;
    RecordingPage titleOnly;
    EXPECT_EQ(PrintCommonTop(titleOnly, in, TitleField::EquipTitle), 100 + 1300);
    EXPECT_TRUE(titleOnly.Find("12 Hangar Road").empty());
    EXPECT_EQ(titleOnly.One("Weight and Balance Report").y, 100);
    EXPECT_EQ(titleOnly.One("Reg. Number:").y, 400);

    in.options.company = true;
    in.company.reset();
    RecordingPage none;
    EXPECT_EQ(PrintCommonTop(none, in, TitleField::EquipTitle), 800 + 1300);
    EXPECT_TRUE(none.Find("Weight and Balance Report").empty());
}

TEST_F(CommonTopTest, NewValuesAndUsefulLoadRightAlignedAt4000) {
    in.Set(Field::Text23, "1507.50");
    in.Set(Field::MaxWt, "2300 lb");
    const double pageTop = Top();
    EXPECT_TRUE(PrintedAt(page, "New A/C Empty Weight:", 100, pageTop + 100));
    EXPECT_TRUE(RightAlignedAt(page, "1507.50", 4000, pageTop + 100));
    EXPECT_TRUE(RightAlignedAt(page, "70.49", 4000, pageTop + 400));
    EXPECT_TRUE(PrintedAt(page, "New A/C Useful Load:", 100, pageTop + 700));
    EXPECT_TRUE(RightAlignedAt(page, "792.50", 4000, pageTop + 700));
}

}  // namespace
}  // namespace wb
