#include "store/Records.h"

#include "store/CaseFold.h"

#include "worksheet/Dates.h"

namespace wb {
namespace {

constexpr const char* kByDate = "\"Date\"";

}  // namespace

Records::Records(const std::filesystem::path& mainDatabaseFile) : main_(mainDatabaseFile) {
    OpenSets();
}

Records::Records(Database db) : main_(std::move(db)) {
    OpenSets();
}

void Records::OpenSets() {
    AircraftSet = RecordSet(db(), "Aircraft", kByDate);
    CompanySet = RecordSet(db(), "CompanyInfo", "");
    SearchSet = RecordSet::Deferred(db(), "Aircraft", kByDate);
}

void Records::ReopenAircraftSet() {
    AircraftSet = RecordSet(db(), "Aircraft", kByDate);
}

void Records::ReopenSearchSet() {
    SearchSet = RecordSet::Deferred(db(), "Aircraft", kByDate);
}

void Records::NarrowSearchSet(const Condition& condition) {
    SearchSet = SearchSet.Filtered(condition);
}

bool Records::LoadFromAircraftSet(Worksheet& ws, LoadDefaults defaults) {
    defaults.defaultRowNames = true;
    return Load(AircraftSet.Current(), ws, defaults);
}

bool Records::LoadFromSearchSet(Worksheet& ws, LoadDefaults defaults) {
    defaults.defaultRowNames = false;
    return Load(SearchSet.Current(), ws, defaults);
}

bool Records::Load(std::optional<std::int64_t> id, Worksheet& ws, const LoadDefaults& defaults) {
    ScreenCleared();
    if (!id || !LoadWorksheet(db(), *id, ws, defaults)) return false;
    onScreen_ = id;
    return true;
}

void Records::ScreenCleared() {
    onScreen_.reset();
    written_ = false;
    if (uncertain_) uncertain_->onScreen = false;
}

std::optional<std::int64_t> Records::ReplacedBySave(const Worksheet& ws, bool searchPath) {
    if (!onScreen_) return std::nullopt;
    const std::string& tail = ws.Get(Field::Tail);
    if (searchPath || written_ || tail == "0") return onScreen_;
    // Loaded while browsing all: the same Tail and Date replace it, others store a new
    // Worksheet and keep this one, so that a past job can be the start of the next.
    const auto date = ParseTypedDate(ws.Get(Field::Date));
    if (!date) return std::nullopt;
    for (std::int64_t id : WorksheetsWithPair(db(), tail, IsoDate(*date)))
        if (id == *onScreen_) return onScreen_;
    return std::nullopt;
}

std::optional<Records::SamePairStored> Records::WouldReplaceAnother(const Worksheet& ws, bool searchPath) {
    const auto date = ParseTypedDate(ws.Get(Field::Date));
    const std::string& tail = ws.Get(Field::Tail);
    if (!date || tail == "0") return std::nullopt;
    const std::string iso = IsoDate(*date);
    if (WorksheetsWithPair(db(), tail, iso, ReplacedBySave(ws, searchPath)).empty()) return std::nullopt;
    const auto [changes, items] = ListRowCounts(db(), tail, iso);
    return SamePairStored{changes, items};
}

bool Records::ChangedSinceLoaded(const Worksheet& ws, bool searchPath) {
    // Loaded while browsing all, the save replaces it only while it is stored under the same
    // Tail and Date; otherwise a new Worksheet is stored beside whatever is there now.
    if (!onScreen_ || !(searchPath || written_ || ws.Get(Field::Tail) == "0")) return false;
    Statement s = db().Prepare("SELECT 1 FROM Aircraft WHERE Id = ?");
    s.Bind(1, *onScreen_);
    return !s.Step();
}

SaveOutcome Records::Save(const Worksheet& ws, bool searchPath, bool replaceSamePair, bool replaceChanged) {
    SaveRequest request;
    request.replaceChanged = replaceChanged;
    request.searchPath = searchPath;
    request.replaces = ReplacedBySave(ws, searchPath);
    request.replaceSamePair = replaceSamePair;
    SaveOutcome outcome;
    try {
        outcome = SaveWorksheet(db(), ws, request);
    } catch (const SaveUncertain& e) {
        uncertain_ = Uncertain{e.outcome, request, true, {}, {}};
        uncertain_->foldedTail = FoldCase(ws.Get(Field::Tail));
        if (const auto date = ParseTypedDate(ws.Get(Field::Date))) uncertain_->isoDate = IsoDate(*date);
        throw;
    }
    Placed(outcome, request);
    // The screen now shows what this save wrote, not what an earlier save in doubt did.
    if (uncertain_) uncertain_->onScreen = false;
    return outcome;
}

SaveOutcome Records::SaveCorrection(const Worksheet& ws, bool searchPath, const std::string& signedIsoDate,
                                    const std::string& reason) {
    SaveRequest request;
    request.searchPath = searchPath;
    request.corrects = signedIsoDate;
    request.correctionReason = reason;
    const SaveOutcome outcome = SaveWorksheet(db(), ws, request);
    Placed(outcome, request);
    return outcome;
}

std::optional<bool> Records::SettleUncertainSave() {
    if (!uncertain_ || !db().engine().AbandonedWorkEnded()) return std::nullopt;
    const SaveOutcome& outcome = uncertain_->outcome;
    // The new row there, holding this save's tail and date, means the save was stored (a
    // number the server handed out to a save that was lost can be handed out again after a
    // crash, so the number alone does not say whose the row is); for a deletion, the deleted
    // row gone.
    bool stored = true;
    if (outcome.added) {
        Statement s = db().Prepare("SELECT 1 FROM Aircraft WHERE Id = ? AND FoldedTail = ? AND \"Date\" = ?");
        s.BindAll({*outcome.added, uncertain_->foldedTail, uncertain_->isoDate});
        stored = s.Step();
    } else if (!outcome.removed.empty()) {
        Statement s = db().Prepare("SELECT 1 FROM Aircraft WHERE Id = ?");
        s.Bind(1, outcome.removed.front());
        stored = !s.Step();
    }
    const Uncertain settled = std::move(*uncertain_);
    uncertain_.reset();
    if (stored) {
        const std::optional<std::int64_t> shown = onScreen_;
        const bool written = written_;
        Placed(settled.outcome, settled.request);
        // A screen cleared or loaded since shows another Worksheet: its next save must not
        // replace the one in doubt, so only the sets learn of the stored rows.
        if (!settled.onScreen) {
            onScreen_ = shown;
            written_ = written;
        }
    }
    return stored;
}

void Records::Placed(const SaveOutcome& outcome, const SaveRequest& request) {
    const bool searchPath = request.searchPath;
    // The sets change only once the rows are stored.
    bool placed = false;
    for (std::int64_t id : outcome.removed) {
        if (outcome.added && request.replaces == id) {
            const bool inAircraftSet = AircraftSet.Replace(id, *outcome.added);
            const bool inSearchSet = SearchSet.Replace(id, *outcome.added);
            placed = searchPath ? inSearchSet : inAircraftSet;
            continue;
        }
        AircraftSet.Forget(id);
        SearchSet.Forget(id);
    }
    if (outcome.added && !placed) (searchPath ? SearchSet : AircraftSet).Append(*outcome.added);
    onScreen_ = outcome.added;
    written_ = outcome.added.has_value();
}

}  // namespace wb
