// The set-up panel (company details, print options, report font, printer) and the
// data-folder panel, over the set-up library.
#include <string>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "setup/CompanySettings.h"
#include "setup/DataFolder.h"
#include "setup/NetworkFolder.h"
#include "setup/ReportFontChoice.h"
#include "store/Records.h"
#include "store/SettingsDatabase.h"
#include "store/pg/ServerAddress.h"

namespace wb {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines)
        all += l + "\n";
    return all;
}

}  // namespace

void MainForm::ClickSetup() {
    if (Visible(Control::Panel3D7)) {
        CloseSetup();
    } else {
        OpenSetup();
    }
}

void MainForm::OpenSetup() {
    // Without a main database the fields keep what this run has put into them.
    setupShown_.reset();
    if (records) {
        try {
            records->CompanySet.MoveFirst();
            setupShown_ = SettingsFromRow(records->database().ReadCompanyRow(), std::nullopt);
            ShowCompanySettings(*setupShown_);
        } catch (const std::exception&) {
            // The fields keep what they show; storing them writes the row afresh.
        }
    }
    // The telephone is read back from the settings row only.
    if (settings) {
        try {
            SetText(Control::Text20, settings->CompanyPhone().value_or(""));
        } catch (const std::exception&) {
        }
    }
    ShowFontSample();
    SetVisible(Control::Panel3D7, true);
    SetFocus(Control::Text17);
}

void MainForm::ShowCompanySettings(const CompanySettings& s) {
    SetChecked(Control::Check3D1, s.printCompany);
    SetChecked(Control::Check3D2, s.printRanges);
    SetChecked(Control::Check3D3, s.printMechanic);
    SetChecked(Control::Check3D4, s.printNotes);
    SetText(Control::Text17, s.name);
    SetText(Control::Text18, s.address);
    SetText(Control::Text19, s.cityStateZip);
    SetText(Control::Text21, s.formTitle);
    SetText(Control::Text29, s.equipTitle);
    SetText(Control::Text25, s.mechanic);
    SetText(Control::Text26, s.cert);
}

CompanySettings MainForm::SettingsOnPanel() const {
    CompanySettings s;
    s.name = Text(Control::Text17);
    s.address = Text(Control::Text18);
    s.cityStateZip = Text(Control::Text19);
    s.phone = Text(Control::Text20);
    s.formTitle = Text(Control::Text21);
    s.equipTitle = Text(Control::Text29);
    s.mechanic = Text(Control::Text25);
    s.cert = Text(Control::Text26);
    s.printCompany = Checked(Control::Check3D1);
    s.printRanges = Checked(Control::Check3D2);
    s.printMechanic = Checked(Control::Check3D3);
    s.printNotes = Checked(Control::Check3D4);
    return s;
}

void MainForm::RefreshSetupFromStore() {
    if (!Visible(Control::Panel3D7) || !records) return;
    CompanySettings restored;
    try {
        records->CompanySet.MoveFirst();
        restored = SettingsFromRow(records->database().ReadCompanyRow(), std::nullopt);
    } catch (const std::exception&) {
        return;
    }
    // The panel shows the file now in use; what the mechanic had typed since it was shown
    // stays on top, so that closing it stores those changes and nothing of the old file.
    const CompanySettings typed = SettingsOnPanel();
    CompanySettings shown = restored;
    if (setupShown_) {
        const CompanySettings& before = *setupShown_;
        auto keep = [](auto& into, const auto& now, const auto& was) {
            if (now != was) into = now;
        };
        keep(shown.name, typed.name, before.name);
        keep(shown.address, typed.address, before.address);
        keep(shown.cityStateZip, typed.cityStateZip, before.cityStateZip);
        keep(shown.formTitle, typed.formTitle, before.formTitle);
        keep(shown.equipTitle, typed.equipTitle, before.equipTitle);
        keep(shown.mechanic, typed.mechanic, before.mechanic);
        keep(shown.cert, typed.cert, before.cert);
        keep(shown.printCompany, typed.printCompany, before.printCompany);
        keep(shown.printRanges, typed.printRanges, before.printRanges);
        keep(shown.printMechanic, typed.printMechanic, before.printMechanic);
        keep(shown.printNotes, typed.printNotes, before.printNotes);
    }
    ShowCompanySettings(shown);
    setupShown_ = restored;
}

void MainForm::CloseSetup() {
    // While the check runs the panel keeps what was typed, to be stored a moment later. A
    // damaged store cannot take it at all: the panel closes, so the mechanic is not held on it.
    if (const std::string reason = ReadOnlyReason(); records && !reason.empty()) {
        dialogs_.Notice("Set-up not saved", reason + "\n\nPress OK to continue", Icon::Exclamation);
        if (Health() == StoreHealth::Checking) return;
        SetVisible(Control::Panel3D7, false);
        SetFocus(Control::Text1);
        return;
    }
    const CompanySettings s = SettingsOnPanel();
    const std::vector<std::string> failures =
        StoreCompanySettings(settings.get(), records ? &records->database() : nullptr, s);
    if (!failures.empty()) {
        dialogs_.Notice("Set-up not saved", Lines(failures) + "\nPress OK to continue", Icon::Critical);
        // With a database open the store can be tried again: the panel stays with what was
        // typed. Without one nothing more can be stored until a data folder is in use.
        if (records) return;
    }
    SetVisible(Control::Panel3D7, false);
    SetFocus(Control::Text1);
}

