// The main window without pixels. It owns the Worksheet, the form-level flags and the state
// of every control a rule reads or writes; each control event is one call. The Qt window
// forwards events here and then shows this state; it decides nothing itself.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Controls.h"
#include "app/HistoryPanel.h"
#include "app/LoadingPanel.h"
#include "package/RecordPackage.h"
#include "setup/CompanySettings.h"
#include "store/Audit.h"
#include "store/Backup.h"
#include "store/Verify.h"
#include "worksheet/Ports.h"
#include "worksheet/Progress.h"
#include "worksheet/RecordChain.h"
#include "worksheet/UnitSystem.h"
#include "worksheet/Weighing.h"
#include "worksheet/Worksheet.h"

namespace wb {

struct ServerAddress;    // a shop server's address (store/pg/)
class Records;           // the open main database and its record sets (store/)
class SettingsDatabase;  // "SetupVELKF.MDB" in the working folder (store/)

// What became of a character key typed into a control.
struct KeyResult {
    bool consumed = false;  // the key reaches no field as a character
    char32_t key = 0;       // the character to enter (the tail number takes capitals)
};

class MainForm {
  public:
    MainForm(Dialogs& dialogs, Clock& clock);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // ---- window events -------------------------------------------------------------
    void Load();      // main load: a fresh Worksheet
    void Activate();  // main activate: settings, main database, company
    // The box's text after an edit (typed, pasted, cut, undone), with the caret after it in
    // characters when the box knows it.
    void TextChanged(Control c, std::string text, std::optional<size_t> caret = std::nullopt);
    KeyResult KeyTyped(Control c, char32_t key);  // a character key, Enter and Backspace included
    void DeleteKey(Control grid);                 // the Delete key in a grid
    void GridMoveCurrent(Control grid, int row, int col);
    void GridScrolled(Control grid, int topRow);  // the scroll bar moved; the current cell stays
    void Clicked(Control c);                      // buttons, grids, result boxes
    void SetChecked(Control check, bool value);
    void FocusTo(Control c);                // the focus moved to c (leave rules run)
    void FolderChosen(std::string folder);  // the data-folder list moved to a folder or drive
    // The unit chooser of the specifications panel: the figures stay as typed, only the
    // words and patterns follow (Convert units converts them).
    void ChooseUnits(UnitSystem units);
    void CloseBox();  // the title-bar close box, Alt+F4: asks like Exit
    // A desktop key that stands for a button (Ctrl+S, Ctrl+N, Ctrl+P, Ctrl+Q): what a click on
    // the button does, where a click could reach it.
    void KeyForButton(Control button);
    void EscapeKey();  // closes the panel on top, as its own button does
    // The loading panel: a cell of one of its grids, or one of its boxes, after an edit.
    void LoadingCellEdited(LoadingGrid grid, int row, int col, std::string text);
    void LoadingBoxEdited(LoadingBox box, std::string text);

    // ---- state shown by the window -------------------------------------------------
    const std::string& Text(Control c) const;
    bool Checked(Control check) const;
    bool Visible(Control c) const { return visible_[Index(c)]; }
    bool Enabled(Control c) const { return enabled_[Index(c)]; }
    // Enabled, and on a panel that is shown and enabled: the control takes events.
    bool Usable(Control c) const;
    Control Focus() const { return focus_; }
    const std::string& TachCaption() const { return tachCaption_; }
    // The Worksheet's unit system, which every caption and result on the window follows.
    UnitSystem Units() const;
    // The new empty C.G. in % MAC, shown beside the new values: "40.65"; empty without a new
    // empty weight or without a LEMAC and a MAC longer than zero.
    std::string PercentMacText() const;
    bool Hourglass() const { return hourglass_; }
    bool Ended() const { return ended_; }
    // The folder the data-folder list stands on: what "Save" stores.
    const std::string& ChosenFolder() const { return chosenFolder_; }
    // The font of the sample Text28: the report font.
    const ReportFont& SampleFont() const { return sampleFont_; }

