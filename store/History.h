// An aircraft's history: the superseded versions of its Worksheets, kept in AircraftRevision,
// EquipmentRevision and LoadingRevision whenever a save replaces a stored Worksheet or the
// tail "0" deletes one, and the chain of its stored Worksheets read back with them. Browse,
// search, load and carry-over read only Aircraft, Equipment and Loading, so they never see a
// superseded version.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "store/Sqlite.h"
#include "worksheet/RecordChain.h"

namespace wb {

enum class Supersession { Replaced, Deleted };

// Keeps the versions a save supersedes, inside the save's transaction.
class RevisionKeeper {
  public:
    explicit RevisionKeeper(Database& db) : db_(db) {}

    // Copies the stored Worksheet `aircraftId`, header, both lists and its loading data,
    // before its rows are removed. False when there is no such row.
    bool Keep(std::int64_t aircraftId, Supersession why);
    // The identity the Worksheet stored in place of the kept ones carries on: the first kept
    // one's. Nothing when none was kept: a Worksheet stored once is its own identity.
    std::optional<std::int64_t> Identity() const;
    // The Worksheet stored in place of the kept ones (nothing for a deletion): the kept versions,
    // and the earlier versions that belonged to them, now belong to it.
    void StoredAs(std::optional<std::int64_t> newAircraftId);

  private:
    struct Kept {
        std::int64_t revision;   // the AircraftRevision row
        std::int64_t worksheet;  // the identity of the Worksheet it was a version of
    };
    Database& db_;
    std::vector<Kept> kept_;
};

// A stored Worksheet's identity in SQL: its WorksheetId, or its own Id when stored once.
inline constexpr std::string_view kWorksheetIdentity = "COALESCE(WorksheetId, Id)";

// Every stored Worksheet of the tail in date order, each with its superseded versions, and the
// versions of its deleted Worksheets in their places; linked (breaks, change since the last
// weighing).
RecordChain ReadHistory(Database& db, std::string_view tail);

}  // namespace wb
