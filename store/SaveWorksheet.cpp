// Storing a Worksheet: its old copy removed and the new rows written in one transaction.
#include "store/Audit.h"
#include "store/CaseFold.h"
#include "store/History.h"
#include "store/Scales.h"
#include "store/LoadingRows.h"
#include "store/Schema.h"
#include "store/Signing.h"
#include "store/WorksheetRows.h"
#include "worksheet/Dates.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"
#include "worksheet/Units.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

Value NumberOf(const Entry& e) {
    return LeadingNumber(e.Text());
}
// An empty entry stays Null; anything else is written as its number.
Value HeldNumber(const Entry& e) {
    return e.IsEmpty() ? Value() : NumberOf(e);
}

std::vector<Value> AircraftValues(const Worksheet& ws, const std::string& isoDate, bool searchPath) {
    std::vector<Value> v;
    v.reserve(AircraftColumns().size());
    v.emplace_back(std::in_place_type<std::string>, ws.Get(Field::Tail));
    v.emplace_back(std::in_place_type<std::string>, isoDate);
    for (Field f : {Field::Serial, Field::Make, Field::Model, Field::Year})
        v.emplace_back(std::in_place_type<std::string>, ws.Get(f));
    for (Field f : {Field::Empty, Field::CG, Field::MaxWt})
        v.emplace_back(std::in_place_type<double>, LeadingNumber(ws.Get(f)));
    for (Field f : {Field::Tach, Field::By, Field::Cert, Field::Work, Field::Range1, Field::Range2,
                    Field::Range3, Field::Memo})
        v.emplace_back(std::in_place_type<std::string>, ws.Get(f));
    const RowStore& scaleRows = ws.ScaleRows();
    const RowStore& fluidRows = ws.FluidRows();
    auto number = [searchPath](const Entry& e) { return searchPath ? HeldNumber(e) : NumberOf(e); };
    for (int n = 0; n < 5; ++n)
        v.emplace_back(std::in_place_type<std::string>, scaleRows.At(n, scale::Dsc).Text());
    for (int col : {scale::Tar, scale::Wgt, scale::Arm})
        for (int n = 0; n < 5; ++n)
            v.push_back(number(scaleRows.At(n, col)));
    for (int n = 0; n < 5; ++n)
        v.emplace_back(std::in_place_type<std::string>, fluidRows.At(n, fluid::Dsc).Text());
    for (int col : {fluid::Wgt, fluid::Arm})
        for (int n = 0; n < 5; ++n)
            v.push_back(number(fluidRows.At(n, col)));
    // No ballast arm typed stays Null, so that it loads back as an empty box.
    const std::optional<double> ballastArm = ArmIn(ws.Get(Field::BallastArm));
    v.push_back(ballastArm ? Value(*ballastArm) : Value());
    // Pounds and inches stay Null, as every Worksheet stored before the unit systems.
    const std::string_view units = UnitsCode(Units(ws));
    v.push_back(units.empty() ? Value() : Value(std::string(units)));
    // No chord typed stays Null, as no ballast arm does.
    for (Field f : {Field::Lemac, Field::Mac}) {
        const std::optional<double> length = ArmIn(ws.Get(f));
        v.push_back(length ? Value(*length) : Value());
    }
    // The weighing record: texts as typed; what was not recorded stays Null, as in a Worksheet
    // stored before the record was kept.
    for (const auto& [column, number] : WeighingColumns()) {
        const Field f = *FieldFromColumn(column);
        const std::string& text = ws.Get(f);
        if (f == Field::ReweighMonths) {
            const int months = ReweighMonthsOf(text);
            v.push_back(months > 0 ? Value(static_cast<double>(months)) : Value());
        } else if (text.empty()) {
            v.emplace_back();
        } else if (number) {
            v.emplace_back(LeadingNumber(text));
        } else {
            v.emplace_back(text);
        }
    }
    return v;
}

constexpr size_t kEquipmentValues = 11;  // the columns of one Equipment row a save writes

// A Worksheet's rows under its Tail and Date: both lists and the loading data.
void DeleteEquipmentRows(Database& db, const std::string& tail, const std::string& date) {
    Statement s = db.Prepare("DELETE FROM Equipment WHERE FoldedTail = ? AND \"Date\" = ?");
    s.BindAll({FoldCase(tail), date});
    s.Run();
    DeleteLoadingRows(db, tail, date);
}

void DeleteAircraftRow(Database& db, std::int64_t id) {
    Statement s = db.Prepare("DELETE FROM Aircraft WHERE Id = ?");
    s.Bind(1, id);
    s.Run();
}

