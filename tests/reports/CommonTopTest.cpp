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
    EXPECT_EQ(page.One("12 Hangar Road").font, (PageFont{"Arial", 12, false, false}));
    const RecordedText title = page.One("Weight and Balance Report");
    EXPECT_EQ(title.font, (PageFont{"Arial", 12, true, false}));
    EXPECT_TRUE(PrintedAt(page, title.text, Centred(title.text, 12), 1416));

    EXPECT_EQ(pageTop, 1416 + 1300);
    EXPECT_TRUE(page.HasLine(100, pageTop, 11510, pageTop, 4));
}

TEST_F(CommonTopTest, NewValuesAndUsefulLoadRightAlignedAt4000) {
    in.Set(Field::Text23, "1507.50");
    in.Set(Field::MaxWt, "2300 lb");
    const double pageTop = Top();
    EXPECT_TRUE(PrintedAt(page, "New A/C Empty Weight:", 100, pageTop + 100));
    EXPECT_TRUE(RightAlignedAt(page, "1507.50", 4000, pageTop + 100));
    EXPECT_TRUE(RightAlignedAt(page, "70.49", 4000, pageTop + 400));
    EXPECT_TRUE(RightAlignedAt(page, "792.50", 4000, pageTop + 700));
}

}  // namespace
}  // namespace wb