    Worksheet ws;

    // ---- form-level flags ----------------------------------------------------------
    int ScreenSaved = 0;      // 0: unsaved changes; 1: stored; 2: the focus has left Save
    int SearchActive = 0;     // 1 while the browse buttons step through the search result
    int BrowseDirection = 0;  // 2 next, 1 previous, 0 none
    int BrowseStarted = 0;    // 1 once a browse press has loaded a Worksheet
    int FreshWorksheet = 0;   // 1 from StartNewWorksheet until searched with or saved
    int SpecsPending = 0;     // 1 until the specifications carry-over has run
    std::string SearchCriterion;
    // Worksheets stored so far and what the last one was: the window says so for a moment,
    // where no click is needed to read it.
    int Saves = 0;
    std::string LastSaved;

    // The record store; empty while no main database is open.
    std::unique_ptr<Records> records;
    // The settings database; empty until Activate has opened it.
    std::unique_ptr<SettingsDatabase> settings;
    // Where "SetupVELKF.MDB" is found.
    std::filesystem::path workingFolder{"."};
    // A data folder given for this run only: opened in place of the stored one, which stays.
    std::optional<std::string> dataFolderForRun;

    // The history panel's chain: the tail on screen, read when the panel opened; the count
    // tells the window when to show it afresh.
    RecordChain history;
    int historyReads = 0;
    // What the history panel says of the tail's signed records, by date as shown, and the
    // tail's audit trail (app/Signatures.cpp).
    std::vector<HistoryMark> historyMarks;
    std::vector<AuditEntry> historyAudit;
    // The last verification of the signed records and the audit trail; told once when it fails.
    Verification verification;
    bool verified = false;
    // "Signed electronically by ..." and the record's hash, for a report of the Worksheet on
    // screen; empty lines when it is not signed.
    std::vector<std::string> SignatureLines();

    // ---- the store's health --------------------------------------------------------
    // Unchecked: no main database yet; Checking: the start-up check runs, the store is
    // read-only; Sound: it passed; Damaged: damage was found or met, the store is read-only.
    enum class StoreHealth { Unchecked, Checking, Sound, Damaged };
    StoreHealth Health() const { return health_; }
    // Why nothing can be stored just now; empty when saving is possible.
    std::string ReadOnlyReason() const;
    // Why nothing can be stored when no database is open: none chosen, or the chosen one failed.
    std::string NoStoreReason() const;
    // What the title bar shows after the program's name; empty while all is well.
    std::string StoreStatus() const;
    // A store failure. Damage is told once, with what can be done, and the store becomes
    // read-only; true when it was damage, so that the caller tells nothing more.
    bool MetDamage(const std::exception& e);
    // After a failure that is not plainly damage: the start-up check at once, and any damage
    // it finds told with the ways on; true when it was damage.
    bool DamageFoundOnFailure();
    // Runs long work away from the window: the start-up check beside it, and a backup, a
    // restore, a recovery, a move up or a conversion under a progress dialog. Unset, the work
    // runs at once, in order.
    AsideRunner runInBackground;
    // The date and time backups and kept files are named by.
    std::function<DateTime()> now = LocalNow;

    // The program that reads old Jet files; empty: the one installed beside this program.
    std::filesystem::path oldFileReader;

    // The print buttons hand over to the window, which owns the printer.
    std::function<void(Control report)> onPrint;
    // The user's guide is the window's to show.
    std::function<void()> onHelp;
    // Draws a tail's printed record for its record package; the window's, as it owns the
    // PDF output. Unset, no package can be exported.
    RecordPdfWriter recordPdf;

