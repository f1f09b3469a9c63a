// The equipment change reports: the full page with removed rows first, and the compact half
// page with installed rows first.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"
#include "worksheet/Balance.h"

namespace wb {
namespace {

using test::PrintedAt;
using test::RightAlignedAt;

class ChangeReportTest : public ::testing::Test {
  protected:
    void Mark(int row, const char* description, const char* in, const char* out) {
        test::SetRow(ws.InstalledList(), row, {description, "B-3", "1", "2", "", in, out});
        CommitRowMoment(ws, GridId::Grid1, row);
    }
    void PrintFull() {
        in = test::SampleInput(ws);
        PrintFullChangeReport(in, page);
        pageTop = test::BodyTop(page);
    }
    void PrintCompact() {
        in = test::SampleInput(ws);
        PrintCompactChangeReport(in, page);
    }
    std::vector<std::string> LineAt(double y) {
        std::vector<std::string> texts;
        for (const auto& t : page.AtY(y))
            texts.push_back(t.text);
        return texts;
    }

    Worksheet ws = test::SampleWorksheet();
    ReportInput in;
    RecordingPage page;
    double pageTop = 0;
};

TEST_F(ChangeReportTest, FullFrameHeadingsAndPreviousValues) {
    PrintFull();
    EXPECT_DOUBLE_EQ(page.One("Weight and Balance Revision").y, 1264);
    EXPECT_TRUE(page.HasLine(100, pageTop + 1000, 11510, 12900, 4, true));
    EXPECT_TRUE(page.HasLine(100, 12700, 11510, 12700, 4));
    EXPECT_TRUE(page.HasLine(4100, pageTop + 1300, 4100, 12700, 1));
    EXPECT_TRUE(page.HasLine(10300, pageTop + 1300, 10300, 12900, 1));
    EXPECT_TRUE(page.HasLine(10900, pageTop + 1300, 10900, 12700, 1));

    EXPECT_TRUE(PrintedAt(page, "Description", 1200, pageTop + 1030));
    EXPECT_TRUE(PrintedAt(page, "Moment", 9200, pageTop + 1030));
    EXPECT_TRUE(PrintedAt(page, "Installed", 10300, pageTop + 1010));
    EXPECT_TRUE(PrintedAt(page, "Removed", 10865, pageTop + 1090));
    EXPECT_EQ(page.AtY(pageTop + 1010).front().font.size, 8);
    EXPECT_TRUE(PrintedAt(page, "New Aircraft Values", 1200, 12685));
    EXPECT_EQ(page.One("New Aircraft Values").font.size, 12);

    const double y = pageTop + 1370;
    EXPECT_EQ(LineAt(y), (std::vector<std::string>{"Previous Aircraft Empty", "17265432", "1497.50", "70.52",
                                                   "105603.7", "n/a", "n/a"}));
    EXPECT_TRUE(RightAlignedAt(page, "105603.7", 10200, y));
    EXPECT_EQ(page.AtY(y)[5].x, 10500);
    EXPECT_EQ(page.AtY(y)[6].x, 11050);
    EXPECT_EQ(page.AtY(y)[0].font.size, 11);
}

TEST_F(ChangeReportTest, FullListsRemovedThenInstalledAndARowMarkedTwiceInBoth) {
    Mark(3, "Both Ways", "X", "X");
    PrintFull();
    const double first = pageTop + 1770;
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, first));
    EXPECT_TRUE(page.AtY(first).front().font.bold);
    EXPECT_EQ(LineAt(first + 200),
              (std::vector<std::string>{"Radio KX-155", "R-1", "5.50", "15.00", "82.5", "X"}));
    EXPECT_FALSE(page.AtY(first + 200).front().font.bold);
    EXPECT_EQ(page.AtY(first + 200)[5].x, 11100);
    EXPECT_EQ(LineAt(first + 400),
              (std::vector<std::string>{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
    EXPECT_TRUE(LineAt(first + 600).empty());
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, first + 800));
    EXPECT_EQ(LineAt(first + 1000),
              (std::vector<std::string>{"Radio GNC 255", "G-9", "6.20", "15.50", "96.1", "X"}));
    EXPECT_EQ(page.AtY(first + 1000)[5].x, 10550);
    EXPECT_EQ(LineAt(first + 1200),
              (std::vector<std::string>{"Both Ways", "B-3", "1.00", "2.00", "2.0", "X", "X"}));
    EXPECT_EQ(page.Find("Both Ways").size(), 2u);
    // The previous-empty row carries no marks and is never listed in a group.
    EXPECT_EQ(page.Find("Previous A/C Empty").size(), 0u);
}

TEST_F(ChangeReportTest, FullWithTwentyNineRemovedRows) {
    for (int r = 1; r < 30; ++r)
        Mark(r, ("Item " + std::to_string(r)).c_str(), "", "X");
    PrintFull();
    EXPECT_TRUE(PrintedAt(page, "Item 29", 200, pageTop + 1770 + 200 * 29));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, pageTop + 1770 + 200 * 31));
    EXPECT_EQ(page.endCount(), 1);
}

