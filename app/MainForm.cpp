#include "app/MainForm.h"

#include <algorithm>

#include "app/NumberNotice.h"
#include "store/Records.h"
#include "store/SettingsDatabase.h"
#include "worksheet/Balance.h"
#include "worksheet/FieldEntry.h"
#include "worksheet/GridEditing.h"
#include "worksheet/Mac.h"
#include "worksheet/Units.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

// What the mechanic typed into a grid: every entry but the computed column's.
std::vector<Entry> TypedEntries(const Worksheet& ws, GridId id) {
    const RowStore& s = ws.store(id);
    const int computed = ShapeOf(id).computedCol;
    std::vector<Entry> typed;
    typed.reserve(s.entries.size());
    for (int r = 0; r < s.rows; ++r)
        for (int c = 0; c < s.cols; ++c)
            if (c != computed) typed.push_back(s.At(r, c));
    return typed;
}

bool SpecsBox(Control c) {
    return c == Control::Text14 || c == Control::Text15 || c == Control::Text16 || c == Control::Text30 ||
           c == Control::Text35 || c == Control::Text36;
}

}  // namespace

Control PanelOf(Control c) {
    using C = Control;
    switch (c) {
        case C::Text13:
            return C::Panel3D5;
        case C::Text14:
        case C::Text15:
        case C::Text16:
        case C::Text30:
        case C::Text35:
        case C::Text36:
        case C::UnitChoice:
        case C::Command3D50:
        case C::Grid2:
        case C::Grid3:
        case C::Grid4:
        case C::Command3D32:
        case C::LoadingButton:
            return C::Panel3D6;
        case C::LoadingClose:
            return C::LoadingPanel;
        case C::Text17:
        case C::Text18:
        case C::Text19:
        case C::Text20:
        case C::Text21:
        case C::Text25:
        case C::Text26:
        case C::Text28:
        case C::Text29:
        case C::Check3D1:
        case C::Check3D2:
        case C::Check3D3:
        case C::Check3D4:
        case C::Command3D28:
        case C::Command3D29:
        case C::Command3D40:
        case C::Command3D44:
        case C::SignersButton:
        case C::SetupClose:
            return C::Panel3D7;
        case C::AboutHelp:
        case C::AboutClose:
            return C::Panel3D4;
        case C::Command3D31:
        case C::Command3D39:
        case C::Command3D45:
            return C::Panel3D11;
        case C::Text31:
        case C::Text32:
        case C::Text33:
        case C::Text34:
        case C::Check3D5:
        case C::Command3D46:
        case C::Command3D47:
        case C::Command3D48:
        case C::Command3D49:
            return C::Panel3D13;
        case C::Command3D42:
        case C::Command3D43:
        case C::SignButton:
        case C::HistoryExport:
        case C::HistoryImport:
            return C::Panel3D12;
        case C::WeighingButton:
            return C::Panel3D6;
        case C::WeighingClose:
            return C::WeighingPanel;
        case C::ScalesButton:
            return C::Panel3D7;
        case C::ScaleKeep:
        case C::ScaleRemove:
        case C::ScalesClose:
            return C::ScalesPanel;
        case C::DuePrint:
        case C::DueClose:
            return C::DuePanel;
        default:
            break;
    }
    const ControlInfo& info = InfoOf(c);
    if (info.field || c == C::Grid1 || c == C::Command3D20) return C::Panel3D1;
    return C::None;
}

MainForm::MainForm(Dialogs& dialogs, Clock& clock) : dialogs_(dialogs), clock_(clock) {
    visible_.fill(true);
    enabled_.fill(true);
    for (Control hidden : {Control::Panel3D4, Control::Panel3D5, Control::Panel3D6, Control::Panel3D7,
                           Control::Panel3D11, Control::Panel3D12, Control::Panel3D13, Control::WeighingPanel,
                           Control::ScalesPanel, Control::DuePanel,
                           Control::LoadingPanel})
        visible_[Index(hidden)] = false;
    // Every change of a header box marks the screen unsaved, whoever made it.
    ws.onFieldChanged = [this](Field f) {
        if (!InfoOf(f).marksUnsaved) return;
        ScreenSaved = 0;
        edited_ = true;
    };
}

MainForm::~MainForm() = default;

void MainForm::Load() {
    ClearWorksheet(ws, false);
    StartNewWorksheet();
}

const std::string& MainForm::Text(Control c) const {
    const ControlInfo& info = InfoOf(c);
    if (info.field) return ws.Get(*info.field);
    return texts_[Index(c)];
}

void MainForm::SetText(Control c, std::string text) {
    const ControlInfo& info = InfoOf(c);
    if (info.field) {
        ws.Set(*info.field, std::move(text));
    } else {
        texts_[Index(c)] = std::move(text);
    }
}

bool MainForm::Checked(Control check) const {
    if (InfoOf(check).kind != ControlKind::Check) return false;
    return checks_[static_cast<size_t>(static_cast<int>(check) - static_cast<int>(Control::Check3D1))];
}

