#include "package/RecordPackage.h"

namespace wb {

std::string PackageFileName(const std::string& tail) {
    return (tail.empty() ? std::string("aircraft") : tail) + " weight and balance record.zip";
}

}  // namespace wb

// Placeholders until the package's JSON is built; they refuse rather than pretend.
namespace wb {
ExportOutcome ExportTail(Database&, const std::string&, const std::filesystem::path&, const RecordPdfWriter&,
                         Progress&) {
    throw PackageError("Export is not built yet.");
}
ImportOutcome ImportPackage(Database&, const std::filesystem::path&, Progress&) {
    throw PackageError("Import is not built yet.");
}
std::string ImportOutcome::Text() const { return {}; }
}  // namespace wb