TEST_F(ChangeReportTest, FullWithNothingMarkedStillPrintsHeadingsAndTotals) {
    ws.InstalledList().At(1, installed::Remove) = "";
    ws.InstalledList().At(2, installed::Install) = "x";  // marks are case-sensitive
    PrintFull();
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, pageTop + 1770));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, pageTop + 2170));
    EXPECT_TRUE(page.Find("Radio GNC 255").empty());
    const auto totals = page.AtY(12685);
    ASSERT_EQ(totals.size(), 4u);
    // Bold ends with the last heading even though no row followed it.
    for (const auto& t : totals)
        EXPECT_FALSE(t.font.bold) << t.text;
}

TEST_F(ChangeReportTest, TotalsFullUsesWeightTimesArmCompactTheKeptMoment) {
    Worksheet sheet = ws;
    in = test::SampleInput(sheet);
    in.values.NewWeight = 1212;
    in.values.NewArm = 35.54455f;
    in.values.NewMoment = 43000;
    PrintFullChangeReport(in, page);
    EXPECT_TRUE(RightAlignedAt(page, "1212.00", 7000, 12685));
    EXPECT_TRUE(RightAlignedAt(page, "35.54", 8500, 12685));
    EXPECT_TRUE(RightAlignedAt(page, "43080.0", 10200, 12685));

    RecordingPage compact;
    PrintCompactChangeReport(in, compact);
    const double totalsY = 15120 / 2 - 400;
    EXPECT_TRUE(RightAlignedAt(compact, "1212.00", 7000, totalsY));
    EXPECT_TRUE(RightAlignedAt(compact, "35.54", 8500, totalsY));
    EXPECT_TRUE(RightAlignedAt(compact, "43000.0", 10200, totalsY));
}

TEST_F(ChangeReportTest, EmptyPreviousEmptyWeightPrintsZeros) {
    in = test::SampleInput(ws);
    in.Set(Field::Empty, "");
    in.Set(Field::CG, "");
    PrintFullChangeReport(in, page);
    EXPECT_EQ(LineAt(test::BodyTop(page) + 1370),
              (std::vector<std::string>{"Previous Aircraft Empty", "17265432", "0.00", "0.00", "0.0", "n/a",
                                        "n/a"}));
}

TEST_F(ChangeReportTest, FullSignatureAt13500AndNotesAt13000) {
    PrintFull();
    EXPECT_TRUE(page.HasLine(8500, 13500, 11410, 13500, 4));
    EXPECT_TRUE(PrintedAt(page, "J. Mechanic,  A&P 1234567", 8500, 13500));
    EXPECT_TRUE(PrintedAt(page, "Weighed with unusable fuel and full oil.", 100, 13000));
}

TEST_F(ChangeReportTest, CompactOneLineHeaderAndTwoLineAircraftHeader) {
    PrintCompact();
    const RecordedText name = page.One("Acme Aviation Services  ");
    EXPECT_TRUE(PrintedAt(page, name.text, 100, 50));
    EXPECT_EQ(name.font, (PageFont{"Arial", 8, true, false}));
    const RecordedText address = page.One("12 Hangar Road  ");
    EXPECT_TRUE(PrintedAt(page, address.text, 100 + 24 * 80, 50));
    EXPECT_FALSE(address.font.bold);
    EXPECT_TRUE(PrintedAt(page, "Springfield, IL 62701  ", 100 + 40 * 80, 50));
    EXPECT_TRUE(PrintedAt(page, "(217) 555-0100" + std::string(14, ' '), 100 + 63 * 80, 50));
    // The centred title would run over the phone number: it follows the company details.
    const RecordedText title = page.One("Weight and Balance Revision");
    EXPECT_TRUE(PrintedAt(page, title.text, 100 + 91 * 80, 50));
    EXPECT_TRUE(title.font.bold);

    EXPECT_TRUE(PrintedAt(page, "Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432",
                          100, 50 + 184));
    EXPECT_TRUE(PrintedAt(page, "Date: 03-14-2024 /Hobbs: 4521.3 /Max. Weight: 2300 /Work Order: WO-7781",
                          100, 50 + 2 * 184));
    EXPECT_FALSE(
        page.One("Date: 03-14-2024 /Hobbs: 4521.3 /Max. Weight: 2300 /Work Order: WO-7781").font.bold);
}

