#include "store/Audit.h"

#include <cstdlib>
#include <map>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "store/Canonical.h"
#include "store/CaseFold.h"

namespace wb {
namespace {

// Appends entries with statements prepared once: a conversion or an upgrade writes one per
// stored Worksheet.
class AuditWriter {
  public:
    explicit AuditWriter(Database& db)
        : db_(db),
          user_(AuditUser(db)),
          workstation_(WorkstationName()),
          last_(db.Prepare("SELECT Hash FROM AuditTrail ORDER BY Id DESC LIMIT 1")),
          insert_(db.Prepare(
              "INSERT INTO AuditTrail (At, UserName, Workstation, Event, Tail, FoldedTail, \"Date\", Record, "
              "Previous, Hash, Detail) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {
        // Two workstations adding at once would both name the same entry before theirs.
        db.engine().LockNames({"audit trail"});
        if (last_.Step()) previous_ = last_.Text(0).value_or("");
    }

    void Add(std::string_view event, std::string_view tail, std::string_view isoDate,
             const std::optional<std::string>& record, std::string_view detail = {}) {
        AuditEntry e;
        e.at = UtcNow();
        e.user = user_;
        e.workstation = workstation_;
        e.event = std::string(event);
        e.tail = std::string(tail);
        e.date = std::string(isoDate);
        e.record = record.value_or("");
        e.previous = previous_;
        e.detail = std::string(detail);
        e.hash = Sha256Hex(AuditEntryText(e));
        auto orNull = [](const std::string& s) { return s.empty() ? Value() : Value(s); };
        insert_.Reset();
        insert_.BindAll({e.at, e.user, e.workstation, e.event, orNull(e.tail),
                         e.tail.empty() ? Value() : Value(FoldCase(e.tail)), orNull(e.date), orNull(e.record),
                         orNull(e.previous), e.hash, orNull(e.detail)});
        insert_.Run();
        previous_ = e.hash;
    }

  private:
    Database& db_;
    std::string user_, workstation_, previous_;
    Statement last_, insert_;
};

}  // namespace

std::string AuditEntryText(const AuditEntry& e) {
    auto text = [](const std::string& s) { return s.empty() ? std::string("null") : JsonString(s); };
    // An entry without a detail has the text it had before entries could have one.
    return JsonObject({{"at", text(e.at)},
                       {"date", text(e.date)},
                       {"detail", text(e.detail)},
                       {"event", text(e.event)},
                       {"previous", text(e.previous)},
                       {"record", text(e.record)},
                       {"tail", text(e.tail)},
                       {"user", text(e.user)},
                       {"workstation", text(e.workstation)}});
}

void AppendAudit(Database& db, std::string_view event, std::string_view tail, std::string_view isoDate,
                 std::string_view detail) {
    std::optional<std::string> record;
    if (!tail.empty()) {
        CanonicalReader reader(db);
        if (const auto id = reader.Find(tail, isoDate))
            if (const auto text = reader.Record(*id)) record = Sha256Hex(*text);
    }
    AuditWriter(db).Add(event, tail, isoDate, record, detail);
}

void AuditEveryWorksheet(Database& db, std::string_view event) {
    CanonicalReader reader(db);
    AuditWriter writer(db);
    Statement all = db.Prepare("SELECT Id, Tail, \"Date\" FROM Aircraft ORDER BY Id");
    while (all.Step()) {
        const auto text = reader.Record(all.Int(0));
        writer.Add(event, all.Text(1).value_or(""), all.Text(2).value_or(""),
                   text ? std::optional<std::string>(Sha256Hex(*text)) : std::nullopt);
    }
}

AuditEntry AuditEntryFromRow(const Statement& s, int first) {
    auto text = [&](int c) { return s.Text(first + c).value_or(""); };
    AuditEntry e;
    e.at = text(0);
    e.user = text(1);
    e.workstation = text(2);
    e.event = text(3);
    e.tail = text(4);
    e.date = text(5);
    e.record = text(6);
    e.previous = text(7);
    e.hash = text(8);
    e.detail = text(9);
    return e;
}

namespace {
std::vector<AuditEntry> EntriesOf(Database& db, std::string_view table, std::string_view tail) {
    Statement s = db.Prepare("SELECT Id, " + std::string(kAuditColumns) + " FROM " + std::string(table) +
                             " WHERE FoldedTail = ? ORDER BY Id");
    s.Bind(1, FoldCase(tail));
    std::vector<AuditEntry> entries;
    while (s.Step()) {
        entries.push_back(AuditEntryFromRow(s, 1));
        entries.back().id = s.Int(0);
    }
    return entries;
}
}  // namespace

std::vector<AuditEntry> AuditTrailOf(Database& db, std::string_view tail) {
    return EntriesOf(db, "AuditTrail", tail);
}

std::vector<AuditEntry> ImportedAuditOf(Database& db, std::string_view tail) {
    return EntriesOf(db, "ImportedAudit", tail);
}

std::vector<AuditEntry> WholeAuditTrailOf(Database& db, std::string_view tail) {
    std::vector<AuditEntry> entries = ImportedAuditOf(db, tail);
    for (AuditEntry& e : AuditTrailOf(db, tail))
        entries.push_back(std::move(e));
    return entries;
}

std::string AuditUser(Database& db) {
    if (db.OnServer()) {
        Statement s = db.Prepare("SELECT current_user");
        if (s.Step()) return s.Text(0).value_or("");
    }
    for (const char* name : {"USER", "LOGNAME", "USERNAME"})
        if (const char* v = std::getenv(name); v != nullptr && *v != '\0') return v;
    return "unknown";
}

std::string WorkstationName() {
#ifdef _WIN32
    if (const char* v = std::getenv("COMPUTERNAME"); v != nullptr && *v != '\0') return v;
#else
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0 && name[0] != '\0') return name;
#endif
    return "unknown";
}

}  // namespace wb