void MainForm::SetChecked(Control check, bool value) {
    if (InfoOf(check).kind != ControlKind::Check) return;
    checks_[static_cast<size_t>(static_cast<int>(check) - static_cast<int>(Control::Check3D1))] = value;
}

bool MainForm::Usable(Control c) const {
    if (!enabled_[Index(c)] || !visible_[Index(c)]) return false;
    Control panel = PanelOf(c);
    return panel == Control::None || Usable(panel);
}

void MainForm::TextChanged(Control c, std::string text, std::optional<size_t> caret) {
    if (InfoOf(c).kind != ControlKind::Text || !Usable(c)) return;
    // Typed, pasted or dropped: only what the edit inserted is held to the limit and, in the
    // tail number, made capitals; the rest of the box stays as it was.
    const BoxRules rules{static_cast<size_t>(MaxChars(c)), c == Control::Text1};
    const std::string before = Text(c);
    SetText(c, AcceptBoxEdit(before, text, rules, caret));
    if (SpecsBox(c) && Text(c) != before) rowsTyped_ = true;
    if (c == Control::Text1 && Text(c) != before) tailEdited_ = true;
}

void MainForm::WatchGrid(GridId id, const std::function<void()>& event) {
    const std::vector<Entry> before = TypedEntries(ws, id);
    event();
    if (TypedEntries(ws, id) != before) {
        ScreenSaved = 0;
        edited_ = rowsTyped_ = true;
    }
    TellIfFirstRowBlocked();
}

void MainForm::TellIfFirstRowBlocked() {
    if (ws.FirstRowBlocked && !firstRowBlockedTold_)
        dialogs_.Notice("Change list full",
                        "The first row holds a typed change and the last row is in use, so the weighed "
                        "empty weight cannot go into the first row without losing a row. Nothing was "
                        "moved, and the first row counts as a change.\n\nDelete a row you do not need; "
                        "the weighing then takes the first row.\n\nPress OK to continue",
                        Icon::Exclamation);
    firstRowBlockedTold_ = ws.FirstRowBlocked;
}

KeyResult MainForm::KeyTyped(Control c, char32_t key) {
    if (!Usable(c)) return {true, 0};
    if (auto grid = GridOf(c)) {
        WatchGrid(*grid, [&] { wb::GridKey(ws, *grid, key, dialogs_); });
        return {true, 0};
    }
    const ControlInfo& info = InfoOf(c);
    if (key == kEnterKey) {
        if (info.enterTarget == Control::None) return {false, key};
        SetFocus(info.enterTarget);
        return {info.enterConsumed, key};
    }
    if (c == Control::Text1 && key >= U'a' && key <= U'z') key = key - U'a' + U'A';
    return {false, key};
}

void MainForm::DeleteKey(Control grid) {
    if (auto id = GridOf(grid); id && Usable(grid)) WatchGrid(*id, [&] { GridDeleteKey(ws, *id); });
}

void MainForm::GridMoveCurrent(Control grid, int row, int col) {
    // Moving the current cell commits the row, and the weighing's row 0 with it.
    if (auto id = GridOf(grid); id && Usable(grid))
        WatchGrid(*id, [&] { wb::GridMoveCurrent(ws, *id, row, col); });
}

void MainForm::GridScrolled(Control grid, int topRow) {
    auto id = GridOf(grid);
    if (!id || !Usable(grid)) return;
    Grid& g = ws.grid(*id);
    g.topRow = std::clamp(topRow, 0, std::max(0, g.rows - ShapeOf(*id).visibleRows));
}

void MainForm::FocusTo(Control c) {
    if (c == Control::None || Usable(c)) SetFocus(c);
}

void MainForm::SetFocus(Control c) {
    if (c == focus_) return;
    Control old = focus_;
    focus_ = c;
    FocusLeft(old);
}

void MainForm::BuildPreviousEmptyRow(Field leaving) {
    if (RebuildPreviousEmptyRow(ws, leaving)) return;
    dialogs_.Notice("Change list full",
                    "The first row holds a typed change and the last row is in use, so the previous empty "
                    "weight cannot go into the first row without losing a row. Nothing was moved.\n\nDelete "
                    "a row you do not need, then leave the Empty or C.G. box again.\n\nPress OK to continue",
                    Icon::Exclamation);
}

