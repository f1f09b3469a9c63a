#include "store/Scales.h"

#include <algorithm>
#include <unordered_map>

#include "store/CaseFold.h"
#include "worksheet/Format.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

// The serial is the scale's name in every weighing: one scale per serial. The marked change
// rows are indexed with their weights, so that the due list sums each aircraft's changes
// since its weighing from the index alone.
constexpr std::string_view kScaleSql = R"(
CREATE TABLE IF NOT EXISTS Scale (
  Id INTEGER PRIMARY KEY,
  Serial TEXT NOT NULL UNIQUE, MakeModel TEXT, Capacity REAL, Calibrated TEXT,
  IntervalMonths INTEGER NOT NULL DEFAULT 24, Retired INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS Equipment_Changes ON Equipment (FoldedTail, "Date", List, Install, Remove, Weight)
  WHERE List = 'changes' AND (Install OR Remove);
)";

bool HasColumn(Database& db, std::string_view table, std::string_view column) {
    Statement s = db.Prepare("SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    s.BindAll({std::string(table), std::string(column)});
    return s.Step();
}

std::optional<std::int64_t> ScaleWithSerial(Database& db, const std::string& serial) {
    Statement s = db.Prepare("SELECT Id FROM Scale WHERE Serial = ?");
    s.Bind(1, serial);
    if (!s.Step()) return std::nullopt;
    return s.Int(0);
}

}  // namespace

std::string_view ScaleTableSql() {
    return kScaleSql;
}

const std::vector<std::pair<std::string_view, bool>>& WeighingColumns() {
    static const std::vector<std::pair<std::string_view, bool>> columns = {
        {"J1Scale", false},     {"J2Scale", false},     {"J3Scale", false},    {"J4Scale", false},
        {"J5Scale", false},     {"Levelling", false},   {"FuelState", false},  {"FuelPerGallon", true},
        {"Oil", false},         {"OtherFluids", false}, {"WeighPlace", false}, {"WeighedBy", false},
        {"Temperature", false}, {"ReweighMonths", true}};
    return columns;
}

void AddScaleTables(Database& db) {
    db.Exec(kScaleSql);
    for (const char* table : {"Aircraft", "AircraftRevision"})
        for (const auto& [column, number] : WeighingColumns())
            if (!HasColumn(db, table, column))
                db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN " + Quoted(column) +
                        (number ? " REAL" : " TEXT"));
}

std::vector<ShopScale> ReadScales(Database& db) {
    Statement s = db.Prepare(
        "SELECT Id, Serial, MakeModel, Capacity, Calibrated, IntervalMonths, Retired FROM Scale ORDER BY "
        "Serial, "
        "Id");
    std::vector<ShopScale> scales;
    while (s.Step()) {
        ShopScale scale;
        scale.id = s.Int(0);
        scale.serial = s.Text(1).value_or("");
        scale.makeModel = s.Text(2).value_or("");
        scale.capacity = s.Number(3);
        if (const Nullable iso = s.Text(4)) scale.calibrated = ParseIsoDate(*iso);
        scale.intervalMonths = s.IsNull(5) ? kDefaultCalibrationMonths : static_cast<int>(s.Int(5));
        scale.retired = !s.IsNull(6) && s.Int(6) != 0;
        scales.push_back(std::move(scale));
    }
    return scales;
}

bool ScaleInUse(Database& db, std::string_view serial) {
    for (const char* table : {"Aircraft", "AircraftRevision"}) {
        Statement s =
            db.Prepare(std::string("SELECT 1 FROM ") + table +
                       " WHERE J1Scale = ? OR J2Scale = ? OR J3Scale = ? OR J4Scale = ? OR J5Scale = ? "
                       "LIMIT 1");
        for (int i = 1; i <= 5; ++i)
            s.Bind(i, std::string(serial));
        if (s.Step()) return true;
    }
    return false;
}

