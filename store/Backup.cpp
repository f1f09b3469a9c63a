#include "store/Backup.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "store/Audit.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

namespace wb {
namespace {

namespace fs = std::filesystem;

// A copy whose check finds what the check of the original did not.
struct CopyDamaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kKeepNewest = 10;
constexpr int kKeepMonths = 24;

std::string Two(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

// "2026-12-06-234846"
std::string Stamp(const DateTime& t) {
    return std::to_string(t.date.year) + "-" + Two(t.date.month) + "-" + Two(t.date.day) + "-" + Two(t.hour) +
           Two(t.minute) + Two(t.second);
}

bool Digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view s) {
    int v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}

// One second later, for a name that is already taken.
DateTime NextSecond(DateTime t) {
    if (++t.second < 60) return t;
    t.second = 0;
    if (++t.minute < 60) return t;
    t.minute = 0;
    ++t.hour;  // past 23 the name still sorts after, which is all it is for
    return t;
}

std::string Plain(const SqliteError& e) {
    switch (e.kind()) {
        case SqliteError::Kind::DiskFull:
            return "the disk is full";
        case SqliteError::Kind::ReadOnly:
            return "the folder cannot be written to (it may be read-only)";
        case SqliteError::Kind::Busy:
            return "another program kept the database busy";
        default:
            return e.what();
    }
}

void RemoveQuietly(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
    fs::path journal = file;
    journal += "-journal";
    fs::remove(journal, ec);
}

// Between two of the engine's steps, every so many instructions: a true answer interrupts the
// statement, so that a long check stops soon after the mechanic asked it to.
int Interrupted(void* progress) {
    return static_cast<const Progress*>(progress)->Cancelled() ? 1 : 0;
}

std::string CheckDatabase(Database& db);

// Copies the database `from` into the new file `to` page by page with the online backup,
// then checks the copy; `text` says so on `progress`. Throws SqliteError, std::runtime_error
// or WorkCancelled; `to` is left behind.
void CopyDatabase(const fs::path& from, const fs::path& to, Progress& progress, std::string_view text) {
    Database source(from, Database::Mode::ReadOnly);
    Database target(to, Database::Mode::CreateIfMissing);
    sqlite3_backup* copy = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (copy == nullptr)
        throw SqliteError(sqlite3_extended_errcode(target.handle()), sqlite3_errmsg(target.handle()));
    int rc = SQLITE_OK;
    bool cancelled = false;
    // A step at a time: between steps the original is free for a save, after which the
    // copy starts again, so that a long backup never holds a save up. About a hundred steps
    // make the whole, so that the progress moves smoothly on a large file.
    int pages = 16;
    for (int waits = 0; waits < 100;) {
        rc = sqlite3_backup_step(copy, pages);
        const int total = sqlite3_backup_pagecount(copy);
        progress.Report(total - sqlite3_backup_remaining(copy), total, text);
        if (rc != SQLITE_OK && rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
        if ((cancelled = progress.Cancelled())) break;
        if (rc == SQLITE_OK) {
            pages = std::clamp(total / 100, 16, 1024);
            continue;
        }
        ++waits;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    sqlite3_backup_finish(copy);
    if (cancelled) throw WorkCancelled();
    if (rc != SQLITE_DONE) {
        const int code = sqlite3_extended_errcode(target.handle());
        throw SqliteError(code != SQLITE_OK ? code : rc, sqlite3_errstr(rc));
    }
    // A check that cannot even run (a garbled rule in the schema names an unknown function)
    // says the same as one that fails: what was copied is damaged.
    progress.Report(0, 0, "Checking the copy");
    sqlite3_progress_handler(target.handle(), 100000, Interrupted, &progress);
    // The start-up's own check, layout included: a copy whose schema names a column wrongly
    // passes the structure check, and every save into it would fail once it was in use.
    std::string problem;
    try {
        problem = CheckDatabase(target);
    } catch (const SqliteError& e) {
        problem = e.what();
    }
    sqlite3_progress_handler(target.handle(), 0, nullptr, nullptr);
    StopIfCancelled(progress);
    if (!problem.empty()) throw CopyDamaged("the copy did not pass its check: " + problem);
}

std::string Squeezed(std::string_view sql) {
    std::string out;
    for (char c : sql)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\r') out += c;
    return out;
}

// Empty when every table has the columns the program made it with and every index of the
// program's still reads as it was made; otherwise what differs. A garbled byte in the schema
// text can rename a column or a function that the structure check reads past, and every
// later read or save of that table would then fail.
std::string CheckLayout(Database& db) {
    Database made(":memory:", Database::Mode::CreateIfMissing);
    for (const TableLayout& t : MainTables()) {
        made.Exec(t.createSql);
        if (!t.indexSql.empty()) made.Exec(t.indexSql);
    }
    auto columns = [](Database& d, std::string_view table) {
        Statement s = d.Prepare("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?) ORDER BY cid");
        s.Bind(1, std::string(table));
        std::string all;
        while (s.Step())
            all += s.Text(0).value_or("") + " " + s.Text(1).value_or("") + " " + s.Text(2).value_or("") +
                   " " + s.Text(3).value_or("") + ",";
        return all;
    };
    for (const TableLayout& t : MainTables()) {
        // Columns added after a table was first made come after the original ones.
        const std::string want = columns(made, t.name);
        const std::string have = columns(db, t.name);
        if (have.empty()) continue;  // a table of a later version that this file has not had yet
        if (want.compare(0, have.size(), have) != 0)
            return "the layout of the table " + std::string(t.name) + " is damaged";
    }
    Statement ours =
        made.Prepare("SELECT name, sql FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL");
    Statement theirs = db.Prepare("SELECT sql FROM sqlite_schema WHERE type = 'index' AND name = ?");
    while (ours.Step()) {
        theirs.Reset();
        theirs.Bind(1, ours.Text(0).value_or(""));
        if (theirs.Step() && Squeezed(theirs.Text(0).value_or("")) != Squeezed(ours.Text(1).value_or("")))
            return "the index " + ours.Text(0).value_or("") + " is damaged";
    }
    return {};
}

// Empty when every row's layout reads and the rows keep the table's rules; otherwise what
// is wrong. Asking for the type of a row's last column makes the engine read the row's
// whole layout without copying its values out, which keeps this near the speed of the
// structure check.
std::string CheckEveryRow(Database& db) {
    for (const TableLayout& t : MainTables()) {
        if (t.name == "Equipment") continue;  // read whole by the rule below
        std::string last;
        Statement cols = db.Prepare("SELECT name FROM pragma_table_info(?)");
        cols.Bind(1, std::string(t.name));
        while (cols.Step())
            last = cols.Text(0).value_or("");
        Statement s = db.Prepare("SELECT count(*) FROM " + Quoted(t.name) + " WHERE typeof(" + Quoted(last) +
                                 ") = 'x'");
        s.Step();
    }
    // The check on a file opened read-only passes over CHECK rules; the one rule is read here.
    // List is the last column of its table.
    Statement lists = db.Prepare("SELECT 1 FROM Equipment WHERE List IS NULL OR List NOT IN (?, ?) LIMIT 1");
    lists.BindAll({std::string(kChangesList), std::string(kEquipmentList)});
    if (lists.Step()) return "an equipment row belongs to neither list of its Worksheet";
    return {};
}

// Empty when every index holds exactly its table's rows; otherwise the first disagreements.
// The structure check reads each index on its own, so an index page whose entries no longer
// match their rows passes it, and would only be met when a find goes through that page.
std::string CheckIndexes(Database& db) {
    const std::string problems = CheckProblems(db, "PRAGMA integrity_check(5)");
    return problems.empty() ? problems : "an index does not agree with its table:\n" + problems;
}

// The start-up check of an open file: the structure, the layout, every row, the indexes.
std::string CheckDatabase(Database& db) {
    std::string damage = QuickCheck(db);
    // The structure check does not read the rows' layout; a row garbled inside its page
    // would only show when its Worksheet is opened.
    if (damage.empty()) damage = CheckLayout(db);
    if (damage.empty()) damage = CheckEveryRow(db);
    if (damage.empty()) damage = CheckIndexes(db);
    return damage;
}

std::string FailureText(const std::exception& e) {
    if (const auto* s = dynamic_cast<const SqliteError*>(&e)) return Plain(*s);
    return e.what();
}

}  // namespace

DateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) return {};
    return {{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday},
            local->tm_hour,
            local->tm_min,
            local->tm_sec};
}

fs::path BackupFolderOf(const fs::path& mainFile) {
    return mainFile.parent_path() / kBackupFolderName;
}

std::string BackupName(const DateTime& made) {
    return "VELK-" + Stamp(made) + ".MDB";
}

std::optional<DateTime> BackupTime(std::string_view name) {
    // VELK-yyyy-mm-dd-hhmmss.MDB
    if (name.size() != 26 || name.substr(0, 5) != "VELK-" || name.substr(22) != ".MDB" || name[9] != '-' ||
        name[12] != '-' || name[15] != '-')
        return std::nullopt;
    const std::string_view y = name.substr(5, 4), mo = name.substr(10, 2), d = name.substr(13, 2),
                           hms = name.substr(16, 6);
    if (!Digits(y) || !Digits(mo) || !Digits(d) || !Digits(hms)) return std::nullopt;
    DateTime t{{Number(y), Number(mo), Number(d)},
               Number(hms.substr(0, 2)),
               Number(hms.substr(2, 2)),
               Number(hms.substr(4, 2))};
    if (!IsRealDate(t.date)) return std::nullopt;
    return t;
}

std::vector<BackupFile> ListBackups(const fs::path& mainFile) {
    std::vector<BackupFile> found;
    std::error_code ec;
    for (fs::directory_iterator it(BackupFolderOf(mainFile), ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        if (auto made = BackupTime(it->path().filename().string())) found.push_back({it->path(), *made});
    }
    std::sort(found.begin(), found.end(),
              [](const BackupFile& a, const BackupFile& b) { return a.made < b.made; });
    return found;
}

std::vector<BackupFile> BackupsToRemove(const std::vector<BackupFile>& backups, const DateTime& now) {
    std::vector<BackupFile> newestFirst = backups;
    std::sort(newestFirst.begin(), newestFirst.end(),
              [](const BackupFile& a, const BackupFile& b) { return a.made > b.made; });
    const int nowMonth = now.date.year * 12 + now.date.month - 1;
    std::set<int> monthsKept;
    std::vector<BackupFile> remove;
    for (size_t i = 0; i < newestFirst.size(); ++i) {
        const BackupFile& b = newestFirst[i];
        const int month = b.made.date.year * 12 + b.made.date.month - 1;
        // The newest of each recent month is met first, going from the newest down.
        const bool monthly = nowMonth - month < kKeepMonths && monthsKept.insert(month).second;
        if (static_cast<int>(i) < kKeepNewest || monthly) continue;
        remove.push_back(b);
    }
    return remove;
}

bool ChangedSinceLastBackup(const fs::path& mainFile) {
    const std::vector<BackupFile> backups = ListBackups(mainFile);
    if (backups.empty()) return true;
    std::error_code ec1, ec2;
    const auto written = fs::last_write_time(mainFile, ec1);
    const auto copied = fs::last_write_time(backups.back().file, ec2);
    return ec1 || ec2 || written > copied;
}

BackupResult MakeBackup(const fs::path& mainFile, const DateTime& now, Progress& progress) {
    BackupResult result;
    const fs::path folder = BackupFolderOf(mainFile);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        fs::create_directory(folder, ec);
        if (ec || !fs::is_directory(folder)) {
            result.failure = "the folder " + folder.string() + " could not be made" +
                             (ec ? " (" + ec.message() + ")" : std::string());
            return result;
        }
    }
    // Two backups at once (the one after the start-up check, one asked for in the same
    // second) each claim a name of their own: one whose copy is still being written is taken.
    fs::path final, part;
    {
        static std::mutex naming;
        const std::lock_guard lock(naming);
        DateTime made = now;
        for (;; made = NextSecond(made)) {
            final = folder / BackupName(made);
            part = final;
            part += ".part";
            if (!fs::exists(final, ec) && !fs::exists(part, ec)) break;
        }
        std::ofstream claim(part, std::ios::binary);  // empty: the copy writes into it
    }
    try {
        CopyDatabase(mainFile, part, progress, "Backing up the database");
        fs::rename(part, final);
    } catch (const WorkCancelled&) {
        RemoveQuietly(part);
        result.cancelled = true;
        result.failure = "the backup was cancelled";
        return result;
    } catch (const std::exception& e) {
        RemoveQuietly(part);
        result.failure = FailureText(e);
        result.copyDamaged = dynamic_cast<const CopyDamaged*>(&e) != nullptr;
        return result;
    }
    result.made = final;
    for (const BackupFile& old : BackupsToRemove(ListBackups(mainFile), now))
        if (fs::remove(old.file, ec)) result.removed.push_back(old.file);
    return result;
}

StartupCheck CheckMainFile(const fs::path& mainFile) {
    StartupCheck result;
    try {
        Database db(mainFile, Database::Mode::ReadOnly);
        result.damage = CheckDatabase(db);
    } catch (const std::exception& e) {
        result.damage = std::string("part of the file could not be read (") + e.what() + ")";
    }
    return result;
}

StartupCheck BackUpChecked(const fs::path& mainFile, const DateTime& now) {
    StartupCheck result;
    result.backupTried = true;
    result.backup = MakeBackup(mainFile, now);
    if (result.backup.copyDamaged) result.damage = result.backup.failure;
    return result;
}

BackupSummary DescribeBackup(const BackupFile& backup) {
    BackupSummary s;
    s.backup = backup;
    try {
        Database db(backup.file, Database::Mode::ReadOnly);
        Statement count = db.Prepare("SELECT count(*) FROM Aircraft");
        count.Step();
        s.worksheets = count.Int(0);
        Statement last = db.Prepare("SELECT Tail, \"Date\" FROM Aircraft ORDER BY Id DESC LIMIT 1");
        if (last.Step()) {
            s.lastTail = last.Text(0).value_or("");
            const std::string iso = last.Text(1).value_or("");
            const auto date = ParseIsoDate(iso);
            s.lastDate = date ? ShownDate(*date) : iso;
        }
        s.readable = true;
    } catch (const std::exception&) {
        s.readable = false;
    }
    return s;
}

std::string ShownDateTime(const DateTime& t) {
    return ShownDate(t.date) + " " + Two(t.hour) + ":" + Two(t.minute) + ":" + Two(t.second);
}

std::string SummaryLine(const BackupSummary& s) {
    std::string line = ShownDateTime(s.backup.made);
    if (!s.readable) return line + ", cannot be read";
    line += ", " + std::to_string(s.worksheets) + (s.worksheets == 1 ? " Worksheet" : " Worksheets");
    if (!s.lastTail.empty() || !s.lastDate.empty()) line += ", last stored " + s.lastTail + " " + s.lastDate;
    return line;
}

fs::path SetAside(const fs::path& file, std::string_view why, const DateTime& now) {
    DateTime when = now;
    auto nameAt = [&](const DateTime& t) {
        fs::path kept = file;
        kept += "." + std::string(why) + "-" + Stamp(t);
        return kept;
    };
    std::error_code ec;
    while (fs::exists(nameAt(when), ec))
        when = NextSecond(when);
    const fs::path kept = nameAt(when);
    fs::rename(file, kept, ec);
    if (ec)
        throw std::runtime_error("The file " + file.string() + " could not be renamed: " + ec.message() +
                                 ".");
    // A journal belongs to its file: it travels with it, so that nothing replays it into
    // the file that takes its place.
    fs::path journal = file, keptJournal = kept;
    journal += "-journal";
    keptJournal += "-journal";
    if (fs::exists(journal, ec)) fs::rename(journal, keptJournal, ec);
    return kept;
}

std::optional<fs::path> RestoreBackup(const fs::path& mainFile, const fs::path& backup, const DateTime& now,
                                      std::string_view keptAs, Progress& progress) {
    fs::path part = mainFile;
    part += ".restoring";
    RemoveQuietly(part);
    try {
        CopyDatabase(backup, part, progress, "Restoring the backup");
    } catch (const WorkCancelled&) {
        RemoveQuietly(part);
        throw;
    } catch (const std::exception& e) {
        RemoveQuietly(part);
        throw std::runtime_error("The backup could not be copied: " + FailureText(e) + ".");
    }
    // The restore is an event of the restored file's audit trail (a backup from before the trail
    // gets one entry per Worksheet when it is upgraded instead).
    try {
        Database restored(part, Database::Mode::OpenExisting);
        Statement has =
            restored.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'AuditTrail'");
        if (has.Step()) {
            has.Reset();
            Transaction tx(restored);
            AuditEveryWorksheet(restored, audit::kRestore);
            tx.Commit();
        }
    } catch (const std::exception& e) {
        RemoveQuietly(part);
        throw std::runtime_error("The backup could not be copied: " + FailureText(e) + ".");
    }
    std::optional<fs::path> kept;
    std::error_code ec;
    try {
        if (fs::exists(mainFile, ec)) kept = SetAside(mainFile, keptAs, now);
    } catch (const std::exception&) {
        RemoveQuietly(part);
        throw;
    }
    fs::rename(part, mainFile, ec);
    if (ec) {
        // Put the kept file back, so that the data folder is as it was.
        std::error_code back;
        if (kept) fs::rename(*kept, mainFile, back);
        RemoveQuietly(part);
        throw std::runtime_error("The backup could not be put in place: " + ec.message() + ".");
    }
    return kept;
}

}  // namespace wb