void MainForm::FocusLeft(Control c) {
    const UnitSystem u = wb::Units(ws);
    switch (c) {
        case Control::Text1:
            // A tail number typed into a new Worksheet brings that aircraft's unit system.
            if (tailEdited_) CarryOverUnits();
            tailEdited_ = false;
            break;
        case Control::Text9:
            NoticeIfMisread(dialogs_, "Empty", ws.Get(Field::Empty), WeightUnit(u));
            BuildPreviousEmptyRow(Field::Empty);
            break;
        case Control::Text10:
            NoticeIfMisread(dialogs_, "C.G.", ws.Get(Field::CG), ArmUnit(u));
            BuildPreviousEmptyRow(Field::CG);
            break;
        case Control::Text11:
            NoticeIfMisread(dialogs_, "Max Wgt", ws.Get(Field::MaxWt), WeightUnit(u));
            break;
        case Control::Text35:
            NoticeIfMisread(dialogs_, "LEMAC", ws.Get(Field::Lemac), ArmUnit(u));
            break;
        case Control::Text36:
            LeaveMac();
            break;
        case Control::Text17:
            SetText(Control::Text28, Text(Control::Text17));
            break;
        case Control::Check3D4:
            // Tabbing out of the last set-up box returns to the first one.
            SetFocus(Control::Text17);
            break;
        case Control::Command3D13:
            // Only a stored screen counts as stored: after a refused or failed save the
            // Worksheet must still be asked about before it is discarded.
            if (ScreenSaved != 0) ScreenSaved = 2;
            break;
        case Control::Command3D26:
        case Control::AboutHelp:
        case Control::AboutClose:
            // The panel stays while the focus moves between its button and its own buttons.
            if (focus_ != Control::Command3D26 && PanelOf(focus_) != Control::Panel3D4)
                SetVisible(Control::Panel3D4, false);
            break;
        default:
            if (auto grid = GridOf(c)) WatchGrid(*grid, [&] { GridFocusLeft(ws, *grid); });
            break;
    }
}

void MainForm::Clicked(Control c) {
    if (!Usable(c)) return;
    const ControlKind kind = InfoOf(c).kind;
    if (kind == ControlKind::Text || kind == ControlKind::Grid || kind == ControlKind::Button ||
        kind == ControlKind::Check)
        SetFocus(c);
    if (auto grid = GridOf(c)) {
        WatchGrid(*grid, [&] { GridClick(ws, *grid, dialogs_); });
        return;
    }
    switch (c) {
        case Control::Text23:
        case Control::Text24:
        case Control::Text27:
            dialogs_.Notice("This field not editable", "Press OK to Continue", Icon::Information);
            SetFocus(Control::Grid1);
            break;
        case Control::Command3D12: ClickExit(); break;
        case Control::Command3D13: ClickSave(); break;
        case Control::Command3D15: ClickNotes(); break;
        case Control::Command3D16: ClickBrowse(2); break;
        case Control::Command3D17: ClickBrowse(1); break;
        case Control::Command3D18: ClickSetup(); break;
        case Control::Command3D19: ClickNew(); break;
        case Control::Command3D20: ClickTach(); break;
        case Control::Command3D23: ClickSpecs(); break;
        case Control::Command3D26: ClickAbout(); break;
        case Control::Command3D28: ClickFonts(); break;
        case Control::Command3D29: dialogs_.ChoosePrinter(); break;
        case Control::Command3D31:
            SetVisible(Control::Panel3D11, false);
            SetFocus(Visible(Control::Panel3D7) ? Control::Text17 : Control::Text1);
            break;
        case Control::Command3D39: SaveDataFolder(); break;
        case Control::Command3D40: ShowDataFolderPanel(); break;
        case Control::Command3D41: ClickHistory(); break;
        case Control::WeighingButton: ClickWeighing(); break;
        case Control::WeighingClose: SetVisible(Control::WeighingPanel, false); break;
        case Control::ScalesButton: ClickScales(); break;
        case Control::ScalesClose: SetVisible(Control::ScalesPanel, false); break;
        case Control::DueButton: ClickDueList(); break;
        case Control::DuePrint:
            if (onPrint) onPrint(c);
            break;
        case Control::DueClose: SetVisible(Control::DuePanel, false); break;
        case Control::Command3D42: StartFromLatest(); break;
        case Control::SignButton: ClickSign(); break;
        case Control::HistoryExport: ClickExport(); break;
        case Control::HistoryImport: ClickImport(); break;
        case Control::SignersButton: ClickSigners(); break;
        case Control::Command3D44: ClickBackups(); break;
        case Control::Command3D45: ShowServerPanel(); break;
        case Control::Command3D46: TestServerChoice(); break;
        case Control::Command3D47: SaveServerChoice(); break;
        case Control::Command3D48: ClickMoveUp(); break;
        case Control::Command3D49:
            SetVisible(Control::Panel3D13, false);
            SetFocus(Control::Text1);
            break;
        case Control::Command3D50: ClickConvertUnits(); break;
        case Control::LoadingButton: ClickLoading(); break;
        case Control::LoadingClose: CloseLoading(); break;
        case Control::AboutHelp:
            if (onHelp) onHelp();
            break;
        case Control::AboutClose:
            SetVisible(Control::Panel3D4, false);
            SetFocus(Control::Command3D26);
            break;
        case Control::SetupClose: ClickSetup(); break;
        case Control::Command3D14:
        case Control::Command3D27:
        case Control::Command3D32:
        case Control::Command3D43:
            if (onPrint) onPrint(c);
            break;
        default:
            break;
    }
}

// The close box and Alt+F4 are Exit by other means: typed work is never thrown away unasked.
// The question comes even while a panel has Exit locked, since the window must still close.
void MainForm::CloseBox() {
    if (ended_) return;
    ClickExit();
}

}  // namespace wb
