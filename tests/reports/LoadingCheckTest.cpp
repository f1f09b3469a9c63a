// The calculation report's loading check: a sheet of its own, numbered with the others, with
// the two extreme-condition tables of AC 43.13-1B figures 10-10 and 10-11, the loading
// schedule and the chart, and nothing overprinted.
#include <gtest/gtest.h>

#include <cmath>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/LoadingCheck.h"
#include "reports/Reports.h"
#include "tests/support/LoadingSample.h"
#include "worksheet/Balance.h"
#include "worksheet/Format.h"

namespace wb {
namespace {

// The texts of a printed line, in the order printed: a text shrunk to fit its column sits a
// little lower than the others.
std::vector<std::string> LineNear(const RecordingPage& page, const RecordedText& on) {
    std::vector<std::string> texts;
    for (const RecordedText& t : page.texts())
        if (t.sheet == on.sheet && std::abs(t.y - on.y) < 60 && !t.text.empty()) texts.push_back(t.text);
    return texts;
}

// The only text printed in the loading check's right-hand table with this text.
RecordedText InAftTable(const RecordingPage& page, const std::string& text) {
    for (const RecordedText& t : page.Find(text))
        if (t.x > 5820 && t.x < 11420 && t.sheet == 1) return t;
    ADD_FAILURE() << text << " not in the aft table";
    return {};
}

using test::Figure10Worksheet;

RecordingPage Printed(const Worksheet& ws, bool options) {
    RecordingPage page;
    PrintCalculationReport(MakeReportInput(ws, "Tach", {options, options, options, options}, test::SampleCompany(),
                                           std::nullopt),
                           page);
    return page;
}

TEST(LoadingCheckReport, ASheetOfItsOwnNumberedWithItsSheetsAndNothingOverprinted) {
    const Worksheet ws = Figure10Worksheet();
    ASSERT_EQ(FormatNumber(ws.values.NewWeight, pattern::NewWeight), "1169.00");
    for (bool options : {true, false}) {
        SCOPED_TRACE(options ? "every print option" : "no print option");
        const RecordingPage page = Printed(ws, options);
        EXPECT_EQ(test::Overprints(page), std::vector<std::string>{});
        EXPECT_EQ(page.endCount(), 1);

        // The calculation report takes one sheet without it; the loading check is the next.
        const int sheets = page.sheets();
        ASSERT_EQ(sheets, 2);
        const RecordedText title = page.One("Loading Check");
        EXPECT_EQ(title.sheet, sheets - 1);
        std::vector<int> stamped(static_cast<size_t>(sheets));
        for (const RecordedText& t : page.texts())
            if (t.text.rfind("N123AB  03-14-2024  Page ", 0) == 0) {
                EXPECT_EQ(t.text, "N123AB  03-14-2024  Page " + std::to_string(t.sheet + 1) + " of 2");
                ++stamped[static_cast<size_t>(t.sheet)];
            }
        EXPECT_EQ(stamped, (std::vector<int>{1, 1}));

        // Figure 10-10 on the left, 10-11 on the right, line by line as the core worked them.
        const RecordedText fuel = page.One("Fuel tank (minimum fuel, 13.75 gal)");
        EXPECT_EQ(fuel.sheet, 1);
        EXPECT_EQ(LineNear(page, fuel), (std::vector<std::string>{"Fuel tank (minimum fuel, 13.75 gal)", "83.00",
                                                                    "22.00", "1826.0", "Rear seats (2 passengers)",
                                                                    "340.00", "48.00", "16320.0"}));
        EXPECT_TRUE(test::RightAlignedAt(page, "16104.4", 100 + 5600 - 60, page.One("16104.4").y));
        EXPECT_TRUE(test::RightAlignedAt(page, "43428.4", 5820 + 5600 - 60, page.One("43428.4").y));
        EXPECT_TRUE(test::RightAlignedAt(page, "+11.19", 100 + 4250 - 60, page.One("+11.19").y));
        EXPECT_TRUE(test::RightAlignedAt(page, "+21.33", 5820 + 4250 - 60, InAftTable(page, "+21.33").y));
        EXPECT_EQ(page.Find("Satisfactory").size(), 2u);
        EXPECT_EQ(page.One("Limits at 1439.00 lb: +8.50 to +21.90").sheet, 1);

        // The schedule under the tables, the chart under the schedule.
        const RecordedText a = page.One("(a) With full fuel");
        EXPECT_GT(a.y, page.One("Baggage (placarded maximum)").y);
        EXPECT_EQ(LineNear(page, a), (std::vector<std::string>{"(a) With full fuel", "40 gal (240 lb)",
                                                                 "2 (Rear seats: 2)", "100 lb", "2036.00",
                                                                 "+21.33", "Within"}));
        const RecordedText legend = page.One("Forward extreme");
        EXPECT_GT(legend.y, a.y);
        EXPECT_EQ(legend.sheet, 1);
        // The envelope's four edges in the heavy pen, below the schedule.
        int edges = 0;
        for (const RecordedLine& l : page.lines())
            if (l.sheet == 1 && l.pixels == 4 && !l.rectangle && l.y1 > a.y && std::abs(l.x1 - l.x2) + std::abs(l.y1 - l.y2) > 1000)
                ++edges;
        EXPECT_EQ(edges, 4);
    }
}

// A sloped envelope with a utility category, an extreme condition outside it and a schedule
// that must hold back: the long verdicts and the notes still fit, nothing overprinted.
TEST(LoadingCheckReport, ASlopedEnvelopeAndAnExtremeOutsideAreToldWithoutOverprinting) {
    for (bool options : {true, false}) {
        SCOPED_TRACE(options ? "every print option" : "no print option");
        const RecordingPage page = Printed(test::SlopedWorksheet(), options);
        EXPECT_EQ(test::Overprints(page), std::vector<std::string>{});
        EXPECT_EQ(page.sheets(), 2);
        EXPECT_EQ(page.One("No limits at 2385.00 lb: the envelope spans 1500.00 lb to 2300.00 lb").sheet, 1);
        // Each fault on a line of its own.
        const RecordedText outside = page.One("OUTSIDE: 85.00 lb over the maximum weight 2300.00 lb");
        EXPECT_EQ(outside.sheet, 1);
        EXPECT_EQ(page.One("and 85.00 lb above the envelope").y, outside.y + 9 * 23);
        EXPECT_EQ(page.Find("Utility category: Satisfactory (+35.00 to +40.50)").size(), 1u);
        EXPECT_EQ(page.One("Limits at 1715.00 lb: +35.00 to +47.30").sheet, 1);
        // The utility envelope dashed: many short thin lines below the schedule.
        int dashes = 0;
        for (const RecordedLine& l : page.lines())
            if (l.sheet == 1 && l.pixels == 1 && std::hypot(l.x2 - l.x1, l.y2 - l.y1) <= 121) ++dashes;
        EXPECT_GT(dashes, 50);
    }
}

TEST(LoadingCheckReport, NoLoadingDataNoSheetAndRefusedDataItsReasons) {
    Worksheet ws = Figure10Worksheet();
    ws.loading = LoadingTexts{};
    EXPECT_EQ(Printed(ws, true).sheets(), 1);

    ws.loading = test::Figure10Loading();
    ws.loading.normal[3] = {"", ""};
    ws.loading.normal[2] = {"", ""};
    const RecordingPage page = Printed(ws, true);
    EXPECT_EQ(test::Overprints(page), std::vector<std::string>{});
    EXPECT_EQ(page.sheets(), 2);
    EXPECT_EQ(page.One("The loading data is refused, so no check is made:").sheet, 1);
    EXPECT_EQ(page.One("The normal category's envelope has 2 points: it needs three at least.").sheet, 1);
    EXPECT_TRUE(page.Find("Most forward extreme condition").empty());
}

}  // namespace
}  // namespace wb