TEST_F(ChangeReportTest, CompactBodyOnTheTopHalfWithInstalledFirst) {
    PrintCompact();
    const double top = 50 + 3 * 184;  // after the company line and the two header lines
    EXPECT_TRUE(page.HasLine(100, top, 11400, top, 4));
    EXPECT_TRUE(page.HasLine(4100, top, 4100, top + 550, 4));
    // The mechanic's name without a signature line.
    const RecordedText mechanic = page.One("J. Mechanic,  A&P 1234567");
    EXPECT_TRUE(PrintedAt(page, mechanic.text, 8500, top));
    EXPECT_EQ(mechanic.font.size, 6);
    EXPECT_FALSE(page.HasLine(8500, top, 11410, top, 4));

    EXPECT_TRUE(PrintedAt(page, "New A/C Empty Weight:", 100, top));
    EXPECT_TRUE(PrintedAt(page, "New A/C Useful Load:", 100, top + 400));
    EXPECT_TRUE(PrintedAt(page, "Landing C.G. Range:", 4300, top));
    EXPECT_EQ(page.One("Landing C.G. Range:").font.size, 8);

    const double frame = top + 400 + 184, half = 15120 / 2.0;
    EXPECT_TRUE(page.HasLine(100, frame, 11510, half - 200, 4, true));
    EXPECT_TRUE(page.HasLine(100, half - 400, 11510, half - 400, 4));
    EXPECT_TRUE(page.HasLine(100, frame + 200, 11510, frame + 200, 1));
    EXPECT_TRUE(page.HasLine(10900, frame + 200, 10900, half - 400, 1));
    EXPECT_TRUE(page.HasLine(10300, frame + 200, 10300, half - 200, 1));
    EXPECT_TRUE(PrintedAt(page, "Serial Number", 4350, frame));
    EXPECT_TRUE(PrintedAt(page, "Installed", 10350, frame));
    EXPECT_TRUE(PrintedAt(page, "Removed", 10915, frame + 80));
    EXPECT_EQ(page.AtY(frame + 80).front().font.size, 6);
    EXPECT_TRUE(PrintedAt(page, "New Aircraft Values", 1200, half - 400));

    EXPECT_TRUE(PrintedAt(page, "Previous Aircraft Empty", 200, frame + 200));
    EXPECT_TRUE(PrintedAt(page, "Installed", 200, frame + 400));
    EXPECT_TRUE(PrintedAt(page, "Radio GNC 255", 200, frame + 550));
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, frame + 850));
    EXPECT_TRUE(PrintedAt(page, "Radio KX-155", 200, frame + 1000));
    EXPECT_EQ(page.One("Radio KX-155").font.size, 8);

    const RecordedText notes = page.One("Weighed with unusable fuel and full oil.");
    EXPECT_TRUE(PrintedAt(page, notes.text, 100, 5650));
    EXPECT_EQ(notes.font.size, 6);
}

TEST_F(ChangeReportTest, CompactTitleCentredBesideShortCompanyDetails) {
    in = test::SampleInput(ws);
    in.company->CompAddress.reset();
    in.company->CompCSZ.reset();
    PrintCompactChangeReport(in, page);
    EXPECT_TRUE(PrintedAt(page, "(217) 555-0100" + std::string(14, ' '), 100 + 24 * 80, 50));
    EXPECT_TRUE(PrintedAt(page, "Weight and Balance Revision", (11520 - 27 * 80) / 2.0, 50));
}

TEST_F(ChangeReportTest, CompactWithoutCompanyInfoOrTitle) {
    in = test::SampleInput(ws);
    in.options.company = false;
    PrintCompactChangeReport(in, page);
    EXPECT_TRUE(page.Find("Acme Aviation Services  ").empty());
    // The title in the printer's own font, bold, at y = 100.
    const RecordedText title = page.One("Weight and Balance Revision");
    EXPECT_EQ(title.y, 100);
    EXPECT_TRUE(title.font.bold);
    EXPECT_EQ(title.font.size, 10);

    in.options.company = true;
    in.company->FormTitle.reset();
    RecordingPage untitled;
    PrintCompactChangeReport(in, untitled);
    EXPECT_TRUE(untitled.Find("Weight and Balance Revision").empty());
    // An empty line stands for the title.
    EXPECT_TRUE(PrintedAt(untitled,
                          "Reg. Number: N123AB /Make/Model: Cessna 172N /Year: 1978 /Serial: 17265432", 100,
                          50 + 184));
}

TEST_F(ChangeReportTest, CompactWithEveryRowMarkedTwice) {
    for (int r = 0; r < 30; ++r)
        Mark(r, ("Row " + std::to_string(r)).c_str(), "X", "X");
    PrintCompact();
    for (int r = 0; r < 30; ++r)
        EXPECT_EQ(page.Find("Row " + std::to_string(r)).size(), 2u);
    const double frame = 50 + 3 * 184 + 400 + 184;
    EXPECT_TRUE(PrintedAt(page, "Row 29", 200, frame + 400 + 150 * 30));
    EXPECT_TRUE(PrintedAt(page, "Removed", 200, frame + 400 + 150 * 32));
    EXPECT_TRUE(PrintedAt(page, "Row 29", 200, frame + 400 + 150 * 62));
    EXPECT_EQ(page.endCount(), 1);
}

}  // namespace
}  // namespace wb
