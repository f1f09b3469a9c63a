#include "app/VerifyCommand.h"

#include <string>

#include "store/Schema.h"
#include "store/SettingsDatabase.h"
#include "store/Verify.h"
#include "store/pg/PgConnection.h"
#include "store/pg/ServerAddress.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

// The database named: a local file, opened read-only so that checking never writes it, or the
// shop server (its password from ~/.pgpass or the environment).
Database OpenNamed(const std::string& dataPath, std::ostream& out, bool& failed) {
    failed = false;
    if (IsServerPath(dataPath)) {
        const auto address = ParseServerPath(dataPath);
        if (!address) {
            out << "The shop server in the settings cannot be read: " << dataPath << "\n";
            failed = true;
            return {};
        }
        return ConnectServer(*address, "");
    }
    const std::filesystem::path file = MainDatabaseFile(dataPath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        out << "No database " << file.string() << "\n";
        failed = true;
        return {};
    }
    return Database(file, Database::Mode::ReadOnly);
}

}  // namespace

int VerifyCommand(const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, std::ostream& out) {
    try {
        std::string dataPath;
        if (folder) {
            dataPath = folder->string();
        } else {
            std::error_code ec;
            if (!std::filesystem::exists(settingsFolder / SettingsDatabase::kFileName, ec)) {
                out << "No data folder has been chosen yet; name one: --verify FOLDER\n";
                return 2;
            }
            dataPath = SettingsDatabase(settingsFolder).DataPath().value_or("");
            if (dataPath.empty()) {
                out << "No data folder has been chosen yet; name one: --verify FOLDER\n";
                return 2;
            }
        }
        bool failed = false;
        Database db = OpenNamed(dataPath, out, failed);
        if (failed) return 2;
        Statement version =
            db.Prepare(db.OnServer() ? "SELECT max(Version) FROM SchemaVersion" : "PRAGMA user_version");
        if (!version.Step() || version.Int(0) < kSchemaVersion) {
            out << db.file().string()
                << ": written by an earlier version of the program, so it has no signatures or audit trail "
                   "yet. "
                   "Start the program on it once.\n";
            return 1;
        }
        if (version.Int(0) > kSchemaVersion) {
            out << db.file().string() << ": written by a newer version of this program.\n";
            return 2;
        }
        version.Reset();
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
