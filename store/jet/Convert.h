// Turns a shop's old Jet database file into one of this program's own, in place: the new file
// takes the old name and the old file is kept, unchanged, beside it under a new name. Until the
// last rename nothing but a temporary file is written, so a failure leaves the folder as it was.
#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/jet/LegacyFiles.h"
#include "worksheet/Progress.h"

namespace wb::jet {

// A conversion that did not happen, in words for the mechanic. The old file is where it was.
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Points in a conversion where a test can make it fail, to check that nothing is left behind.
enum class ConversionStep {
    RowsWritten,  // every row is in the temporary file, the transaction not yet committed
    FileClosed,   // the temporary file is complete and closed
    OldFileMoved  // the old file has its new name, the new file not yet its own
};
using ConversionCheckpoint = std::function<void(ConversionStep)>;

struct ConversionReport {
    std::filesystem::path database;          // the new file, under the old file's name
    std::filesystem::path keptAs;            // the old file, unchanged, under its new name
    ImportCounts counts;                     // main database only
    std::vector<std::string> broughtAcross;  // one line each: "13 Worksheets", "the telephone number" ...
    std::vector<NotBroughtAcross> notBroughtAcross;
};

// "VELK.MDB": every Worksheet with its change list and equipment list, the company row and the
// report font row, saying how many Worksheets are across on `progress`. Throws ConversionError,
// or WorkCancelled when stopped before the new file was complete (the folder is then as it
// was). Start-up reads the old file through a child process.
ConversionReport ConvertMainDatabase(const std::filesystem::path& jetFile,
                                     const ConversionCheckpoint& checkpoint = {},
                                     const TableReader& reader = ReadInThisProcess(),
                                     Progress& progress = NoProgress());

// "SetupVELKF.MDB": the telephone number, and the data folder only when it names a folder on
// this computer (a path from another system would point the program nowhere). Throws
// ConversionError.
ConversionReport ConvertSettingsDatabase(const std::filesystem::path& jetFile,
                                         const ConversionCheckpoint& checkpoint = {},
                                         const TableReader& reader = ReadInThisProcess());

// What was brought across and what was not, for a notice. Runs of rows left out for one reason
// are joined, and a long list is cut short with a count of the rest; whole Worksheets left out
// always come first, with their tail number and date.
std::string ReportText(const ConversionReport& report);

// The name the old file gets: "<name>.jet", or "<name>.jet.1" and so on when that is taken.
std::filesystem::path KeptName(const std::filesystem::path& jetFile);

}  // namespace wb::jet