std::int64_t StoreScale(Database& db, const ShopScale& scale) {
    if (scale.serial.empty()) throw ScaleRefused("A scale needs its serial number.");
    Transaction tx(db);
    db.engine().LockNames({"scales"});
    const std::optional<std::int64_t> same = ScaleWithSerial(db, scale.serial);
    if (same && *same != scale.id)
        throw ScaleRefused("The scale " + scale.serial + " is already among the shop's scales.");
    const std::vector<Value> values = {
        scale.serial,
        scale.makeModel,
        scale.capacity ? Value(*scale.capacity) : Value(),
        scale.calibrated ? Value(IsoDate(*scale.calibrated)) : Value(),
        std::int64_t{scale.intervalMonths > 0 ? scale.intervalMonths : kDefaultCalibrationMonths},
        std::int64_t{scale.retired ? 1 : 0}};
    std::int64_t id = scale.id;
    if (id == 0) {
        Statement insert = db.Prepare(
            "INSERT INTO Scale (Serial, MakeModel, Capacity, Calibrated, IntervalMonths, Retired) VALUES (?, "
            "?, ?, "
            "?, CAST(? AS INTEGER), ?)");
        insert.BindAll(values);
        insert.Run();
        id = db.LastInsertRowid();
    } else {
        Statement was = db.Prepare("SELECT Serial FROM Scale WHERE Id = ?");
        was.Bind(1, id);
        if (!was.Step()) throw ScaleRefused("The scale is no longer among the shop's scales.");
        const std::string before = was.Text(0).value_or("");
        // The weighings name it by its serial: renaming it would leave them naming no scale.
        if (before != scale.serial && ScaleInUse(db, before))
            throw ScaleRefused("The scale " + before +
                               " is named by a stored weighing, so its serial number cannot change.");
        Statement update = db.Prepare(
            "UPDATE Scale SET Serial = ?, MakeModel = ?, Capacity = ?, Calibrated = ?, IntervalMonths = "
            "CAST(? "
            "AS INTEGER), Retired = ? WHERE Id = ?");
        update.BindAll(values);
        update.Bind(7, id);
        update.Run();
    }
    tx.Commit();
    return id;
}

bool RemoveScale(Database& db, std::int64_t id) {
    Transaction tx(db);
    db.engine().LockNames({"scales"});
    Statement was = db.Prepare("SELECT Serial FROM Scale WHERE Id = ?");
    was.Bind(1, id);
    if (!was.Step()) return false;
    const bool used = ScaleInUse(db, was.Text(0).value_or(""));
    Statement change =
        db.Prepare(used ? "UPDATE Scale SET Retired = ? WHERE Id = ?" : "DELETE FROM Scale WHERE Id = ?");
    if (used) change.Bind(1, std::int64_t{1});
    change.Bind(used ? 2 : 1, id);
    change.Run();
    tx.Commit();
    return !used;
}

std::string LatestReweighMonths(Database& db, std::string_view tail) {
    Statement s = db.Prepare(
        "SELECT ReweighMonths FROM Aircraft WHERE FoldedTail = ? AND ReweighMonths IS NOT NULL ORDER BY "
        "\"Date\" DESC, Id DESC LIMIT 1");
    s.Bind(1, FoldCase(tail));
    if (!s.Step() || s.IsNull(0)) return {};
    return std::to_string(static_cast<int>(s.Real(0)));
}