    // ---- the weighing record, the shop's scales, the due list (app/WeighingPanel.cpp) --
    // A scale as typed on the scales panel; id 0 for a new one.
    struct TypedScale {
        std::int64_t id = 0;
        std::string serial, makeModel, capacity, calibrated, intervalMonths;
    };
    // The shop's scales, read when a panel that shows them opens and after each change.
    std::vector<ShopScale> shopScales;
    // A box of the weighing panel changed: a scale chosen for a row, a condition typed.
    void WeighingFieldChanged(Field f, std::string text);
    // What the weighing on screen earns from the shop's scales, as a save tells it.
    std::vector<std::string> WeighingWarningsNow() const;
    // Stores the scale typed; false, the reason told, when it is refused.
    bool KeepScale(const TypedScale& typed);
    // Deletes the scale, or retires it when a stored weighing names it.
    void RemoveShopScale(std::int64_t id);
    // The reweigh advice and next due date for the tail on screen, worked out with the history.
    ReweighInput reweighInput;
    ReweighAdvice reweighAdvice;
    // The calculation report's weighing section for the screen's weighing: its scales,
    // conditions and warnings, and the stored record's reweigh advice and next due date.
    std::vector<WeighingLine> WeighingReportLines();
    // The due list as read when its panel opened; the count tells the window when to redraw it.
    std::vector<DueLine> dueList;
    int dueReads = 0;

    // ---- procedures of the window --------------------------------------------------
    void StartNewWorksheet();
    void ShowDataFolderPanel();
    void ShowFontSample();                      // Text28: the company name in the stored report font
    void SetText(Control c, std::string text);  // a program write, same rules as typing
    void SetFocus(Control c);
    void SetVisible(Control c, bool v) { visible_[Index(c)] = v; }
    void SetEnabled(Control c, bool e) { enabled_[Index(c)] = e; }
    Dialogs& dialogs() { return dialogs_; }
    Clock& clock() { return clock_; }

  private:
    static size_t Index(Control c) { return static_cast<size_t>(c); }
    void FocusLeft(Control c);
    // Runs a grid event; a change to what was typed in the grid marks the screen unsaved.
    void WatchGrid(GridId id, const std::function<void()>& event);
    void TellIfFirstRowBlocked();  // once, when a weighing finds no room for row 0
    // Browsing from this screen would drop typed work: a loaded or saved Worksheet edited
    // since, or a fresh one with rows or specifications typed (header boxes alone are a search).
    bool BrowseWouldDropWork() const;
    void BuildPreviousEmptyRow(Field leaving);  // tells when the change list has no room
    void ClickNew();
    void ClickExit();
    void ClickNotes();
    void ClickSpecs();
    void ClickAbout();
    void ClickTach();
    void ClickConvertUnits();
    // The tail's last Worksheet's unit system, for a new Worksheet whose units the mechanic has
    // not chosen.
    void CarryOverUnits();
    void LeaveMac();
    void ClickSetup();
    void OpenSetup();
    void ShowCompanySettings(const CompanySettings& s);
    void CloseSetup();
    CompanySettings SettingsOnPanel() const;
    // After a restore or recovery: the set-up panel, when open, shows the file now in use.
    void RefreshSetupFromStore();
    void ClickFonts();
    void SaveDataFolder();
    void ClickSave();
    // Says whether a save that was in doubt was stored, once the store can tell.
    void SettleUncertainSave();
    void ClickBrowse(int direction);
    void RunBrowse();
    void CarryOverSpecs();
    void ClickHistory();
    void CloseHistory();
    void ReadHistoryMarks();
    // The history panel's record package (app/RecordExchange.cpp).
    void ClickExport();
    void ClickImport();
    // Shows the history and the record sets afresh after Worksheets were stored elsewhere.
    void AfterImport();
    // Opens a connection of its own to the store in use, for work on a worker thread.
    std::function<Database()> StoreConnection(bool write) const;
    // Signing and signers (app/Signatures.cpp).
    void ClickSign();
    void ClickSigners();
    void AddSignerAsked();
    void RetireSignerAsked();
    // A save of a Worksheet loaded from a signed one under a later date: asked whether it is a
    // correction; true when the save was done or refused here.
    bool SavedAsCorrection(bool searchPath);
    // Verifies the signatures and the audit trail beside the window, on a connection of its own.
    void BeginVerification(std::function<Database()> connect);
    void VerificationFinished(const Verification& result, const std::string& failure);
    void ClickLoading();
    void CloseLoading();
    void LoadingChanged();
    void StartFromLatest();
    bool OpenMainDatabase(const std::filesystem::path& file);
    // Opens the main database in the folder and shows its company; false when it could not be
    // opened (already told).
    bool OpenDataFolder(const std::string& dataPath);
    // Where the records are kept now, for the mechanic to read.
    std::string WhereRecordsAre() const;
    void BeginStartupCheck();
    void StartupCheckFinished(const StartupCheck& result);
    void BackupFinished(const StartupCheck& result);
    void RunAside(std::function<StartupCheck()> job, std::function<void(const StartupCheck&)> done);
    // On the worker where the window gives one, else here and now.
    void RunAsideWork(AsideWork work);
    void OfferDamageChoices(const std::string& problem, bool canGoOn);
    bool RestoreNewestGood();
    void RestoreChosen();
    void RecoverDamaged();
    void GoOnReadOnly();
    void ReopenStore();
    void ClickBackups();
    // The shop server (app/ShopServer.cpp).
    bool OpenServerStore(const std::string& dataPath);
    void ShowCompanyFromStore();
    void AfterCompanyShown(const CompanyRow& company);
    void ShowServerPanel();
    ServerAddress ServerChoice() const;
    bool NamesADatabase(const ServerAddress& address);  // tells when it does not
    void TestServerChoice();
    void SaveServerChoice();
    void ClickMoveUp();
    // The weighing record (app/WeighingPanel.cpp).
    void ClickWeighing();
    void ClickScales();
    void ClickDueList();
    void ReadShopScales();
    void TellWeighingWarnings();
    void ReadReweighAdvice();

