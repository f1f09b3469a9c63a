// The button bar's own commands and the panels that lie over the Worksheet.
#include <utility>

#include "app/MainForm.h"
#include "worksheet/GridEditing.h"

namespace wb {
namespace {

constexpr std::string_view kNotSavedTitle = "Weight & Balance on screen not saved";

// Locked while the specifications panel is open, in the order they are switched.
constexpr Control kLockedBySpecs[] = {Control::Command3D17, Control::Command3D18, Control::Command3D15,
                                      Control::Command3D23, Control::Command3D26, Control::Command3D14,
                                      Control::Command3D19, Control::Command3D13, Control::Command3D12,
                                      Control::Command3D16, Control::Command3D41, Control::Panel3D1};

}  // namespace

void MainForm::ClickNew() {
    SettleUncertainSave();
    if (ScreenSaved == 0 && !dialogs_.AskYesNo(kNotSavedTitle, "OK to start new form without saving?"))
        return;
    BrowseDirection = 0;
    SearchActive = 0;
    BrowseStarted = 0;
    StartNewWorksheet();
}

void MainForm::ClickExit() {
    if (ScreenSaved == 0 && !dialogs_.AskYesNo(kNotSavedTitle, "OK to exit program without saving?")) return;
    ended_ = true;
}

void MainForm::ClickNotes() {
    if (Visible(Control::Panel3D5)) {
        SetVisible(Control::Panel3D5, false);
        return;
    }
    SetVisible(Control::Panel3D5, true);
    SetFocus(Control::Text13);
}

void MainForm::ClickSpecs() {
    if (Visible(Control::Panel3D6)) {
        SpecsPending = 0;
        for (Control c : kLockedBySpecs)
            SetEnabled(c, true);
        SetVisible(Control::Panel3D6, false);
        return;
    }
    if (Text(Control::Text1).empty()) {
        dialogs_.Notice("No aircraft identified.", "Press OK to continue", Icon::Information);
        return;
    }
    if (FreshWorksheet == 1 && SpecsPending == 1) CarryOverSpecs();
    SetVisible(Control::Panel3D6, true);
    SetFocus(Control::Text14);
    for (Control c : kLockedBySpecs)
        SetEnabled(c, c == Control::Command3D23);
}

void MainForm::KeyForButton(Control button) {
    // The loading panel, over the specifications panel, prints the report its check goes into.
    if (button == Control::Command3D32 && Usable(Control::LoadingClose)) {
        if (onPrint) onPrint(button);
        return;
    }
    // The calculation report's button sits on the specifications panel; from the Worksheet the
    // key prints it where the bar's print buttons could.
    if (button == Control::Command3D32 && !Visible(Control::Panel3D6)) {
        if (!Usable(Control::Command3D27) || !onPrint) return;
        // The focus stays, yet the row being typed is printed as leaving the grid would commit it.
        if (auto grid = GridOf(focus_)) WatchGrid(*grid, [&] { CommitRow(ws, *grid); });
        onPrint(button);
        return;
    }
    Clicked(button);
}

void MainForm::EscapeKey() {
    // The panels from the top down, each with the button that closes it.
    constexpr std::pair<Control, Control> kClosers[] = {{Control::DuePanel, Control::DueClose},
                                                        {Control::ScalesPanel, Control::ScalesClose},
                                                        {Control::WeighingPanel, Control::WeighingClose},
                                                        {Control::LoadingPanel, Control::LoadingClose},
                                                        {Control::Panel3D12, Control::Command3D41},
                                                        {Control::Panel3D13, Control::Command3D49},
                                                        {Control::Panel3D11, Control::Command3D31},
                                                        {Control::Panel3D7, Control::SetupClose},
                                                        {Control::Panel3D4, Control::AboutClose}};
    for (const auto& [panel, button] : kClosers) {
        if (Visible(panel)) {
            Clicked(button);
            return;
        }
    }
}

void MainForm::ClickAbout() {
    SetVisible(Control::Panel3D4, !Visible(Control::Panel3D4));
}

void MainForm::ClickTach() {
    tachCaption_ = tachCaption_ == "Hobbs" ? "Tach" : "Hobbs";
}

}  // namespace wb
