// The start-up body of the main window: the settings row, the main database and its record
// sets, and the company settings with the check that opens the set-up panel.
#include "app/LegacyConversion.h"
#include "app/MainForm.h"
#include "setup/DataFolder.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/SettingsDatabase.h"

namespace wb {
namespace {

// An old database file the mechanic chose not to convert, or that could not be; already told.
struct LeftAsItIs {};

void TellUnusable(Dialogs& dialogs, const std::filesystem::path& file, const std::string& reason) {
    dialogs.Notice("Database could not be opened",
                   file.string() + "\n\n" + reason + "\n\nPress OK to continue", Icon::Critical);
}

// The company row into the set-up panel and the Worksheet defaults: print options first,
// then the text fields; a Null gives an empty box or an unticked option.
void LoadCompanySettings(MainForm& form, const CompanyRow& row) {
    form.SetChecked(Control::Check3D1, row.PrintCo.value_or(false));
    form.SetChecked(Control::Check3D2, row.PrintCG.value_or(false));
    form.SetChecked(Control::Check3D3, row.PrintMech.value_or(false));
    form.SetChecked(Control::Check3D4, row.PrintNotes.value_or(false));
    form.SetText(Control::Text17, row.CompName.value_or(""));
    form.SetText(Control::Text18, row.CompAddress.value_or(""));
    form.SetText(Control::Text19, row.CompCSZ.value_or(""));
    form.SetText(Control::Text21, row.FormTitle.value_or(""));
    form.SetText(Control::Text29, row.EquipTitle.value_or(""));
    form.SetText(Control::Text25, row.Mechanic.value_or(""));
    form.SetText(Control::Text6, form.Text(Control::Text25));
    form.SetText(Control::Text26, row.Cert.value_or(""));
    form.SetText(Control::Text22, form.Text(Control::Text26));
}

}  // namespace

void MainForm::Activate() {
    SetText(Control::Text7, ShownDate(clock_.Today()));
    std::optional<std::string> dataPath;
    // An old settings file left as it is cannot be opened: start as if no folder were chosen.
    try {
        if (OfferConversion(dialogs_, workingFolder / SettingsDatabase::kFileName,
                            LegacyDatabase::Settings) == LegacyFileOutcome::LeftAsItIs)
            throw LeftAsItIs();
        settings = std::make_unique<SettingsDatabase>(workingFolder);
        SetText(Control::Text20, settings->CompanyPhone().value_or(""));
        dataPath = settings->DataPath();
    } catch (const LeftAsItIs&) {
        dataPath.reset();
    } catch (const StoreError& e) {
        TellUnusable(dialogs_, e.file(), e.what());
        dataPath.reset();
    } catch (const std::exception& e) {
        TellUnusable(dialogs_, workingFolder / SettingsDatabase::kFileName, e.what());
        dataPath.reset();
    }
    // No data folder chosen yet (an empty text names none either), or the chosen one is gone:
    // the data-folder panel, which says which.
    if (!dataPath || dataPath->empty() || DataFolderStart(dataPath, workingFolder).storedMissing) {
        ShowDataFolderPanel();
        return;
    }

    CompanyRow company;
    try {
        if (OfferConversion(dialogs_, MainDatabaseFile(*dataPath), LegacyDatabase::Main) ==
            LegacyFileOutcome::LeftAsItIs)
            throw LeftAsItIs();
        records = std::make_unique<Records>(MainDatabaseFile(*dataPath));
        records->CompanySet.MoveFirst();
        company = records->database().ReadCompanyRow();
    } catch (const LeftAsItIs&) {
        records.reset();
    } catch (const StoreError& e) {
        records.reset();
        TellUnusable(dialogs_, e.file(), e.what());
    } catch (const std::exception& e) {
        records.reset();
        TellUnusable(dialogs_, MainDatabaseFile(*dataPath), e.what());
    }
    if (!records) {
        ShowDataFolderPanel();
        return;
    }

    LoadCompanySettings(*this, company);
    ShowFontSample();
    Control missing = Control::None;
    if (!company.CompName) {
        missing = Control::Text17;
    } else if (!company.CompAddress) {
        missing = Control::Text18;
    } else if (!company.FormTitle) {
        missing = Control::Text21;
    }
    if (missing != Control::None) {
        SetVisible(Control::Panel3D7, true);
        SetFocus(missing);
    }
}

}  // namespace wb
