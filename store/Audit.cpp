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
              "Previous, Hash) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {
        // Two workstations adding at once would both name the same entry before theirs.
        db.engine().LockNames({"audit trail"});
        if (last_.Step()) previous_ = last_.Text(0).value_or("");
    }

    void Add(std::string_view event, std::string_view tail, std::string_view isoDate,
             const std::optional<std::string>& record) {
        AuditEntry e;
        e.at = UtcNow();
        e.user = user_;
        e.workstation = workstation_;
        e.event = std::string(event);
        e.tail = std::string(tail);
        e.date = std::string(isoDate);
        e.record = record.value_or("");
        e.previous = previous_;
        e.hash = Sha256Hex(AuditEntryText(e));
        auto orNull = [](const std::string& s) { return s.empty() ? Value() : Value(s); };
        insert_.Reset();
        insert_.BindAll({e.at, e.user, e.workstation, e.event, orNull(e.tail),
                         e.tail.empty() ? Value() : Value(FoldCase(e.tail)), orNull(e.date), orNull(e.record),
                         orNull(e.previous), e.hash});
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
    return JsonObject({{"at", text(e.at)},
                       {"date", text(e.date)},
                       {"event", text(e.event)},
                       {"previous", text(e.previous)},
                       {"record", text(e.record)},
                       {"tail", text(e.tail)},
                       {"user", text(e.user)},
                       {"workstation", text(e.workstation)}});
}

void AppendAudit(Database& db, std::string_view event, std::string_view tail, std::string_view isoDate) {
    CanonicalReader reader(db);
    std::optional<std::string> record;
    if (const auto id = reader.Find(tail, isoDate))
        if (const auto text = reader.Record(*id)) record = Sha256Hex(*text);
    AuditWriter(db).Add(event, tail, isoDate, record);
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

std::vector<AuditEntry> AuditTrailOf(Database& db, std::string_view tail) {
    Statement s = db.Prepare(
        "SELECT Id, At, UserName, Workstation, Event, Tail, \"Date\", Record, Previous, Hash FROM AuditTrail "
        "WHERE FoldedTail = ? ORDER BY Id");
    s.Bind(1, FoldCase(tail));
    std::vector<AuditEntry> entries;
    while (s.Step()) {
        AuditEntry e;
        e.id = s.Int(0);
        e.at = s.Text(1).value_or("");
        e.user = s.Text(2).value_or("");
        e.workstation = s.Text(3).value_or("");
        e.event = s.Text(4).value_or("");
        e.tail = s.Text(5).value_or("");
        e.date = s.Text(6).value_or("");
        e.record = s.Text(7).value_or("");
        e.previous = s.Text(8).value_or("");
        e.hash = s.Text(9).value_or("");
        entries.push_back(std::move(e));
    }
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
