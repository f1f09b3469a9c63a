#include "app/RecordCommands.h"

#include "app/VerifyCommand.h"

namespace wb {
namespace {

// The database named for the verb, at this program's layout; nothing, the reason told.
std::optional<Database> OpenFor(const char* verb, const std::optional<std::filesystem::path>& folder,
                                const std::filesystem::path& settingsFolder, bool write, std::ostream& out) {
    const std::optional<std::string> dataPath = CommandDataPath(folder, settingsFolder);
    if (!dataPath) {
        out << "No data folder has been chosen yet; name one: --data-folder FOLDER " << verb << "\n";
        return std::nullopt;
    }
    std::optional<Database> db = OpenCommandDatabase(*dataPath, write, out);
    if (!db) return std::nullopt;
    bool older = false;
    if (const std::string problem = LayoutProblem(*db, older); !problem.empty()) {
        out << problem << "\n";
        return std::nullopt;
    }
    return db;
}

}  // namespace

int ExportCommand(const std::string& tail, const std::filesystem::path& file,
                  const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, const RecordPdfWriter& pdf,
                  std::ostream& out) {
    try {
        std::optional<Database> db = OpenFor("--export TAIL FILE", folder, settingsFolder, false, out);
        if (!db) return 2;
        const ExportOutcome done = ExportTail(*db, tail, file, pdf);
        out << "Exported " << done.tail << " into " << file.string() << ": " << done.worksheets
            << " Worksheets, " << done.versions << " earlier versions, " << done.signatures << " signatures, "
            << done.auditEntries << " audit entries.\n";
        return 0;
    } catch (const PackageError& e) {
        out << "Not exported: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        out << "The record could not be exported: " << e.what() << "\n";
        return 2;
    }
}

int ImportCommand(const std::filesystem::path& file, const std::optional<std::filesystem::path>& folder,
                  const std::filesystem::path& settingsFolder, std::ostream& out) {
    try {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) {
            out << "No such file: " << file.string() << "\n";
            return 2;
        }
        std::optional<Database> db = OpenFor("--import FILE", folder, settingsFolder, true, out);
        if (!db) return 2;
        const ImportOutcome done = ImportPackage(*db, file);
        out << done.Text() << "\n";
        return 0;
    } catch (const PackageError& e) {
        out << "Not imported: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        out << "The record could not be imported: " << e.what() << "\n";
        return 2;
    }
}

}  // namespace wb
