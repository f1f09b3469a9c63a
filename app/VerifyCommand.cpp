#include "app/VerifyCommand.h"

#include <string>

#include "store/Schema.h"
#include "store/SettingsDatabase.h"
#include "store/Verify.h"
#include "store/pg/PgConnection.h"
#include "store/pg/ServerAddress.h"
#include "worksheet/Dates.h"

namespace wb {
std::optional<std::string> CommandDataPath(const std::optional<std::filesystem::path>& folder,
                                           const std::filesystem::path& settingsFolder) {
    if (folder) return folder->string();
    std::error_code ec;
    if (!std::filesystem::exists(settingsFolder / SettingsDatabase::kFileName, ec)) return std::nullopt;
    const std::string dataPath = SettingsDatabase(settingsFolder).DataPath().value_or("");
    if (dataPath.empty()) return std::nullopt;
    return dataPath;
}

// A local file is opened read-only where the verb only reads, so that it never writes it.
std::optional<Database> OpenCommandDatabase(const std::string& dataPath, bool write, std::ostream& out) {
    if (IsServerPath(dataPath)) {
        const auto address = ParseServerPath(dataPath);
        if (!address) {
            out << "The shop server in the settings cannot be read: " << dataPath << "\n";
            return std::nullopt;
        }
        return ConnectServer(*address, "");
    }
    const std::filesystem::path file = MainDatabaseFile(dataPath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        out << "No database " << file.string() << "\n";
        return std::nullopt;
    }
    return Database(file, write ? Database::Mode::OpenExisting : Database::Mode::ReadOnly);
}

std::string LayoutProblem(Database& db, bool& older) {
    Statement version =
        db.Prepare(db.OnServer() ? "SELECT max(Version) FROM SchemaVersion" : "PRAGMA user_version");
    older = !version.Step() || version.Int(0) < kSchemaVersion;
    if (older)
        return db.file().string() +
               ": written by an earlier version of the program, so it has no signatures or audit trail yet. "
               "Start the program on it once.";
    if (version.Int(0) > kSchemaVersion)
        return db.file().string() + ": written by a newer version of this program.";
    return {};
}

int VerifyCommand(const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, std::ostream& out) {
    try {
        const std::optional<std::string> dataPath = CommandDataPath(folder, settingsFolder);
        if (!dataPath) {
            out << "No data folder has been chosen yet; name one: --verify FOLDER\n";
            return 2;
        }
        std::optional<Database> opened = OpenCommandDatabase(*dataPath, false, out);
        if (!opened) return 2;
        Database& db = *opened;
        bool older = false;
        if (const std::string problem = LayoutProblem(db, older); !problem.empty()) {
            out << problem << "\n";
            return older ? 1 : 2;
        }
        const Verification v = VerifyRecords(db);
        for (const VerifyFinding& f : v.findings) {
            std::string date = f.date;
            if (const auto d = ParseIsoDate(f.date)) date = ShownDate(*d);
            out << "FAILED "
                << (f.tail.empty() && f.date.empty() ? std::string() : f.tail + " " + date + ": ") << f.text
                << "\n";
        }
        out << db.file().string() << ": " << v.signatures << " signatures, " << v.worksheets
            << " Worksheets, " << v.entries << " audit entries; "
            << (v.Passed() ? "everything verifies" : "NOT verified") << ".\n";
        return v.Passed() ? 0 : 1;
    } catch (const std::exception& e) {
        out << "The database could not be verified: " << e.what() << "\n";
        return 2;
    }
}

}  // namespace wb
