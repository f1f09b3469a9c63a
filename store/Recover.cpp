#include "store/Recover.h"

#include "store/Audit.h"

#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>

#include "store/MainDatabase.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

namespace wb {
namespace {

namespace fs = std::filesystem;

using Identity = std::pair<std::string, std::string>;  // Tail, ISO date

// Row ids a walk over the table gives. A page that cannot be read stops the walk; it starts
// again a little further on, then further, so that rows beyond a bad page are still found.
std::set<std::int64_t> WalkIds(Database& db, const std::string& table) {
    std::set<std::int64_t> ids;
    std::int64_t from = std::numeric_limits<std::int64_t>::min();
    std::int64_t jump = 1;
    for (int tries = 0; tries < 40; ++tries) {
        try {
            Statement s =
                db.Prepare("SELECT Id FROM " + Quoted(table) + " NOT INDEXED WHERE Id > ? ORDER BY Id");
            s.Bind(1, from);
            while (s.Step()) {
                from = s.Int(0);
                ids.insert(from);
                jump = 1;
            }
            return ids;
        } catch (const SqliteError&) {
            if (from == std::numeric_limits<std::int64_t>::min()) from = 0;
            from += jump;
            jump *= 2;
        }
    }
    return ids;
}

// Id -> Tail and Date, from an index: an index lives on pages of its own, so it may name
// rows whose table page is gone. Whatever it gives before failing is kept.
void IdsFromIndex(Database& db, const std::string& sql, std::map<std::int64_t, Identity>& out) {
    try {
        Statement s = db.Prepare(sql);
        while (s.Step())
            out.emplace(s.Int(0), Identity{s.Text(1).value_or(""), s.Text(2).value_or("")});
    } catch (const SqliteError&) {
    }
}

std::vector<std::string> Columns(Database& db, const std::string& table) {
    std::vector<std::string> names;
    Statement s = db.Prepare("SELECT name FROM pragma_table_info(?)");
    s.Bind(1, table);
    while (s.Step())
        names.push_back(s.Text(0).value_or(""));
    return names;
}

// The new file could not be written: not to be taken for a row of the old one that could
// not be read.
struct WriteFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kConstraint = 19;  // SQLITE_CONSTRAINT

// Copies row `id` of `table`; false when it cannot be read.
class RowCopier {
  public:
    RowCopier(Database& from, Database& to, const std::string& table) {
        std::set<std::string> theirs;
        try {
            for (const std::string& c : Columns(from, table))
                theirs.insert(c);
        } catch (const SqliteError&) {
        }
        std::string names, marks;
        for (const std::string& c : Columns(to, table)) {
            if (!theirs.count(c)) continue;
            names += (names.empty() ? "" : ", ") + Quoted(c);
            marks += marks.empty() ? "?" : ", ?";
            ++count_;
        }
        if (count_ == 0) return;
        read_ = from.Prepare("SELECT " + names + " FROM " + Quoted(table) + " WHERE Id = ?");
        write_ = to.Prepare("INSERT INTO " + Quoted(table) + " (" + names + ") VALUES (" + marks + ")");
    }
    bool Copy(std::int64_t id) {
        if (count_ == 0) return false;
        std::vector<Value> values;
        try {
            read_.Reset();
            read_.Bind(1, id);
            if (!read_.Step()) return false;
            for (int c = 0; c < count_; ++c)
                values.push_back(read_.Get(c));
        } catch (const SqliteError&) {
            return false;
        }
        try {
            write_.Reset();
            write_.BindAll(values).Run();
        } catch (const SqliteError& e) {
            // A row that breaks the table's rules was garbled: it is lost. Anything else
            // is the new file failing, which ends the recovery.
            if ((e.code() & 0xff) == kConstraint) return false;
            throw WriteFailed(e.what());
        }
        return true;
    }

  private:
    Statement read_, write_;
    int count_ = 0;
};

// Says how far a pass is every so many rows, and stops it when asked to.
void Step(Progress& progress, size_t done, size_t total, std::string_view text) {
    if (done % 64 != 0) return;
    progress.Report(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total), text);
    StopIfCancelled(progress);
}

std::string Shown(const Identity& w) {
    const auto date = ParseIsoDate(w.second);
    return (w.first.empty() ? "(no tail number)" : w.first) + " " + (date ? ShownDate(*date) : w.second);
}

}  // namespace

