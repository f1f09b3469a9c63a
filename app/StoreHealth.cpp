// The main database's health: the check at start-up and the backup after it, damage told
// once with what can be done about it, the read-only state, and the set-up panel's
// "Backups" button (back up now, restore a chosen backup).
#include "app/MainForm.h"
#include "store/Backup.h"
#include "store/Records.h"
#include "store/Recover.h"
#include "store/Schema.h"
#include "store/Signing.h"

namespace wb {
namespace {

namespace fs = std::filesystem;

constexpr const char* kContinue = "\n\nPress OK to continue";
constexpr const char* kRestore = "Restore backup";
constexpr const char* kRecover = "Recover";

bool IsDamage(const std::exception& e) {
    const auto* failure = dynamic_cast<const SqliteError*>(&e);
    return failure != nullptr && failure->kind() == SqliteError::Kind::Damaged;
}

// The engine's findings can run long; the first few say enough.
std::string FirstLines(const std::string& text, int count) {
    size_t end = 0;
    for (int i = 0; i < count && end != std::string::npos; ++i)
        end = text.find('\n', end == 0 ? 0 : end + 1);
    return end == std::string::npos ? text : text.substr(0, end) + "\n...";
}

}  // namespace

std::string MainForm::NoStoreReason() const {
    if (!storeChosen_)
        return "No data folder has been chosen, so there is no database to store it in. Choose one "
               "(Set-up, Path) and press SAVE: the records are kept there at once.";
    return "The chosen database could not be opened, so there is nowhere to store it. Mend it, or choose "
           "another data folder (Set-up, Path) and press SAVE.";
}

std::string MainForm::ReadOnlyReason() const {
    switch (health_) {
        case StoreHealth::Checking:
            return "The database is still being checked. Saving is possible as soon as the check has "
                   "finished.";
        case StoreHealth::Damaged:
            return "The database file is damaged, so nothing more is stored in it until it is restored from "
                   "a "
                   "backup or recovered (Set-up, Backups).";
        default:
            return {};
    }
}

std::string MainForm::StoreStatus() const {
    switch (health_) {
        case StoreHealth::Checking:
            return "checking the database";
        case StoreHealth::Damaged:
            return "read-only: the database is damaged";
        default:
            return {};
    }
}

bool MainForm::OpenMainDatabase(const std::filesystem::path& file) {
    mainFile_ = file;
    health_ = StoreHealth::Unchecked;
    try {
        records = std::make_unique<Records>(file);
    } catch (const StoreError& e) {
        records.reset();
        if (!e.damaged()) throw;
        OfferDamageChoices(e.what(), false);
        return records != nullptr;
    } catch (const std::exception& e) {
        records.reset();
        if (!IsDamage(e)) throw;
        OfferDamageChoices(std::string("The database could not be read: ") + e.what() + ".", false);
        return records != nullptr;
    }
    BeginStartupCheck();
    return records != nullptr;
}

void MainForm::BeginStartupCheck() {
    health_ = StoreHealth::Checking;
    // Nothing is written to a file before it has passed its check.
    records->db().Exec("PRAGMA query_only = 1");
    const std::filesystem::path file = mainFile_;
    auto done = [this, file](const StartupCheck& result) {
        // A store opened since (a restore, a recovery) has had its own check.
        if (records && health_ == StoreHealth::Checking && mainFile_ == file) StartupCheckFinished(result);
    };
    RunAside([file] { return CheckMainFile(file); }, std::move(done));
}

void MainForm::RunAside(std::function<StartupCheck()> job, std::function<void(const StartupCheck&)> done) {
    // The result is written on the worker and read on the window's thread once it has ended.
    auto result = std::make_shared<StartupCheck>();
    AsideWork work{[result, job = std::move(job)](Progress&) { *result = job(); },
                   [result, done = std::move(done)] { done(*result); },
                   {},
                   false};
    RunAsideWork(std::move(work));
}

void MainForm::RunAsideWork(AsideWork work) {
    if (runInBackground) {
        runInBackground(std::move(work));
    } else {
        work.job(NoProgress());
        work.done();
    }
}

void MainForm::StartupCheckFinished(const StartupCheck& result) {
    if (!result.damage.empty()) {
        health_ = StoreHealth::Damaged;
        OfferDamageChoices("The check of the database found damage:\n" + FirstLines(result.damage, 3), true);
        return;
    }
    records->db().Exec("PRAGMA query_only = 0");
    health_ = StoreHealth::Sound;
    BeginVerification([file = mainFile_] { return Database(file, Database::Mode::ReadOnly); });
    // Saving goes on while the backup is made: the copy steps aside for each save.
    if (!ChangedSinceLastBackup(mainFile_)) return;
    const std::filesystem::path file = mainFile_;
    const DateTime when = now();
    RunAside([file, when] { return BackUpChecked(file, when); },
             [this, file](const StartupCheck& r) {
                 if (records && mainFile_ == file) BackupFinished(r);
             });
}

void MainForm::BackupFinished(const StartupCheck& result) {
    if (!result.damage.empty()) {
        if (health_ == StoreHealth::Damaged) return;
        health_ = StoreHealth::Damaged;
        records->db().Exec("PRAGMA query_only = 1");
        OfferDamageChoices(
            "The check of a copy of the database found damage:\n" + FirstLines(result.damage, 3), true);
        return;
    }
    if (result.backup.failure.empty() || backupFailureTold_) return;
    backupFailureTold_ = true;
    dialogs_.Notice("No backup made",
                    "A backup of the database could not be made in\n" + BackupFolderOf(mainFile_).string() +
                        "\n\nbecause " + result.backup.failure +
                        ".\n\nThe database itself is unchanged and the program goes on; the next start tries "
                        "again." +
                        kContinue,
                    Icon::Exclamation);
}

bool MainForm::DamageFoundOnFailure() {
    if (!records || records->db().OnServer() || health_ == StoreHealth::Damaged) return false;
    const StartupCheck check = CheckMainFile(mainFile_);
    if (check.damage.empty()) return false;
    health_ = StoreHealth::Damaged;
    try {
        records->db().Exec("PRAGMA query_only = 1");
    } catch (const std::exception&) {
    }
    OfferDamageChoices("The check of the database found damage:\n" + FirstLines(check.damage, 3), true);
    return true;
}

bool MainForm::MetDamage(const std::exception& e) {
    if (!records) return false;
    // A damaged file fails in many ways (a garbled column name reads as "no such column"):
    // once told, every engine failure is that same damage.
    if (health_ == StoreHealth::Damaged && dynamic_cast<const SqliteError*>(&e) != nullptr) return true;
    if (!IsDamage(e)) return false;
    health_ = StoreHealth::Damaged;
    try {
        records->db().Exec("PRAGMA query_only = 1");
    } catch (const std::exception&) {
    }
    OfferDamageChoices(std::string("The database could not be read: ") + e.what() + ".", true);
    return true;
}

void MainForm::OfferDamageChoices(const std::string& problem, bool canGoOn) {
    const std::vector<BackupFile> backups = ListBackups(mainFile_);
    std::string text = mainFile_.string() + "\n\n" + problem + "\n\nWhat can be done:\n";
    std::vector<std::string> choices;
    if (!backups.empty()) {
        text +=
            "- Restore backup: the newest good backup takes the damaged file's place (the newest was made " +
            ShownDateTime(backups.back().made) + "); Worksheets stored since then are not in it.\n";
        choices.push_back(kRestore);
    }
    text +=
        "- Recover: every Worksheet that can still be read is copied into a new file, which takes the "
        "damaged file's place; you are shown what was lost.\n";
    choices.push_back(kRecover);
    if (canGoOn) {
        text +=
            "- Read-only: go on with the damaged file. Worksheets can be looked at and printed; nothing can "
            "be saved.\n";
        choices.push_back("Read-only");
    } else {
        text += "- Not now: the file stays as it is and another data folder can be chosen.\n";
        choices.push_back("Not now");
    }
    text += "\nEither way the damaged file is kept beside the new one under a new name; it is never deleted.";
    const std::string& picked = choices[dialogs_.Choose("Database damaged", text, choices, Icon::Critical)];
    if (picked == kRestore) {
        RestoreNewestGood();
    } else if (picked == kRecover) {
        RecoverDamaged();
    }
}

bool MainForm::RestoreNewestGood() {
    records.reset();
    const std::vector<BackupFile> backups = ListBackups(mainFile_);
    std::string failures;
    for (auto b = backups.rbegin(); b != backups.rend(); ++b) {
        try {
            std::optional<fs::path> kept;
            RunWithProgress(runInBackground, "Restoring a backup", true,
                            [&kept, file = mainFile_, from = b->file, when = now()](Progress& p) {
                                kept = RestoreBackup(file, from, when, "damaged", p);
                            });
            ReopenStore();
            dialogs_.Notice(
                "Backup restored",
                "The backup made " + ShownDateTime(b->made) + " is in use:\n" +
                    SummaryLine(DescribeBackup(*b)) +
                    (failures.empty() ? std::string()
                                      : "\n\nNewer backups were passed over, since they did not pass their "
                                        "check:" +
                                            failures) +
                    (kept ? "\n\nThe damaged file is kept as\n" + kept->string() : std::string()) + kContinue,
                Icon::Information);
            return true;
        } catch (const WorkCancelled&) {
            dialogs_.Notice(
                "Backup not restored",
                std::string("The restore was cancelled. The damaged file is as it was.") + kContinue,
                Icon::Exclamation);
            GoOnReadOnly();
            return false;
        } catch (const std::exception& e) {
            // A backup that is itself damaged is passed over for the one before it.
            failures += "\n" + b->file.filename().string() + ": " + e.what();
        }
    }
    dialogs_.Notice("Backup not restored", "No backup could be restored." + failures + kContinue,
                    Icon::Critical);
    GoOnReadOnly();
    return false;
}

// The damaged file is still where it was: go on read-only over it if it opens.
void MainForm::GoOnReadOnly() {
    try {
        records = std::make_unique<Records>(mainFile_);
        records->db().Exec("PRAGMA query_only = 1");
        health_ = StoreHealth::Damaged;
    } catch (const std::exception&) {
        records.reset();
    }
}

void MainForm::RecoverDamaged() {
    records.reset();
    try {
        Recovery r;
        RunWithProgress(
            runInBackground, "Recovering the database", true,
            [&r, file = mainFile_, when = now()](Progress& p) { r = RecoverMainDatabase(file, when, p); });
        ReopenStore();
        std::string text = std::to_string(r.worksheetsSaved) + " Worksheets and " +
                           std::to_string(r.rowsSaved) + " equipment rows were recovered; " +
                           std::to_string(r.worksheetsLost) + " Worksheets and " +
                           std::to_string(r.rowsLost) + " equipment rows could not be read.\n" +
                           std::to_string(r.revisionsSaved) + " earlier versions were recovered; " +
                           std::to_string(r.revisionsLost) + " earlier versions and " +
                           std::to_string(r.revisionRowsLost) + " of their list rows could not be read.";
        if (r.loadingRowsLost > 0)
            text += "\n" + std::to_string(r.loadingRowsLost) + " rows of loading data could not be read.";
        if (r.companyLost) text += "\nThe company details could not be read: fill them in again at Set-up.";
        // A box cannot show thousands of lines; the count above says how many there are.
        constexpr size_t kShown = 30;
        for (size_t i = 0; i < r.lost.size() && i < kShown; ++i)
            text += "\n" + r.lost[i];
        if (r.lost.size() > kShown) text += "\n... and " + std::to_string(r.lost.size() - kShown) + " more";
        text += "\n\nThe damaged file is kept as\n" + r.keptAs.string() + kContinue;
        dialogs_.Notice("Database recovered", text, Icon::Information);
    } catch (const WorkCancelled&) {
        dialogs_.Notice("Database not recovered",
                        std::string("The recovery was cancelled. The damaged file is as it was.") + kContinue,
                        Icon::Exclamation);
        GoOnReadOnly();
    } catch (const std::exception& e) {
        dialogs_.Notice("Database not recovered", std::string(e.what()) + kContinue, Icon::Critical);
        GoOnReadOnly();
    }
}

// A restored or recovered file has been checked as it was written: it is in use at once.
void MainForm::ReopenStore() {
    records = std::make_unique<Records>(mainFile_);
    health_ = StoreHealth::Sound;
    SearchActive = 0;
    BrowseStarted = 0;
    RefreshSetupFromStore();
    // A Worksheet loaded from the old file may not be in the new one; one still being
    // typed stays on screen to be saved into it.
    if (ScreenSaved != 0) StartNewWorksheet();
}

void MainForm::ClickBackups() {
    if (records && records->db().OnServer()) {
        dialogs_.Notice("Backups",
                        "The records are kept on the shop server " + records->db().file().string() +
                            ". Its backups are made on the server, by whoever looks after it." +
                            std::string(kContinue),
                        Icon::Information);
        return;
    }
    if (!records && mainFile_.empty()) {
        dialogs_.Notice(
            "Backups",
            "No data folder has been chosen, so there is no database to back up." + std::string(kContinue),
            Icon::Information);
        return;
    }
    const std::string folder = BackupFolderOf(mainFile_).string();
    const std::vector<std::string> choices = {"Back up now", "Restore...", "Cancel"};
    const size_t picked = dialogs_.Choose(
        "Backups",
        "Backups of the database are kept in\n" + folder +
            "\n\nOne is made at each start when the database has changed. The last 10 are kept, "
            "and one a month for 2 years.",
        choices, Icon::Question);
    if (picked == 0) {
        if (health_ != StoreHealth::Sound) {
            dialogs_.Notice("No backup made",
                            "Only a database that has passed its check is backed up, so that a damaged copy "
                            "never pushes a good one out." +
                                std::string(kContinue),
                            Icon::Exclamation);
            return;
        }
        BackupResult made;
        RunWithProgress(
            runInBackground, "Backing up the database", true,
            [&made, file = mainFile_, when = now()](Progress& p) { made = MakeBackup(file, when, p); });
        // Stopped by the mechanic: nothing was made, and nothing needs saying.
        if (made.cancelled) return;
        if (made.made) {
            dialogs_.Notice("Backup made",
                            "The database was backed up as\n" + made.made->string() + kContinue,
                            Icon::Information);
        } else {
            dialogs_.Notice(
                "No backup made",
                "A backup could not be made in\n" + folder + "\n\nbecause " + made.failure + "." + kContinue,
                Icon::Exclamation);
        }
    } else if (picked == 1) {
        RestoreChosen();
    }
}

void MainForm::RestoreChosen() {
    const std::vector<BackupFile> backups = ListBackups(mainFile_);
    if (backups.empty()) {
        dialogs_.Notice("Backups",
                        "There is no backup yet in\n" + BackupFolderOf(mainFile_).string() + kContinue,
                        Icon::Information);
        return;
    }
    std::vector<std::string> lines;
    for (const BackupFile& b : backups)
        lines.push_back(SummaryLine(DescribeBackup(b)));
    const auto picked =
        dialogs_.PickFromList("Restore a backup", "Choose the backup to put in use (newest last).", lines);
    if (!picked || *picked >= backups.size()) return;
    const BackupFile& chosen = backups[*picked];
    if (records) {
        std::vector<std::string> replaced;
        try {
            Database backup(chosen.file, Database::Mode::ReadOnly);
            replaced = SignedRecordsReplaced(records->db(), backup);
        } catch (const std::exception&) {
            // A backup that cannot be read is refused by the restore itself, with its reason.
        }
        if (!replaced.empty()) {
            std::string list;
            for (size_t i = 0; i < replaced.size() && i < 20; ++i)
                list += "\n" + replaced[i];
            dialogs_.Notice(
                "Backup not restored",
                "The backup of " + ShownDateTime(chosen.made) +
                    " does not hold these signed Worksheets as they were signed, and a restore "
                    "would replace them:" +
                    list + "\n\nSigned records are kept as they were signed; the database is as it was." +
                    kContinue,
                Icon::Exclamation);
            return;
        }
    }
    if (!dialogs_.AskYesNo(
            "Restore a backup",
            "Put the backup of " + ShownDateTime(chosen.made) +
                " in use? Worksheets stored since then are not in it. The current database file "
                "is kept beside it under a new name."))
        return;
    const bool damaged = health_ == StoreHealth::Damaged;
    records.reset();
    std::string failure;
    Icon icon = Icon::Critical;
    try {
        std::optional<fs::path> kept;
        RunWithProgress(runInBackground, "Restoring a backup", true,
                        [&kept, file = mainFile_, from = chosen.file, when = now(),
                         why = std::string(damaged ? "damaged" : "replaced")](Progress& p) {
                            kept = RestoreBackup(file, from, when, why, p);
                        });
        ReopenStore();
        dialogs_.Notice(
            "Backup restored",
            "The backup made " + ShownDateTime(chosen.made) + " is in use." +
                (kept ? "\n\nThe file it replaced is kept as\n" + kept->string() : std::string()) + kContinue,
            Icon::Information);
        return;
    } catch (const WorkCancelled&) {
        failure = "The restore was cancelled. The database is as it was.";
        icon = Icon::Exclamation;
    } catch (const std::exception& e) {
        failure = e.what();
    }
    dialogs_.Notice("Backup not restored", failure + kContinue, icon);
    try {
        records = std::make_unique<Records>(mainFile_);
        // Still unchecked or damaged, the file stays closed to saves as before.
        if (health_ != StoreHealth::Sound) records->db().Exec("PRAGMA query_only = 1");
    } catch (const std::exception&) {
        records.reset();
    }
}

}  // namespace wb
