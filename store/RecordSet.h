// A record set: the ordered row ids a query gave, and a cursor that stands on one of them,
// before the first (BOF) or after the last (EOF). A row added through the set appears at
// its end; a row deleted elsewhere is stepped over by the moves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Sqlite.h"

namespace wb {

// A parameterised condition: SQL with "?" placeholders and the values bound to them.
struct Condition {
    std::string sql;
    std::vector<Value> params;
};

class RecordSet {
  public:
    RecordSet() = default;  // a closed set: no rows, at BOF and EOF
    // The rows of `table` meeting every condition, ordered by `orderBy` (then by row id);
    // the cursor stands on the first row.
    RecordSet(Database& db, std::string table, std::string orderBy, std::vector<Condition> conditions = {});

    // Like the constructor, but the query runs only when the set is first looked at, so
    // that narrowing it (Filtered) runs one query with every condition instead of reading
    // every stored row first.
    static RecordSet Deferred(Database& db, std::string table, std::string orderBy);

    // The rows of this set that also meet `condition`, in this set's order, on the first.
    RecordSet Filtered(const Condition& condition) const;

    bool Bof() const {
        Realize();
        return ids_.empty() || pos_ < 0;
    }
    bool Eof() const {
        Realize();
        return ids_.empty() || pos_ >= Size();
    }
    // The row under the cursor; nothing at BOF, EOF or after the row was deleted.
    std::optional<std::int64_t> Current() const;
    std::int64_t Size() const {
        Realize();
        return static_cast<std::int64_t>(ids_.size());
    }
    const std::vector<std::int64_t>& Ids() const {
        Realize();
        return ids_;
    }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    // Makes `id` a row of the set, at its end; the cursor does not move.
    void Append(std::int64_t id);
    // Drops the current row from the set; the cursor stays between its neighbours until
    // the next move.
    void ForgetCurrent();
    // Drops `id` wherever it stands.
    void Forget(std::int64_t id);
    // Puts `newId` where `oldId` stands, the cursor with it when it stood there; false when
    // `oldId` is not a row of the set.
    bool Replace(std::int64_t oldId, std::int64_t newId);

  private:
    bool Exists(std::int64_t id) const;
    void Settle(int step);  // moves on in `step` direction past rows that no longer exist
    void Realize() const;   // runs a deferred query

    Database* db_ = nullptr;
    std::string table_, orderBy_;
    std::vector<Condition> conditions_;
    mutable std::vector<std::int64_t> ids_;
    mutable bool pending_ = false;
    std::int64_t pos_ = 0;
    bool currentGone_ = false;
};

}  // namespace wb
