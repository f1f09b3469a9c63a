// The start-up body of the main window: the settings row, the main database and its record
// sets, and the company settings with the check that opens the set-up panel.
#include "app/LegacyConversion.h"
#include "app/MainForm.h"
#include "setup/CompanySettings.h"
#include "setup/DataFolder.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/SettingsDatabase.h"
#include "store/pg/ServerAddress.h"

namespace wb {
namespace {

// An old database file the mechanic chose not to convert, or that could not be; already told.
struct LeftAsItIs {};

void TellUnusable(Dialogs& dialogs, const std::filesystem::path& file, const std::string& reason) {
    dialogs.Notice("Database could not be opened",
                   file.string() + "\n\n" + reason + "\n\nPress OK to continue", Icon::Critical);
}

}  // namespace

void MainForm::Activate() {
    SetText(Control::Text7, ShownDate(clock_.Today()));
    std::optional<std::string> dataPath;
    // An old settings file left as it is cannot be opened: start as if no folder were chosen.
    try {
        if (OfferConversion(dialogs_, workingFolder / SettingsDatabase::kFileName, LegacyDatabase::Settings,
                            oldFileReader) == LegacyFileOutcome::LeftAsItIs)
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
    if (dataFolderForRun) dataPath = dataFolderForRun;
    storeChosen_ = dataPath && !dataPath->empty();
    if (dataPath && IsServerPath(*dataPath)) {
        if (!OpenServerStore(*dataPath)) {
            ShowDataFolderPanel();
            return;
        }
        ShowCompanyFromStore();
        return;
    }
    // No data folder chosen yet (an empty text names none either), or the chosen one is gone:
    // the data-folder panel, which says which.
    if (!dataPath || dataPath->empty() || DataFolderStart(dataPath, workingFolder).storedMissing) {
        ShowDataFolderPanel();
        return;
    }
    if (!OpenDataFolder(*dataPath)) ShowDataFolderPanel();
}

bool MainForm::OpenDataFolder(const std::string& dataPath) {
    CompanyRow company;
    try {
        if (OfferConversion(dialogs_, MainDatabaseFile(dataPath), LegacyDatabase::Main, oldFileReader,
                            runInBackground) == LegacyFileOutcome::LeftAsItIs)
            throw LeftAsItIs();
        // A damaged file is told about here, once, with what can be done.
        if (OpenMainDatabase(MainDatabaseFile(dataPath))) {
            records->CompanySet.MoveFirst();
            company = records->database().ReadCompanyRow();
        }
    } catch (const LeftAsItIs&) {
        records.reset();
    } catch (const StoreError& e) {
        records.reset();
        TellUnusable(dialogs_, e.file(), e.what());
    } catch (const std::exception& e) {
        // Damage met while reading the company row leaves the store open, read-only. A
        // failure that is not plainly damage (a garbled column name reads as "no such
        // column") is put to the start-up check, so that any damage it finds is told with
        // the ways on rather than as a database that cannot be opened.
        if (!MetDamage(e) && !DamageFoundOnFailure()) {
            records.reset();
            TellUnusable(dialogs_, MainDatabaseFile(dataPath), e.what());
        }
        company = {};
        if (records) {
            try {
                records->CompanySet.MoveFirst();
                company = records->database().ReadCompanyRow();
            } catch (const std::exception&) {
                // A read-only damaged store without its company row: the panel stays empty.
            }
        }
    }
    if (!records) {
        // Nothing is open, so nothing is being checked.
        health_ = StoreHealth::Unchecked;
        return false;
    }
    ShowCompanySettings(SettingsFromRow(company, std::nullopt));
    AfterCompanyShown(company);
    return true;
}

void MainForm::ShowCompanyFromStore() {
    CompanyRow company;
    try {
        records->CompanySet.MoveFirst();
        company = records->database().ReadCompanyRow();
    } catch (const std::exception& e) {
        dialogs_.Notice("Database could not be opened",
                        records->db().file().string() + "\n\n" + e.what() + "\n\nPress OK to continue",
                        Icon::Critical);
    }
    ShowCompanySettings(SettingsFromRow(company, std::nullopt));
    AfterCompanyShown(company);
}

void MainForm::AfterCompanyShown(const CompanyRow& company) {
    // The company row is in the set-up panel; its defaults go on into the Worksheet, where the
    // mechanic has typed nothing yet (a store opened while the program runs keeps what was typed).
    if (Text(Control::Text6).empty()) SetText(Control::Text6, Text(Control::Text25));
    if (Text(Control::Text22).empty()) SetText(Control::Text22, Text(Control::Text26));
    ShowFontSample();
    Control missing = Control::None;
    switch (FirstMissingDetail(company)) {
        case MissingDetail::Name:
            missing = Control::Text17;
            break;
        case MissingDetail::Address:
            missing = Control::Text18;
            break;
        case MissingDetail::Title:
            missing = Control::Text21;
            break;
        case MissingDetail::None:
            break;
    }
    if (missing != Control::None) {
        SetVisible(Control::Panel3D7, true);
        SetFocus(missing);
    }
}

}  // namespace wb
