// An aircraft's chain through the window: a weighing, three equipment changes (two started from
// the latest record through the history panel, one from a typed start that breaks the chain),
// a Worksheet replaced through a search, and what the panel shows of them.
#include "app/HistoryPanel.h"
#include "store/History.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

class HistoryTest : public test::BothEnginesTest {
  protected:
    void Begin(const char* date, const char* work) {
        New();
        Set(Control::Text1, "N1");
        Set(Control::Text7, date);
        Set(Control::Text11, "2300");
        Set(Control::Text12, work);
    }
    void OpenHistory() {
        form.Clicked(Control::Command3D41);
        ASSERT_TRUE(form.Visible(Control::Panel3D12));
    }
    void StartFromLatest() {
        OpenHistory();
        ASSERT_TRUE(form.Usable(Control::Command3D42));
        form.Clicked(Control::Command3D42);
        EXPECT_FALSE(form.Visible(Control::Panel3D12));
    }
    void Finish() {
        Recalculate(form.ws);
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);
    }
    void StoreChain() {
        Begin("01-10-2020", "WO-1");
        Scale(0, "Right Main", "2.5", "612.5", "80");
        Scale(1, "Left Main", "2.5", "610", "80");
        Scale(2, "Nose", "0", "290", "30");
        Finish();
        Begin("03-05-2021", "WO-2");
        StartFromLatest();
        EXPECT_EQ(form.Text(Control::Text9) + " " + form.Text(Control::Text10), "1507.50 70.38");
        EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, installed::Description), "Previous A/C Empty");
        EXPECT_EQ(form.ScreenSaved, 0);
        Change(1, "Radio", "12", "40", "X", "");
        Finish();
        Begin("08-12-2022", "WO-3");
        StartFromLatest();
        Change(1, "Old ADF", "5", "60", "", "X");
        Finish();
        Begin("02-01-2023", "WO-4");
        Set(Control::Text9, "1500");
        Set(Control::Text10, "70");
        RebuildPreviousEmptyRow(form.ws, Field::Empty);
        Change(1, "Strobe", "2", "150", "X", "");
        Finish();
        Begin("06-30-2024", "WO-5");
        StartFromLatest();
        Change(1, "ELT", "3", "200", "X", "");
        Finish();
    }
};

TEST_P(HistoryTest, TheChainIsShownWithItsValuesItsBreakAndTheChangeSinceTheWeighing) {
    StoreChain();
    // The second Worksheet saved again through a search: its first version goes under it.
    LoadBySearch("N1", "03-05-2021");
    Set(Control::Text12, "WO-2b");
    Save();

    OpenHistory();
    EXPECT_FALSE(form.Usable(Control::Command3D42)) << "a stored Worksheet keeps its own start";
    const std::vector<HistoryRow> rows = HistoryRows(form.history);
    using Cells = std::vector<std::string>;
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].cells, (Cells{"01-10-2020", "WO-1", "Weighed", "1507.50", "70.38", "0.00", "0.00",
                                    "1507.50", "70.38", "106100.0", "792.50", "J. Smith", "A&P 123", ""}));
    EXPECT_EQ(rows[1].cells, (Cells{"03-05-2021", "WO-2b", "Changes only", "1507.50", "70.38", "12.00",
                                    "0.00", "1519.50", "70.14", "106577.9", "780.50", "J. Smith", "A&P 123",
                                    "Supersedes the computation dated 01-10-2020"}));
    ASSERT_EQ(rows[1].earlier.size(), 1u);
    EXPECT_EQ(rows[1].earlier[0].cells[1], "WO-2");
    EXPECT_EQ(rows[1].earlier[0].cells[13].rfind("Superseded ", 0), 0u);
    EXPECT_FALSE(rows[2].breaks);
    EXPECT_TRUE(rows[3].breaks);
    EXPECT_EQ(rows[3].cells[13], "Break: the computation dated 08-12-2022 ended at 1514.50 / 70.17");
    EXPECT_FALSE(rows[4].breaks);
    EXPECT_EQ(ChainSummary(form.history),
              "Since the weighing of 01-10-2020: weight +12.00 lb, C.G. +0.16 in");

    // The chain's new values are the ones loading each Worksheet shows.
    form.Clicked(Control::Command3D41);
    New();
    ClearCriteria();
    for (const ChainLine& line : form.history.lines) {
        Next();
        EXPECT_EQ(
            form.Text(Control::Text23) + " " + form.Text(Control::Text24) + " " + form.Text(Control::Text27),
            line.entry.NewWeightText() + " " + line.entry.NewArmText() + " " + line.entry.NewMomentText());
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, HistoryTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