Recovery RecoverInto(const fs::path& damaged, const fs::path& into, Progress& progress) {
    Recovery r;
    Database to(into, Database::Mode::CreateIfMissing);
    Transaction tx(to);
    // Every table, index and the version, as a new file gets them; the company row comes from
    // the damaged file where it can be read.
    std::vector<TableLayout> tables = MainTables();
    for (TableLayout& t : tables)
        if (t.name == "CompanyInfo") t.firstRowSql = {};
    WriteTables(to, tables);

    Database from;
    try {
        from = Database(damaged, Database::Mode::ReadOnly);
        Statement probe = from.Prepare("SELECT count(*) FROM sqlite_master");
        probe.Step();
    } catch (const SqliteError&) {
        // Nothing can be read: the new file starts empty.
        to.Exec(MainTables()[2].firstRowSql);
        tx.Commit();
        r.companyLost = true;
        r.lost.push_back("The damaged file could not be read at all.");
        return r;
    }

    // Aircraft: what the table walk finds, and what its indexes name.
    progress.Report(0, 0, "Reading the damaged file");
    std::map<std::int64_t, Identity> sheets;
    IdsFromIndex(from, "SELECT Id, Tail, \"Date\" FROM Aircraft INDEXED BY Aircraft_Worksheet", sheets);
    IdsFromIndex(from, "SELECT Id, NULL, \"Date\" FROM Aircraft INDEXED BY Aircraft_Date", sheets);
    for (std::int64_t id : WalkIds(from, "Aircraft"))
        sheets.emplace(id, Identity{});
    std::map<Identity, std::string> problems;  // per Worksheet, what was lost
    std::set<Identity> saved;
    try {
        RowCopier aircraft(from, to, "Aircraft");
        Statement who = from.Prepare("SELECT Tail, \"Date\" FROM Aircraft WHERE Id = ?");
        size_t done = 0;
        for (auto& [id, identity] : sheets) {
            Step(progress, done++, sheets.size(), "Recovering Worksheets");
            if (aircraft.Copy(id)) {
                who.Reset();
                who.Bind(1, id);
                if (who.Step()) identity = {who.Text(0).value_or(""), who.Text(1).value_or("")};
                saved.insert(identity);
                ++r.worksheetsSaved;
            } else {
                ++r.worksheetsLost;
                problems[identity] = "the Worksheet could not be read";
            }
        }
    } catch (const SqliteError&) {
        // The table's layout cannot be read: no Worksheet can be.
    }

    // Equipment rows, each with the Worksheet it belongs to; those of a Worksheet that is
    // lost are lost with it.
    std::map<std::int64_t, Identity> rows;
    IdsFromIndex(from, "SELECT Id, Tail, \"Date\" FROM Equipment INDEXED BY Equipment_Worksheet", rows);
    for (std::int64_t id : WalkIds(from, "Equipment"))
        rows.emplace(id, Identity{});
    std::map<Identity, int> rowsLost;
    try {
        RowCopier equipment(from, to, "Equipment");
        Statement whose = from.Prepare("SELECT Tail, \"Date\" FROM Equipment WHERE Id = ?");
        size_t done = 0;
        for (auto& [id, identity] : rows) {
            Step(progress, done++, rows.size(), "Recovering equipment rows");
            Identity owner = identity;
            bool known = !owner.first.empty() || !owner.second.empty();
            try {
                whose.Reset();
                whose.Bind(1, id);
                if (whose.Step()) {
                    owner = {whose.Text(0).value_or(""), whose.Text(1).value_or("")};
                    known = true;
                }
            } catch (const SqliteError&) {
            }
            if (known && saved.count(owner) && equipment.Copy(id)) {
                ++r.rowsSaved;
            } else {
                ++r.rowsLost;
                ++rowsLost[owner];
            }
        }
    } catch (const SqliteError&) {
    }

    // Loading rows likewise, each with its Worksheet.
    std::map<Identity, int> loadingLost;
    try {
        RowCopier loading(from, to, "Loading");
        Statement whose = from.Prepare("SELECT Tail, \"Date\" FROM Loading WHERE Id = ?");
        const std::set<std::int64_t> ids = WalkIds(from, "Loading");
        size_t done = 0;
        for (std::int64_t id : ids) {
            Step(progress, done++, ids.size(), "Recovering loading data");
            Identity owner;
            bool known = false;
            try {
                whose.Reset();
                whose.Bind(1, id);
                if (whose.Step()) {
                    owner = {whose.Text(0).value_or(""), whose.Text(1).value_or("")};
                    known = true;
                }
            } catch (const SqliteError&) {
            }
            if (!(known && saved.count(owner) && loading.Copy(id))) {
                ++r.loadingRowsLost;
                ++loadingLost[owner];
            }
        }
    } catch (const SqliteError&) {
        // A file of an earlier version has no loading data.
    }

    // Earlier versions: each header row that reads, with the list rows of the versions kept.
    std::set<std::int64_t> versionsKept;
    try {
        RowCopier versions(from, to, "AircraftRevision");
        const std::set<std::int64_t> ids = WalkIds(from, "AircraftRevision");
        size_t done = 0;
        for (std::int64_t id : ids) {
            Step(progress, done++, ids.size(), "Recovering earlier versions");
            if (versions.Copy(id)) {
                versionsKept.insert(id);
                ++r.revisionsSaved;
            } else {
                ++r.revisionsLost;
            }
        }
    } catch (const SqliteError&) {
    }
    // The rows of the versions kept: lists, then loading data.
    const std::pair<const char*, const char*> versionTables[] = {
        {"EquipmentRevision", "Recovering the lists of earlier versions"},
        {"LoadingRevision", "Recovering the loading data of earlier versions"}};
    for (const auto& [table, step] : versionTables) {
        try {
            RowCopier versionRows(from, to, table);
            Statement owner = from.Prepare(std::string("SELECT RevisionId FROM ") + table + " WHERE Id = ?");
            const std::set<std::int64_t> ids = WalkIds(from, table);
            size_t done = 0;
            for (std::int64_t id : ids) {
                Step(progress, done++, ids.size(), step);
                bool kept = false;
                try {
                    owner.Reset();
                    owner.Bind(1, id);
                    kept = owner.Step() && versionsKept.count(owner.Int(0)) && versionRows.Copy(id);
                } catch (const SqliteError&) {
                }
                if (!kept) ++r.revisionRowsLost;
            }
        } catch (const SqliteError&) {
            // A file of an earlier version has no loading data.
        }
    }

    try {
        RowCopier company(from, to, "CompanyInfo");
        for (std::int64_t id : WalkIds(from, "CompanyInfo"))
            company.Copy(id);
    } catch (const SqliteError&) {
    }
    // The shop's scales, where they can be read: the weighings name them.
    try {
        RowCopier scales(from, to, "Scale");
        for (std::int64_t id : WalkIds(from, "Scale"))
            scales.Copy(id);
    } catch (const SqliteError&) {
    }
    Statement any = to.Prepare("SELECT 1 FROM CompanyInfo LIMIT 1");
    if (!any.Step()) {
        // The shop's details could not be read: a blank row, to be filled in at set-up.
        r.companyLost = true;
        to.Exec(MainTables()[2].firstRowSql);
    }
    // Signers, signatures and the audit trail as far as they read: the check after tells what
    // no longer verifies.
    for (const char* table : {"Signer", "Signature", "Correction", "AuditTrail", "ImportedAudit"}) {
        try {
            RowCopier rows(from, to, table);
            for (std::int64_t id : WalkIds(from, table))
                rows.Copy(id);
        } catch (const SqliteError&) {
        }
    }
    // Rows of a file from before the folded texts get them, as the finds by tail need them.
    FillFoldedColumns(to);
    AuditEveryWorksheet(to, audit::kRecovery);
    // Versions of a Worksheet that could not be read stand as those of a deleted one, so the
    // history still shows them.
    to.Exec(
        "UPDATE AircraftRevision SET WorksheetId = NULL WHERE WorksheetId IS NOT NULL AND NOT EXISTS "
        "(SELECT 1 FROM Aircraft WHERE COALESCE(Aircraft.WorksheetId, Aircraft.Id) = "
        "AircraftRevision.WorksheetId)");
    tx.Commit();

    for (const auto& [identity, count] : rowsLost)
        if (!problems.count(identity))
            problems[identity] = std::to_string(count) + (count == 1 ? " equipment row" : " equipment rows") +
                                 " could not be read";
    for (const auto& [identity, count] : loadingLost) {
        const std::string what =
            std::to_string(count) + (count == 1 ? " loading row" : " loading rows") + " could not be read";
        if (!problems.count(identity)) {
            problems[identity] = what;
        } else if (problems[identity] != "the Worksheet could not be read") {
            problems[identity] += "; " + what;
        }
    }
    for (const auto& [identity, what] : problems)
        r.lost.push_back(Shown(identity) + ": " + what);
    return r;
}

