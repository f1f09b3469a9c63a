// Recovery of a damaged main database: every Worksheet row, equipment row and loading row that
// can still be read goes into a new file, which takes the damaged file's place; the damaged file is
// kept beside it under a new name. The installed engine has no recovery interface of its
// own, so rows are read one at a time and each one that fails is counted as lost.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/Backup.h"

namespace wb {

struct Recovery {
    std::filesystem::path keptAs;  // where the damaged file now is
    int worksheetsSaved = 0, rowsSaved = 0;
    int worksheetsLost = 0, rowsLost = 0;
    int revisionsSaved = 0, revisionsLost = 0;  // earlier versions (their header rows)
    int revisionRowsLost = 0;                   // list and loading rows of earlier versions
    int loadingRowsLost = 0;                    // loading rows of the Worksheets
    bool companyLost = false;                   // the shop's details could not be read
    // One line per Worksheet with something lost: "N123AB 03-04-2005: 3 equipment rows lost".
    std::vector<std::string> lost;
};

// Reads what can be read of `damaged` (opened read-only) into the new file `into`, made with
// this program's tables, saying how far it is on `progress`. Throws SqliteError when `into`
// cannot be written, WorkCancelled when stopped (`into` then holds none of it).
Recovery RecoverInto(const std::filesystem::path& damaged, const std::filesystem::path& into,
                     Progress& progress = NoProgress());

// Recovers `mainFile` into a new file that takes its place; the damaged file is kept as
// "VELK.MDB.damaged-<date and time>". The file must not be open. Throws std::runtime_error
// saying why, or WorkCancelled when stopped, leaving the damaged file where it was.
Recovery RecoverMainDatabase(const std::filesystem::path& mainFile, const DateTime& now,
                             Progress& progress = NoProgress());

}  // namespace wb
