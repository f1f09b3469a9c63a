// Moving a shop up: every Worksheet of a local "VELK.MDB", with its rows, its superseded
// versions and the company settings, copied into an empty server database in one transaction.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "store/Engine.h"
#include "worksheet/Progress.h"

namespace wb {

struct CopyUpCounts {
    std::int64_t worksheets = 0;
    std::int64_t listRows = 0;   // Equipment rows of both lists
    std::int64_t revisions = 0;  // superseded versions
};

// The server database already holds Worksheets: nothing is merged into it.
class ServerNotEmpty : public std::runtime_error {
  public:
    ServerNotEmpty()
        : std::runtime_error(
              "The shop server's database already holds Worksheets. Nothing was copied: the local "
              "database can only be moved up into an empty one.") {}
};

// Copies `local` (a main database file, opened) into `server` (opened with its tables), keeping
// every row's number so that the superseded versions stay linked to their Worksheets, and
// saying on `progress` how many rows are up. All or nothing: a failure or a cancel leaves the
// server database as it was. Throws ServerNotEmpty, EngineError or WorkCancelled.
CopyUpCounts CopyUp(Database& local, Database& server, Progress& progress = NoProgress());

}  // namespace wb
