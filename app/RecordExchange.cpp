// The record package at the window: the history panel exports the tail's record into a
// package and imports a package from another shop, each on a connection of its own beside the
// window, under a progress dialog.
#include "app/MainForm.h"
#include "store/History.h"
#include "store/Records.h"

namespace wb {
namespace {

constexpr const char* kContinue = "\n\nPress OK to continue";
constexpr const char* kExported = "Record exported";
constexpr const char* kNotExported = "Record not exported";
constexpr const char* kImported = "Record imported";
constexpr const char* kNotImported = "Record not imported";
constexpr const char* kPackages = "Record packages (*.zip)";

std::string Count(std::int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::function<Database()> MainForm::StoreConnection(bool write) const {
    if (mainFile_.empty()) return serverConnection_;
    return [file = mainFile_, write] {
        return Database(file, write ? Database::Mode::OpenExisting : Database::Mode::ReadOnly);
    };
}

void MainForm::ClickExport() {
    const std::string tail = history.tail;
    if (!records) {
        dialogs_.Notice(kNotExported, NoStoreReason() + kContinue, Icon::Exclamation);
        return;
    }
    const std::function<Database()> connect = StoreConnection(false);
    if (!recordPdf || !connect) {
        dialogs_.Notice(kNotExported, std::string("The record cannot be exported from here.") + kContinue,
                        Icon::Exclamation);
        return;
    }
    const auto file =
        dialogs_.ChooseFileToSave("Export the record of " + tail, PackageFileName(tail), kPackages);
    if (!file) return;
    try {
        ExportOutcome done;
        // The file is replaced whole at the end, so a cancel leaves whatever was there.
        RunWithProgress(
            runInBackground, "Exporting the record of " + tail, true,
            [&done, &connect, &tail, path = std::filesystem::path(*file), writer = recordPdf](Progress& p) {
                Database db = connect();
                done = ExportTail(db, tail, path, writer, p);
            });
        dialogs_.Notice(kExported,
                        "The record of " + done.tail + " is in\n\n" + *file + "\n\n" +
                            Count(done.worksheets, "Worksheet", "Worksheets") + ", " +
                            Count(done.versions, "earlier version", "earlier versions") + ", " +
                            Count(done.signatures, "signature", "signatures") + " and " +
                            Count(done.auditEntries, "audit entry", "audit entries") + "." + kContinue,
                        Icon::Information);
    } catch (const WorkCancelled&) {
        dialogs_.Notice(kNotExported,
                        std::string("The export was cancelled; no package was written.") + kContinue,
                        Icon::Exclamation);
    } catch (const PackageError& e) {
        dialogs_.Notice(kNotExported, std::string(e.what()) + kContinue, Icon::Exclamation);
    } catch (const std::exception& e) {
        if (!MetDamage(e)) dialogs_.Notice(kNotExported, std::string(e.what()) + kContinue, Icon::Critical);
    }
}

void MainForm::ClickImport() {
    if (!records) {
        dialogs_.Notice(kNotImported, NoStoreReason() + kContinue, Icon::Exclamation);
        return;
    }
    if (const std::string reason = ReadOnlyReason(); !reason.empty()) {
        dialogs_.Notice(kNotImported, reason + kContinue, Icon::Exclamation);
        return;
    }
    const std::function<Database()> connect = StoreConnection(true);
    if (!connect) {
        dialogs_.Notice(kNotImported, std::string("A record cannot be imported from here.") + kContinue,
                        Icon::Exclamation);
        return;
    }
    const auto file = dialogs_.ChooseFileToOpen("Import a record package", kPackages);
    if (!file) return;
    try {
        ImportOutcome done;
        // Stored in one transaction at the very end: no Cancel that could come too late.
        RunWithProgress(runInBackground, "Importing the record", false,
                        [&done, &connect, path = std::filesystem::path(*file)](Progress& p) {
                            Database db = connect();
                            done = ImportPackage(db, path, p);
                        });
        AfterImport();
        dialogs_.Notice(kImported, done.Text() + kContinue, Icon::Information);
    } catch (const PackageError& e) {
        dialogs_.Notice(kNotImported, std::string(e.what()) + "\n\nNothing was stored." + kContinue,
                        Icon::Exclamation);
    } catch (const std::exception& e) {
        if (!MetDamage(e)) dialogs_.Notice(kNotImported, std::string(e.what()) + kContinue, Icon::Critical);
    }
}

void MainForm::AfterImport() {
    // Browsing reaches the imported Worksheets at once: the next press starts the set afresh.
    try {
        records->ReopenAircraftSet();
        BrowseStarted = 0;
        if (Visible(Control::Panel3D12)) {
            history = ReadHistory(records->db(), history.tail);
            ReadHistoryMarks();
            ReadReweighAdvice();
            ++historyReads;
            SetEnabled(Control::Command3D42, FreshWorksheet == 1 && history.Latest() != nullptr);
        }
    } catch (const std::exception& e) {
        if (!MetDamage(e))
            dialogs_.Notice("History not read", std::string(e.what()) + kContinue, Icon::Critical);
    }
}

}  // namespace wb
