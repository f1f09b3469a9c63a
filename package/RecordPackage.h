// An aircraft's record package: one zip file per tail that travels with the aircraft when it
// changes hands. It holds the printed record as one PDF/A file, the same records as JSON that
// follows the JSON Schema shipped beside it, and a SHA256SUMS manifest of both, so that it
// can be read and checked for decades without this program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "package/Container.h"
#include "store/Sqlite.h"
#include "worksheet/Progress.h"

namespace wb {

inline constexpr std::string_view kRecordPdfFile = "record.pdf";
inline constexpr std::string_view kRecordJsonFile = "record.json";
inline constexpr std::string_view kRecordSchemaFile = "record.schema.json";

// "N123AB weight and balance record.zip": the name offered for a tail's package.
std::string PackageFileName(const std::string& tail);

// Draws the tail's printed record into the PDF file `pdf`: the weight and balance record
// report, then the calculation report of every stored Worksheet of the tail, oldest first.
// Throws (any std::exception, its text for the mechanic) when it cannot.
using RecordPdfWriter =
    std::function<void(Database& db, const std::string& tail, const std::filesystem::path& pdf, Progress&)>;

struct ExportOutcome {
    std::string tail;
    std::int64_t worksheets = 0, versions = 0, signatures = 0, auditEntries = 0;
};

// Writes the package of `tail` into `file` (replaced whole, or left as it was on failure).
// Throws PackageError when the tail has no stored Worksheet, EngineError when the database
// fails, WorkCancelled when asked to stop.
ExportOutcome ExportTail(Database& db, const std::string& tail, const std::filesystem::path& file,
                         const RecordPdfWriter& pdf, Progress& progress = NoProgress());

struct ImportOutcome {
    std::string tail;
    std::int64_t imported = 0;  // Worksheets stored
    std::int64_t skipped = 0;   // Worksheets held already (the same record)
    std::int64_t versions = 0, signatures = 0, auditEntries = 0;
    // What was done, in words for the mechanic.
    std::string Text() const;
};

// Checks the package whole (manifest, schema, every record's hash and signature) and only then
// stores what the database does not hold yet, in one transaction. Nothing stored is ever
// overwritten or merged: a Worksheet held with other figures refuses the import. Throws
// PackageError naming what is wrong (nothing stored), EngineError when the database fails.
ImportOutcome ImportPackage(Database& db, const std::filesystem::path& file,
                            Progress& progress = NoProgress());

}  // namespace wb