// Both lists go in one statement: on a shop server each statement is a trip over the network.
void StoreLists(Database& db, const Worksheet& ws, const std::string& tail, const std::string& date) {
    const std::string folded = FoldCase(tail);
    std::vector<Value> values;
    auto add = [&](std::int64_t rowNum, const std::string& description, const std::string& serial,
                   Value weight, Value arm, bool install, bool remove, std::string_view list) {
        for (Value v :
             {Value(tail), Value(date), Value(rowNum), Value(FirstChars(description, kDescriptionChars)),
              Value(serial), std::move(weight), std::move(arm), Value(std::int64_t{install ? 1 : 0}),
              Value(std::int64_t{remove ? 1 : 0}), Value(std::string(list)), Value(folded)})
            values.push_back(std::move(v));
    };

    const RowStore& changes = ws.InstalledList();
    std::int64_t counter = 0;
    for (int r = 0; r < 30; ++r) {
        if (changes.At(r, installed::Description).Text().empty()) continue;
        add(counter++, changes.At(r, installed::Description).Text(), changes.At(r, installed::Serial).Text(),
            NumberOf(changes.At(r, installed::Weight)), NumberOf(changes.At(r, installed::Arm)),
            changes.At(r, installed::Install).Text() == "X", changes.At(r, installed::Remove).Text() == "X",
            kChangesList);
    }
    const RowStore& items = ws.EquipmentList();
    counter = 0;
    for (int r = 0; r < 100; ++r) {
        if (items.At(r, equipment::Description).Text().empty()) continue;
        add(counter++, items.At(r, equipment::Description).Text(), items.At(r, equipment::Serial).Text(),
            HeldNumber(items.At(r, equipment::Weight)), HeldNumber(items.At(r, equipment::Arm)), false, false,
            kEquipmentList);
    }
    if (values.empty()) return;
    std::string sql =
        "INSERT INTO Equipment (Tail, \"Date\", RowNum, Description, Serial, Weight, Arm, Install, Remove, "
        "List, FoldedTail) VALUES ";
    for (size_t row = 0; row < values.size() / kEquipmentValues; ++row)
        sql += row == 0 ? "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    Statement insert = db.Prepare(sql);
    insert.BindAll(values);
    insert.Run();
}

}  // namespace

std::vector<std::int64_t> WorksheetsWithPair(Database& db, std::string_view tail, std::string_view isoDate,
                                             std::optional<std::int64_t> except) {
    Statement s = db.Prepare("SELECT Id FROM Aircraft WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id");
    s.BindAll({FoldCase(tail), std::string(isoDate)});
    std::vector<std::int64_t> ids;
    while (s.Step())
        if (!except || s.Int(0) != *except) ids.push_back(s.Int(0));
    return ids;
}

std::pair<int, int> ListRowCounts(Database& db, std::string_view tail, std::string_view isoDate) {
    Statement s = db.Prepare(
        "SELECT List, count(*) FROM Equipment WHERE FoldedTail = ? AND \"Date\" = ? GROUP BY List");
    s.BindAll({FoldCase(tail), std::string(isoDate)});
    std::pair<int, int> counts{0, 0};
    while (s.Step())
        (s.Text(0) == std::string(kChangesList) ? counts.first : counts.second) = static_cast<int>(s.Int(1));
    return counts;
}

