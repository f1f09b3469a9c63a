// The loading panel as the mechanic uses it: opened from the specifications panel, the stations
// and the envelope typed cell by cell, the checks read; bad data told on leaving the panel. (The
// figures' results: LoadingTest; refused at the save: LoadingStoreTest.)
#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "tests/support/ScriptedDialogs.h"
#include "worksheet/Loading.h"

namespace wb {
namespace {

TEST(LoadingPanel, TheTypedStationsGiveTheChecksAndBadDataIsToldAndNotSaved) {
    test::ScriptedDialogs dialogs;
    test::FixedClock clock{{2026, 12, 6}};
    MainForm form(dialogs, clock);
    form.Load();
    // The figures' aircraft: 1169 lb at +10.6 as the previous empty weight, maximum 2100 lb.
    const std::pair<Control, const char*> header[] = {{Control::Text1, "N1169"},
                                                      {Control::Text9, "1169"},
                                                      {Control::Text10, "10.6"},
                                                      {Control::Text11, "2100"}};
    for (const auto& [box, text] : header) {
        form.FocusTo(box);
        form.TextChanged(box, text);
    }
    form.FocusTo(Control::Text1);
    ASSERT_DOUBLE_EQ(form.ws.values.NewWeight, 1169);

    // Closed, the panel takes nothing; opened from the specifications panel, it takes each cell.
    form.LoadingCellEdited(LoadingGrid::Stations, 0, station::Arm, "16");
    EXPECT_TRUE(form.ws.loading.Empty());
    form.Clicked(Control::Command3D23);
    form.Clicked(Control::LoadingButton);
    ASSERT_TRUE(form.Visible(Control::LoadingPanel));
    EXPECT_FALSE(form.Usable(Control::Text14));  // the specifications wait under it
    const std::vector<std::vector<std::string>> stations = {
        {"Pilot's seat", "Seat with controls", "16", "1", "", ""},
        {"Rear seats", "Seat", "48", "2", "", ""},
        {"Baggage", "Baggage", "75.5", "", "", "100"},
        {"Fuel tank", "Fuel tank", "22", "", "40", ""},
        {"Oil", "Oil", "-49", "", "9", ""}};
    for (int r = 0; r < static_cast<int>(stations.size()); ++r)
        for (int c = 0; c < station::Count; ++c)
            form.LoadingCellEdited(LoadingGrid::Stations, r, c,
                                   stations[static_cast<size_t>(r)][static_cast<size_t>(c)]);
    const std::vector<std::pair<const char*, const char*>> points = {
        {"1000", "8.5"}, {"2100", "8.5"}, {"2100", "21.9"}, {"1000", "21.9"}};
    for (int r = 0; r < 4; ++r) {
        form.LoadingCellEdited(LoadingGrid::Normal, r, point::Weight, points[static_cast<size_t>(r)].first);
        form.LoadingCellEdited(LoadingGrid::Normal, r, point::Arm, points[static_cast<size_t>(r)].second);
    }
    form.LoadingBoxEdited(LoadingBox::MetoHp, "165");
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_EQ(LoadingCellShown(form.ws.loading, LoadingGrid::Stations, 2, station::Arm), "75.50");
    EXPECT_EQ(LoadingCellShown(form.ws.loading, LoadingGrid::Stations, 1, station::Seats), "2");

    // The checks, as the panel reads them, from the typed cells.
    LoadingEvaluation e = EvaluateLoading(form.ws);
    ASSERT_TRUE(e.forward && e.aft);
    EXPECT_EQ(e.aft->totalWeight + " " + e.aft->cg, "2036.00 +21.33");
    // Ctrl+P prints the calculation report, which carries the check.
    Control printed = Control::None;
    form.onPrint = [&](Control c) { printed = c; };
    form.KeyForButton(Control::Command3D32);
    EXPECT_EQ(printed, Control::Command3D32);

    // A station without its arm and an envelope typed out of order: told on leaving the panel.
    form.LoadingCellEdited(LoadingGrid::Stations, 1, station::Arm, "");
    form.LoadingCellEdited(LoadingGrid::Normal, 1, point::Arm, "21.9");
    form.LoadingCellEdited(LoadingGrid::Normal, 2, point::Arm, "8.5");
    EXPECT_EQ(EvaluateLoading(form.ws).read.refusals.size(), 2u);
    dialogs.Clear();
    form.EscapeKey();
    EXPECT_FALSE(form.Visible(Control::LoadingPanel));
    EXPECT_TRUE(form.Usable(Control::Text14));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Loading data refused");
    EXPECT_NE(dialogs.shown[0].text.find("- Station 2 (Rear seats): no arm."), std::string::npos);
}

}  // namespace
}  // namespace wb