std::vector<DueLine> DueForReweighing(Database& db, CalendarDate today) {
    // One pass over the Worksheets in the order they are stored (no index walk, no lookups)
    // finds each aircraft's latest values, interval and last weighing; then one indexed range
    // of change rows per aircraft sums what changed since.
    struct Tail {
        DueLine line;
        std::string folded;
        std::string latest;         // ISO date and Id of the latest Worksheet, and of the latest
        std::int64_t latestId = 0;  // with an interval
        std::string monthsDate;
        std::int64_t monthsId = 0;
        std::string first, weighed;  // ISO dates: the first Worksheet, the last weighing
        int months = 0;
    };
    std::vector<Tail> tails;
    std::unordered_map<std::string, size_t> byFolded;
    // Weighed as the computation finds it: the scale rows give a weight and a moment. Summed
    // by the engine, so that two values cross over per Worksheet rather than thirty.
    std::string weight, moment;
    for (int n = 1; n <= 5; ++n) {
        const std::string j = std::to_string(n);
        const std::string w = "COALESCE(J" + j + "Wgt, 0)", tare = "COALESCE(J" + j + "Tar, 0)",
                          arm = "COALESCE(J" + j + "Arm, 0)", fw = "COALESCE(F" + j + "Wgt, 0)",
                          fa = "COALESCE(F" + j + "Arm, 0)";
        weight += (n == 1 ? "" : " + ") + w + " - " + fw + " - " + tare;
        moment += (n == 1 ? "" : " + ") + ("(" + w + " - " + tare + ") * " + arm + " - " + fw + " * " + fa);
    }
    Statement s = db.Prepare(
        "SELECT FoldedTail, Tail, \"Date\", Id, MaxWt, ReweighMonths, " + weight + ", " + moment + ", Units" +
        " FROM Aircraft WHERE FoldedTail IS NOT NULL AND FoldedTail <> '' AND FoldedTail <> '0'");
    auto later = [](const std::string& date, std::int64_t id, const std::string& thanDate,
                    std::int64_t thanId) {
        return thanDate.empty() || date > thanDate || (date == thanDate && id > thanId);
    };
    while (s.Step()) {
        std::string key = s.Text(0).value_or("");
        const std::string iso = s.Text(2).value_or("");
        const std::int64_t id = s.Int(3);
        auto [at, added] = byFolded.try_emplace(key, tails.size());
        if (added) {
            tails.emplace_back();
            tails.back().folded = std::move(key);
        }
        Tail& t = tails[at->second];
        if (later(iso, id, t.latest, t.latestId)) {
            t.latest = iso;
            t.latestId = id;
            t.line.tail = s.Text(1).value_or("");
            t.line.maxWeight = s.IsNull(4) ? 0 : s.Real(4);
            t.line.units = UnitsFromCode(s.Text(8).value_or(""));
        }
        // The interval set last stands until another is set.
        if (!s.IsNull(5) && later(iso, id, t.monthsDate, t.monthsId)) {
            t.monthsDate = iso;
            t.monthsId = id;
            t.months = static_cast<int>(s.Real(5));
        }
        if (t.first.empty() || iso < t.first) t.first = iso;
        if (s.Real(6) != 0 && s.Real(7) != 0 && iso > t.weighed) t.weighed = iso;
    }
    std::sort(tails.begin(), tails.end(), [](const Tail& a, const Tail& b) { return a.folded < b.folded; });
    Statement changes = db.Prepare(
        "SELECT SUM(CASE WHEN Install THEN Weight ELSE 0 END) - SUM(CASE WHEN Remove THEN Weight ELSE 0 END) "
        "FROM Equipment WHERE FoldedTail = ? AND \"Date\" >= ? AND List = 'changes' AND (Install OR Remove)");
    std::vector<DueLine> lines;
    lines.reserve(tails.size());
    for (Tail& t : tails) {
        if (!t.weighed.empty()) t.line.lastWeighing = ParseIsoDate(t.weighed);
        changes.Reset();
        changes.BindAll({t.folded, t.weighed.empty() ? t.first : t.weighed});
        if (changes.Step() && !changes.IsNull(0)) t.line.weightChange = changes.Real(0);
        if (t.line.lastWeighing && t.months > 0) {
            t.line.due = AddMonths(*t.line.lastWeighing, t.months);
            t.line.overdue = today > *t.line.due;
        }
        lines.push_back(std::move(t.line));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const DueLine& a, const DueLine& b) {
        if (a.due.has_value() != b.due.has_value()) return a.due.has_value();
        return a.due && *a.due != *b.due ? *a.due < *b.due : false;
    });
    return lines;
}

}  // namespace wb