SaveOutcome SaveWorksheet(Database& db, const Worksheet& ws, const SaveRequest& request) {
    const auto typed = ParseTypedDate(ws.Get(Field::Date));
    if (!typed) throw std::invalid_argument("The date is not a calendar date.");
    const std::string date = IsoDate(*typed);
    const std::string& tail = ws.Get(Field::Tail);
    // Loading data that cannot be right is never stored, and nothing else with it.
    if (tail != "0") RequireSoundLoading(ws.loading, LoadingUnits(ws));
    SaveOutcome outcome;

    Transaction tx(db);
    // Another workstation saving the same aircraft waits here until this save is stored, so
    // that the duplicate check below and the rows written after it are one step.
    std::optional<std::string> storedTail;
    if (request.replaces) {
        Statement stored = db.Prepare("SELECT Tail FROM Aircraft WHERE Id = ?");
        stored.Bind(1, *request.replaces);
        if (stored.Step()) storedTail = stored.Text(0).value_or("");
    }
    std::vector<std::string> locks = {FoldCase(tail)};
    if (storedTail) locks.push_back(FoldCase(*storedTail));
    db.engine().LockNames(locks);
    std::vector<std::int64_t> samePair;
    if (tail != "0") {
        samePair = WorksheetsWithPair(db, tail, date, request.replaces);
        if (!samePair.empty() && !request.replaceSamePair) throw DuplicateWorksheet();
    }
    // A signed Worksheet is a record kept as it was signed: nothing replaces or deletes it.
    if (request.replaces)
        if (std::string why = LockReason(db, *request.replaces); !why.empty()) throw RecordLocked(why);
    for (std::int64_t id : samePair)
        if (std::string why = LockReason(db, id); !why.empty()) throw RecordLocked(why);
    if (request.corrects) {
        if (tail == "0" || !SignatureOf(db, tail, *request.corrects))
            throw SigningRefused(
                "The Worksheet to be corrected is not a signed Worksheet of this tail number.");
        if (*request.corrects >= date)
            throw SigningRefused(
                "A correction is stored under a later date than the signed Worksheet it "
                "corrects. Type the date of the correction.");
    }
    // Every version this save supersedes is kept before any of its rows goes.
    RevisionKeeper revisions(db);
    if (request.replaces)
        revisions.Keep(*request.replaces, tail == "0" ? Supersession::Deleted : Supersession::Replaced);
    for (std::int64_t id : samePair)
        revisions.Keep(id, Supersession::Replaced);

    bool replacedFound = false;
    std::string replacedTail, replacedDate;
    if (request.replaces) {
        Statement stored = db.Prepare("SELECT Tail, \"Date\" FROM Aircraft WHERE Id = ?");
        stored.Bind(1, *request.replaces);
        replacedFound = stored.Step();
        // Gone since it was loaded: another workstation replaced or deleted it meanwhile.
        if (!replacedFound && !request.replaceChanged) throw ChangedElsewhere();
        if (replacedFound) {
            replacedTail = stored.Text(0).value_or("");
            replacedDate = stored.Text(1).value_or("");
            DeleteEquipmentRows(db, replacedTail, replacedDate);
        }
    }
    // Rows left under the new Tail and Date would otherwise be read back with this Worksheet.
    DeleteEquipmentRows(db, tail, date);
    const auto removeReplaced = [&] {
        if (replacedFound) {
            DeleteAircraftRow(db, *request.replaces);
            outcome.removed.push_back(*request.replaces);
        }
        for (std::int64_t id : samePair) {
            DeleteAircraftRow(db, id);
            outcome.removed.push_back(id);
        }
    };
    // A commit whose answer was lost may have been stored: the caller can find out from the
    // rows this save added or removed.
    const auto commit = [&] {
        try {
            tx.Commit();
        } catch (const EngineError& e) {
            if (e.kind() == EngineError::Kind::CommitUnknown) throw SaveUncertain(e.what(), outcome);
            throw;
        }
    };
    if (tail == "0") {
        removeReplaced();
        revisions.StoredAs(std::nullopt);
        if (replacedFound) AppendAudit(db, audit::kDelete, replacedTail, replacedDate);
        commit();
        return outcome;
    }

    // A Worksheet stored in place of another keeps its identity, so its versions stay as they
    // are. The new row goes in before the rows it replaces go, so that its Id is above theirs:
    // the engine then never hands a Worksheet's identity to another one as its Id.
    // The folded texts go with them, for the finds by tail number and the search.
    std::vector<Value> values;
    std::vector<std::string> extra;
    for (const auto& [table, column] : FoldedColumns()) {
        if (table != "Aircraft") continue;
        extra.push_back("Folded" + std::string(column));
        values.emplace_back(FoldCase(ws.Get(*FieldFromColumn(column))));
    }
    const std::optional<std::int64_t> identity = revisions.Identity();
    if (identity) {
        extra.emplace_back("WorksheetId");
        values.emplace_back(*identity);
    }
    for (Value& v : AircraftValues(ws, date, request.searchPath))
        values.push_back(std::move(v));
    Statement insert = db.Prepare(AircraftInsertSql(extra));
    insert.BindAll(values);
    insert.Run();
    const std::int64_t added = db.LastInsertRowid();
    removeReplaced();
    StoreLists(db, ws, tail, date);
    StoreLoadingRows(db, ws.loading, tail, date);
    revisions.StoredAs(added);
    outcome.added = added;
    // A Worksheet stored under another tail or date than before is gone from where it was.
    if (replacedFound && (FoldCase(replacedTail) != FoldCase(tail) || replacedDate != date))
        AppendAudit(db, audit::kReplace, replacedTail, replacedDate);
    AppendAudit(db, replacedFound || !samePair.empty() ? audit::kReplace : audit::kSave, tail, date);
    if (request.corrects) RecordCorrection(db, tail, *request.corrects, date, request.correctionReason);
    commit();
    return outcome;
}

}  // namespace wb
