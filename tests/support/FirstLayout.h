// Turns a main database of this version back into one of the first layout, as earlier
// programs left it, so that the upgrade on opening can be tried on it.
#pragma once

#include "store/Sqlite.h"

namespace wb::test {

inline void MakeFirstLayout(Database& db) {
    db.Exec(
        "DROP TABLE AircraftRevision; DROP TABLE EquipmentRevision; "
        "DROP INDEX Aircraft_FoldedTail; DROP INDEX Equipment_FoldedTail; "
        "ALTER TABLE Aircraft DROP COLUMN BallastArm; PRAGMA user_version = 1;");
}

}  // namespace wb::test