    Dialogs& dialogs_;
    Clock& clock_;
    std::array<std::string, static_cast<size_t>(Control::Count)> texts_;  // boxes outside the Worksheet
    std::array<bool, static_cast<size_t>(Control::Count)> visible_{};
    std::array<bool, static_cast<size_t>(Control::Count)> enabled_{};
    // One per check box, Check3D1 to Check3D5 in the order of Control.
    std::array<bool, static_cast<size_t>(Control::Check3D5) - static_cast<size_t>(Control::Check3D1) + 1>
        checks_{};
    Control focus_ = Control::None;
    std::string tachCaption_ = "Tach";
    bool hourglass_ = false;
    bool ended_ = false;
    std::string chosenFolder_;
    ReportFont sampleFont_;
    StoreHealth health_ = StoreHealth::Unchecked;
    std::filesystem::path mainFile_;  // the main database in use, or the one that failed
    // A connection to the shop server in use, as the start opened it (empty with a local file).
    std::function<Database()> serverConnection_;
    bool storeChosen_ = false;        // a data folder or shop server was named for this run
    bool backupFailureTold_ = false;
    // A change made since the screen was new, loaded, saved or cleared by a browse press; and
    // of those, a grid row or a specifications box typed (not a search's criteria).
    bool edited_ = false;
    bool rowsTyped_ = false;
    bool firstRowBlockedTold_ = false;
    // The mechanic picked the unit system of this new Worksheet: the carry-over leaves it.
    bool unitsChosen_ = false;
    // The tail number was edited since its box was last left: leaving it looks up the tail's units.
    bool tailEdited_ = false;
    std::string uncertainName_;
    // The company settings the set-up panel showed when it was opened from the store.
    std::optional<CompanySettings>
        setupShown_;  // the Worksheet whose save is in doubt, as the mechanic knows it
};

// The container a control sits on (the form itself: Control::None).
Control PanelOf(Control c);

}  // namespace wb
