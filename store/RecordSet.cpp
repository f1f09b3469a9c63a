#include "store/RecordSet.h"

#include <algorithm>
#include <unordered_set>

namespace wb {
namespace {

std::string WhereClause(const std::vector<Condition>& conditions) {
    std::string where;
    for (const Condition& c : conditions)
        where += (where.empty() ? " WHERE (" : " AND (") + c.sql + ")";
    return where;
}

std::vector<Value> Params(const std::vector<Condition>& conditions) {
    std::vector<Value> params;
    for (const Condition& c : conditions)
        params.insert(params.end(), c.params.begin(), c.params.end());
    return params;
}

std::vector<std::int64_t> Query(Database& db, const std::string& table, const std::string& orderBy,
                                const std::vector<Condition>& conditions) {
    std::string sql = "SELECT Id FROM " + Quoted(table) + WhereClause(conditions);
    sql += " ORDER BY " + (orderBy.empty() ? std::string() : orderBy + ", ") + "Id";
    Statement s = db.Prepare(sql);
    s.BindAll(Params(conditions));
    std::vector<std::int64_t> ids;
    while (s.Step())
        ids.push_back(s.Int(0));
    return ids;
}

}  // namespace

RecordSet::RecordSet(Database& db, std::string table, std::string orderBy, std::vector<Condition> conditions)
    : db_(&db), table_(std::move(table)), orderBy_(std::move(orderBy)), conditions_(std::move(conditions)) {
    ids_ = Query(db, table_, orderBy_, conditions_);
    pos_ = 0;
}

RecordSet RecordSet::Deferred(Database& db, std::string table, std::string orderBy) {
    RecordSet set;
    set.db_ = &db;
    set.table_ = std::move(table);
    set.orderBy_ = std::move(orderBy);
    set.pending_ = true;
    return set;
}

void RecordSet::Realize() const {
    if (!pending_) return;
    pending_ = false;
    ids_ = Query(*db_, table_, orderBy_, conditions_);
}

RecordSet RecordSet::Filtered(const Condition& condition) const {
    RecordSet narrowed;
    if (db_ == nullptr) return narrowed;
    narrowed.db_ = db_;
    narrowed.table_ = table_;
    narrowed.orderBy_ = orderBy_;
    narrowed.conditions_ = conditions_;
    narrowed.conditions_.push_back(condition);
    if (pending_) {
        // Nothing was read or added yet: the conditions simply add up.
        narrowed.pending_ = true;
        return narrowed;
    }
    // Keep this set's rows (rows added through it included) in this set's order.
    const std::vector<std::int64_t> matching = Query(*db_, table_, orderBy_, {condition});
    const std::unordered_set<std::int64_t> keep(matching.begin(), matching.end());
    for (std::int64_t id : ids_)
        if (keep.count(id) != 0) narrowed.ids_.push_back(id);
    narrowed.pos_ = 0;
    return narrowed;
}

std::optional<std::int64_t> RecordSet::Current() const {
    Realize();
    if (currentGone_ || Bof() || Eof()) return std::nullopt;
    return ids_[static_cast<size_t>(pos_)];
}

bool RecordSet::Exists(std::int64_t id) const {
    Statement s = db_->Prepare("SELECT 1 FROM " + Quoted(table_) + " WHERE Id = ?");
    s.Bind(1, id);
    return s.Step();
}

void RecordSet::Settle(int step) {
    currentGone_ = false;
    while (pos_ >= 0 && pos_ < Size() && !Exists(ids_[static_cast<size_t>(pos_)]))
        pos_ += step;
}

void RecordSet::MoveFirst() {
    Realize();
    if (ids_.empty()) return;
    pos_ = 0;
    Settle(+1);
}

void RecordSet::MoveLast() {
    Realize();
    if (ids_.empty()) return;
    pos_ = Size() - 1;
    Settle(-1);
}

void RecordSet::MoveNext() {
    Realize();
    if (ids_.empty() || Eof()) return;
    // After the current row was dropped, the row that took its place is the next one.
    if (!currentGone_) ++pos_;
    Settle(+1);
}

void RecordSet::MovePrevious() {
    Realize();
    if (ids_.empty() || Bof()) return;
    --pos_;
    Settle(-1);
}

void RecordSet::Append(std::int64_t id) {
    Realize();
    // A cursor after the last row stays after the last row.
    const bool atEnd = Eof();
    ids_.push_back(id);
    if (atEnd) pos_ = Size();
}

void RecordSet::ForgetCurrent() {
    Realize();
    if (!Current()) return;
    ids_.erase(ids_.begin() + pos_);
    currentGone_ = true;
}

void RecordSet::Forget(std::int64_t id) {
    Realize();
    auto it = std::find(ids_.begin(), ids_.end(), id);
    if (it == ids_.end()) return;
    const std::int64_t index = it - ids_.begin();
    if (index == pos_ && !currentGone_) {
        ForgetCurrent();
        return;
    }
    ids_.erase(it);
    if (index < pos_) --pos_;
}

bool RecordSet::Replace(std::int64_t oldId, std::int64_t newId) {
    Realize();
    auto it = std::find(ids_.begin(), ids_.end(), oldId);
    if (it == ids_.end()) return false;
    *it = newId;
    return true;
}

}  // namespace wb
