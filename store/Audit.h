// The audit trail: every event that changes stored records adds an entry (when, who, at which
// workstation, which Worksheet, the hash of the Worksheet as the event left it, and the hash
// of the entry before), inside the event's own transaction. Entries are never changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Sqlite.h"

namespace wb {

namespace audit {
inline constexpr std::string_view kSave = "save";
inline constexpr std::string_view kReplace = "replace";
inline constexpr std::string_view kDelete = "delete";
inline constexpr std::string_view kSign = "sign";
inline constexpr std::string_view kSupersede = "supersede";
inline constexpr std::string_view kRestore = "restore";
inline constexpr std::string_view kRecovery = "recovery";
inline constexpr std::string_view kMoveUp = "move up";
inline constexpr std::string_view kConvert = "convert";
inline constexpr std::string_view kUpgrade = "upgrade";
inline constexpr std::string_view kImport = "import";
// Of no one Worksheet: the detail names the signer.
inline constexpr std::string_view kAddSigner = "add signer";
inline constexpr std::string_view kRetireSigner = "retire signer";
}  // namespace audit

struct AuditEntry {
    std::int64_t id = 0;
    std::string at;  // UTC, "2026-12-07T18:30:05Z"
    std::string user, workstation, event;
    std::string tail, date;  // date ISO; both empty for an event of no one Worksheet
    std::string record;      // the Worksheet's hash after the event; empty when it is gone
    std::string previous, hash;
    std::string detail;  // what the event alone knows (an import's source); mostly empty
};

// The canonical text an entry's hash is made over.
std::string AuditEntryText(const AuditEntry& e);

// Adds an entry for the Worksheet of this tail and ISO date as it is stored now (its hash;
// none when it is gone), inside the caller's transaction.
void AppendAudit(Database& db, std::string_view event, std::string_view tail, std::string_view isoDate,
                 std::string_view detail = {});
// One entry for every stored Worksheet, for an event that wrote them all (an upgrade, a
// conversion, a recovery, a move up, a restore).
void AuditEveryWorksheet(Database& db, std::string_view event);

// The entries of one tail, oldest first.
std::vector<AuditEntry> AuditTrailOf(Database& db, std::string_view tail);
// The columns an entry is read from, in AuditEntryFromRow's order, and the reading.
inline constexpr std::string_view kAuditColumns =
    "At, UserName, Workstation, Event, Tail, \"Date\", Record, Previous, Hash, Detail";
AuditEntry AuditEntryFromRow(const Statement& s, int first = 0);
// The entries of one tail that an imported record package brought from the databases its
// records were kept in before, in the order they came.
std::vector<AuditEntry> ImportedAuditOf(Database& db, std::string_view tail);
// What the history and the printed record show: the earlier holders' entries, then this
// database's own.
std::vector<AuditEntry> WholeAuditTrailOf(Database& db, std::string_view tail);

// Who is working: the login name with a local file, the server role on a shop server; and
// this workstation's name.
std::string AuditUser(Database& db);
std::string WorkstationName();

}  // namespace wb