void MainForm::ShowFontSample() {
    sampleFont_ = InitialFontChoice(records ? &records->database() : nullptr);
    SetText(Control::Text28, Text(Control::Text17));
}

void MainForm::ClickFonts() {
    if (!records) {
        dialogs_.Notice("Report font not saved", NoStoreReason() + "\n\nPress OK to continue",
                        Icon::Information);
        return;
    }
    if (const std::string reason = ReadOnlyReason(); !reason.empty()) {
        dialogs_.Notice("Report font not saved", reason + "\n\nPress OK to continue", Icon::Exclamation);
        return;
    }
    MainDatabase& main = records->database();
    const std::optional<ReportFont> chosen = dialogs_.ChooseFont(InitialFontChoice(&main));
    if (!chosen) return;  // Cancel: nothing changes
    try {
        main.WriteReportFont(*chosen);
    } catch (const std::exception& e) {
        dialogs_.Notice("Report font not saved", std::string(e.what()) + "\n\nPress OK to continue",
                        Icon::Critical);
        return;
    }
    sampleFont_ = *chosen;
    SetText(Control::Text28, Text(Control::Text17));
}

void MainForm::ShowDataFolderPanel() {
    hourglass_ = false;
    SetVisible(Control::Panel3D11, true);
    Nullable stored;
    if (settings) {
        try {
            stored = settings->DataPath();
        } catch (const std::exception&) {
        }
    }
    // A shop server chosen instead of a folder is not a folder gone missing.
    if (stored && IsServerPath(*stored)) stored.reset();
    const FolderListStart start = DataFolderStart(stored, workingFolder);
    chosenFolder_ = start.folder;
    if (start.storedMissing)
        dialogs_.Notice("Data folder not found",
                        "The data folder\n\n" + *stored +
                            "\n\nno longer exists. Choose the folder that holds the data and press SAVE; "
                            "it is used from the next start.\n\nPress OK to continue",
                        Icon::Exclamation);
}

void MainForm::FolderChosen(std::string folder) {
    if (!Usable(Control::Panel3D11) || folder.empty()) return;
    chosenFolder_ = std::move(folder);
}

void MainForm::SaveDataFolder() {
    try {
        if (!settings) throw std::runtime_error("The settings database is not open.");
        wb::SaveDataFolder(*settings, chosenFolder_);
    } catch (const std::exception& e) {
        dialogs_.Notice("Data folder not saved", std::string(e.what()) + "\n\nPress OK to continue",
                        Icon::Critical);
        return;
    }
    // Accepted all the same: one workstation alone on a network folder is safe.
    if (OnNetworkFileSystem(chosenFolder_))
        dialogs_.Notice("Data folder on a network drive",
                        "The data folder is on a network drive. If several workstations use it at once, the "
                        "database file can be damaged: a shop server (Shop server...) is the safe way to "
                        "share the database.\n\nPress OK to continue",
                        Icon::Exclamation);
    // An open database is never swapped under the screen: the new folder waits for the next start.
    if (records) {
        dialogs_.Notice(
            "Data folder saved",
            "The data folder\n\n" + chosenFolder_ +
                "\n\nis used from the next start of the program. Until then the records are kept " +
                WhereRecordsAre() + "\n\nPress OK to continue",
            Icon::Information);
        return;
    }
    // Nothing is open, so nothing is lost by opening the chosen folder's database at once. What
    // was typed into the set-up panel meanwhile stays where the database holds nothing.
    std::vector<std::pair<Control, std::string>> typed;
    for (Control c : {Control::Text17, Control::Text18, Control::Text19, Control::Text21, Control::Text29,
                      Control::Text25, Control::Text26})
        typed.emplace_back(c, Text(c));
    storeChosen_ = true;
    if (!OpenDataFolder(chosenFolder_)) return;  // told; the panel stays for another choice
    for (const auto& [c, text] : typed)
        if (Text(c).empty()) SetText(c, text);
    SetVisible(Control::Panel3D11, false);
    if (!Visible(Control::Panel3D7)) SetFocus(Control::Text1);
    dialogs_.Notice("Data folder saved",
                    "The records are kept " + WhereRecordsAre() + "\n\nPress OK to continue",
                    Icon::Information);
}

std::string MainForm::WhereRecordsAre() const {
    if (mainFile_.empty()) return "on the shop server";
    return "in\n\n" + mainFile_.string();
}

}  // namespace wb