Recovery RecoverMainDatabase(const fs::path& mainFile, const DateTime& now, Progress& progress) {
    fs::path part = mainFile;
    part += ".recovering";
    std::error_code ec;
    fs::remove(part, ec);
    Recovery r;
    try {
        r = RecoverInto(mainFile, part, progress);
    } catch (const WorkCancelled&) {
        fs::remove(part, ec);
        throw;
    } catch (const std::exception& e) {
        fs::remove(part, ec);
        throw std::runtime_error(std::string("The new file could not be written: ") + e.what() + ".");
    }
    // The new file takes the damaged one's place only once it opens as any database of this
    // version does and passes the start-up check; until then nothing has moved.
    std::string problem;
    try {
        MainDatabase opened(part);
    } catch (const std::exception& e) {
        problem = e.what();
    }
    progress.Report(0, 0, "Checking the recovered file");
    if (problem.empty()) problem = CheckMainFile(part).damage;
    if (progress.Cancelled()) {
        fs::remove(part, ec);
        throw WorkCancelled();
    }
    if (!problem.empty()) {
        fs::remove(part, ec);
        throw std::runtime_error("The recovered file did not pass its check (" + problem +
                                 "). The damaged file is as it was.");
    }
    try {
        r.keptAs = SetAside(mainFile, "damaged", now);
    } catch (const std::exception&) {
        fs::remove(part, ec);
        throw;
    }
    fs::rename(part, mainFile, ec);
    if (ec) {
        std::error_code back;
        fs::rename(r.keptAs, mainFile, back);
        throw std::runtime_error("The recovered file could not be put in place: " + ec.message() + ".");
    }
    return r;
}

}  // namespace wb
