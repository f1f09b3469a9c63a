// The weight and balance record: one line per Worksheet, breaks and superseded versions marked.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "SampleChain.h"
#include "reports/Reports.h"

namespace wb {
namespace {

TEST(RecordReport, EachWorksheetIsOneLineWithWhatItSupersedesAndTheBreakMarked) {
    ReportInput in = test::SampleInput();
    in.history = test::SampleChain();
    RecordingPage page;
    PrintRecordReport(in, page);
    const RecordedText broken = page.One("02-01-2023");
    EXPECT_EQ(
        test::LineAt(page, broken.y),
        (std::vector<std::string>{"02-01-2023", "WO-4", "Changes only", "1500.00", "70.00", "2.00", "0.00",
                                  "1502.00", "70.11", "105300.0", "798.00", "J. Smith, A&P 1234567"}));
    const RecordedText note = page.One(
        "BREAK IN THE CHAIN: starts at 1500.00 / 70.00, but the computation dated 08-12-2022 ended at "
        "1514.50 / "
        "70.17");
    EXPECT_GT(note.y, broken.y);
    page.One("Supersedes the computation dated 02-01-2023");  // the deleted version is no link

    // The superseded version follows its Worksheet, in italics.
    const auto replaced = page.Find("08-12-2022");
    ASSERT_EQ(replaced.size(), 2u);
    EXPECT_FALSE(replaced[0].font.italic);
    EXPECT_TRUE(replaced[1].font.italic);
    page.One("Deleted version, deleted 2023-05-06 08:00:00");

    EXPECT_TRUE(page.One("Since the weighing of 01-10-2020: weight +12.00 lb, C.G. +0.16 in").font.bold);

    // A Worksheet without a maximum weight has no useful load, not a negative one.
    ChainEntry noMaximum = in.history.lines.front().entry;
    noMaximum.usefulLoad.reset();
    EXPECT_EQ(ChainCells(noMaximum).back(), "");
}

TEST(RecordReport, ALongRecordContinuesUnderItsHeadingsWithoutOverprinting) {
    ReportInput in = test::SampleInput();
    in.options.company = false;
    RecordChain& chain = in.history;
    chain.tail = "N123AB";
    for (int i = 0; i < 120; ++i) {
        ChainLine line;
        line.entry = test::SampleEntry("01-01-2000", "WORK ORDER 1234567890 1234567890", false, "1000.00",
                                       "50.00", 1, 0, 1001, 50.05f, 50100);
        line.entry.date = "01-" + std::to_string(10 + i % 18) + "-" + std::to_string(1900 + i);
        line.entry.by = "A mechanic with a very long name indeed";
        chain.lines.push_back(line);
    }
    LinkChain(chain);
    RecordingPage page(11520, 15120);
    PrintRecordReport(in, page);
    ASSERT_GT(page.sheets(), 1);
    EXPECT_EQ(static_cast<int>(page.Find("Prev. Empty").size()), page.sheets());
    EXPECT_EQ(test::Overprints(page), std::vector<std::string>{});
    for (const ChainLine& line : chain.lines)
        EXPECT_EQ(page.Find(line.entry.date).size(), 1u) << line.entry.date;
}

// A Worksheet starts where the one before ended, in weight and C.G. alike; a weighing afresh.
TEST(RecordChainBreaks, AStartThatDiffersInWeightOrCgAloneBreaksTheChain) {
    struct Case {
        const char *weight, *arm;
        bool weighed, breaks;
    };
    for (const Case& c : {Case{"1507.50", "70.38", false, false}, Case{"1507.51", "70.38", false, true},
                          Case{"1507.50", "70.39", false, true}, Case{"1400.00", "60.00", true, false}}) {
        RecordChain chain;
        chain.tail = "N123AB";
        for (const ChainEntry& e : {test::SampleEntry("01-10-2020", "WO-1", true, "1507.50", "70.38", 0, 0,
                                                      1507.5f, 70.38142f, 106100),
                                    test::SampleEntry("03-05-2021", "WO-2", c.weighed, c.weight, c.arm, 0, 0,
                                                      1507.5f, 70.38142f, 106100)})
            chain.lines.push_back(ChainLine{e, {}, false, false, {}, {}, {}});
        LinkChain(chain);
        EXPECT_EQ(chain.lines[1].breaks, c.breaks) << c.weight << " " << c.arm;
    }
}

}  // namespace
}  // namespace wb
