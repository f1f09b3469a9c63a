// The shop server: opening the record store on it at start-up (with the password prompt when
// the server asks for one), the panel that chooses it and tests it, and moving a shop's local
// database up to it.
#include "app/MainForm.h"
#include "setup/DataFolder.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/SettingsDatabase.h"
#include "store/pg/CopyUp.h"
#include "store/pg/PgConnection.h"

namespace wb {
namespace {

constexpr const char* kContinue = "\n\nPress OK to continue";
constexpr const char* kServerTitle = "Shop server";

}  // namespace

bool MainForm::OpenServerStore(const std::string& dataPath) {
    const std::optional<ServerAddress> address = ParseServerPath(dataPath);
    if (!address) {
        dialogs_.Notice("Database could not be opened",
                        "The shop server chosen in the settings cannot be read:\n\n" + dataPath + kContinue,
                        Icon::Critical);
        return false;
    }
    std::string password;
    for (int attempt = 0;; ++attempt) {
        try {
            records = std::make_unique<Records>(OpenServer(*address, password));
            // The server keeps its own backups and checks; the local file's do not apply.
            mainFile_.clear();
            health_ = StoreHealth::Sound;
            serverConnection_ = [address = *address, password] { return ConnectServer(address, password); };
            BeginVerification(serverConnection_);
            return true;
        } catch (const ServerRefused& e) {
            records.reset();
            // Asked for once at each start, and never kept.
            if (e.reason() == ServerRefused::Reason::Password && attempt < 3) {
                const auto typed = dialogs_.AskPassword(
                    kServerTitle, std::string(e.what()) + "\n\nPassword for " + ShownAddress(*address) + ":");
                if (typed) {
                    password = *typed;
                    continue;
                }
            }
            dialogs_.Notice("Database could not be opened", std::string(e.what()) + kContinue,
                            Icon::Critical);
            return false;
        }
    }
}

void MainForm::ShowServerPanel() {
    ServerAddress shown;
    if (settings) {
        try {
            if (const auto stored = settings->DataPath(); stored && IsServerPath(*stored))
                if (const auto address = ParseServerPath(*stored)) shown = *address;
        } catch (const std::exception&) {
            // Nothing readable stored: the boxes start empty.
        }
    }
    SetText(Control::Text31, shown.host);
    SetText(Control::Text32, shown.port);
    SetText(Control::Text33, shown.database);
    SetText(Control::Text34, shown.user);
    SetChecked(Control::Check3D5, shown.sslmode == "verify-full");
    SetVisible(Control::Panel3D13, true);
    SetFocus(Control::Text31);
}

ServerAddress MainForm::ServerChoice() const {
    ServerAddress a;
    a.host = Text(Control::Text31);
    a.port = Text(Control::Text32);
    a.database = Text(Control::Text33);
    a.user = Text(Control::Text34);
    a.sslmode = Checked(Control::Check3D5) ? "verify-full" : "prefer";
    return a;
}

bool MainForm::NamesADatabase(const ServerAddress& a) {
    if (!a.database.empty()) return true;
    dialogs_.Notice(kServerTitle, std::string("Type the name of the shop's database.") + kContinue,
                    Icon::Exclamation);
    return false;
}

void MainForm::TestServerChoice() {
    const ServerAddress a = ServerChoice();
    if (!NamesADatabase(a)) return;
    std::string problem = TestServer(a);
    if (problem.find("asks for a password") != std::string::npos) {
        if (const auto typed =
                dialogs_.AskPassword(kServerTitle, problem + "\n\nPassword (used for this test only):"))
            problem = TestServer(a, *typed);
    }
    if (problem.empty())
        dialogs_.Notice(kServerTitle, "The shop server " + ShownAddress(a) + " can be used." + kContinue,
                        Icon::Information);
    else
        dialogs_.Notice(kServerTitle, problem + kContinue, Icon::Critical);
}

void MainForm::SaveServerChoice() {
    const ServerAddress a = ServerChoice();
    if (!NamesADatabase(a)) return;
    try {
        if (!settings) throw std::runtime_error("The settings database is not open.");
        settings->SetDataPath(ServerPath(a));
    } catch (const std::exception& e) {
        dialogs_.Notice("Data folder not saved", std::string(e.what()) + kContinue, Icon::Critical);
        return;
    }
    dialogs_.Notice(kServerTitle,
                    "The shop server " + ShownAddress(a) + " is used from the next start." + kContinue,
                    Icon::Information);
}

void MainForm::ClickMoveUp() {
    const ServerAddress a = ServerChoice();
    // The local database: the one open now, or the one in the chosen data folder.
    std::filesystem::path local;
    if (records && !records->db().OnServer())
        local = records->db().file();
    else if (!chosenFolder_.empty())
        local = MainDatabaseFile(chosenFolder_);
    std::error_code ec;
    if (local.empty() || !std::filesystem::exists(local, ec)) {
        dialogs_.Notice(
            kServerTitle,
            "There is no local database to move up: choose the data folder that holds \"VELK.MDB\" "
            "first." +
                std::string(kContinue),
            Icon::Exclamation);
        return;
    }
    if (!dialogs_.AskYesNo(kServerTitle, "Copy every Worksheet of\n\n" + local.string() +
                                             "\n\ninto the empty database on the shop server " +
                                             ShownAddress(a) + "?\n\nThe local database is left as it is."))
        return;
    try {
        CopyUpCounts counts;
        // The worker opens both ends itself: the store open on the window's thread stays
        // the window's.
        RunWithProgress(runInBackground, "Moving up to the shop server", true,
                        [&counts, a, local](Progress& p) {
                            Database server = OpenServer(a);
                            Database from = OpenDatabaseFile(local, MainTables());
                            counts = CopyUp(from, server, p);
                        });
        dialogs_.Notice(
            kServerTitle,
            "Copied to the shop server: " + std::to_string(counts.worksheets) + " Worksheets, " +
                std::to_string(counts.listRows) + " equipment rows and " + std::to_string(counts.revisions) +
                " earlier versions.\n\nPress Save to use the server from the next start." + kContinue,
            Icon::Information);
    } catch (const WorkCancelled&) {
        dialogs_.Notice(kServerTitle,
                        "The move was cancelled. Nothing was copied: the shop server's database is as it "
                        "was." +
                            std::string(kContinue),
                        Icon::Exclamation);
    } catch (const std::exception& e) {
        dialogs_.Notice(kServerTitle, std::string(e.what()) + "\n\nNothing was copied." + kContinue,
                        Icon::Critical);
    }
}

}  // namespace wb
