#include "store/Records.h"

#include "worksheet/Dates.h"

namespace wb {
namespace {

constexpr const char* kByDate = "\"Date\"";

}  // namespace

Records::Records(const std::filesystem::path& mainDatabaseFile) : main_(mainDatabaseFile) {
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
    auto id = AircraftSet.Current();
    return id && LoadWorksheet(db(), *id, ws, defaults);
}

bool Records::LoadFromSearchSet(Worksheet& ws, LoadDefaults defaults) {
    defaults.defaultRowNames = false;
    auto id = SearchSet.Current();
    return id && LoadWorksheet(db(), *id, ws, defaults);
}

bool Records::WouldReplaceAnother(const Worksheet& ws, bool searchPath) {
    const auto date = ParseTypedDate(ws.Get(Field::Date));
    if (!date || ws.Get(Field::Tail) == "0") return false;
    const auto loaded = searchPath ? SearchSet.Current() : std::nullopt;
    return !WorksheetsWithPair(db(), ws.Get(Field::Tail), IsoDate(*date), loaded).empty();
}

SaveOutcome Records::Save(const Worksheet& ws, bool searchPath, bool replaceSamePair) {
    SaveRequest request;
    request.searchPath = searchPath;
    if (searchPath) request.replaces = SearchSet.Current();
    request.replaceSamePair = replaceSamePair;
    SaveOutcome outcome = SaveWorksheet(db(), ws, request);
    // The sets change only once the rows are stored.
    if (request.replaces) SearchSet.ForgetCurrent();
    for (std::int64_t id : outcome.removed) {
        AircraftSet.Forget(id);
        SearchSet.Forget(id);
    }
    if (outcome.added) (searchPath ? SearchSet : AircraftSet).Append(*outcome.added);
    return outcome;
}

}  // namespace wb
