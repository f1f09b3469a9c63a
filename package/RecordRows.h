// Rows of the database as JSON objects and back, for the record package: members named by
// their column in lower case, Null columns left out, the program's own columns (row numbers,
// links, folded copies) never written and never read.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>

#include "store/Sqlite.h"

namespace wb::record {

using nlohmann::json;

// The row `s` stands on, without the columns named in `skip` (lower case) or starting "folded".
json RowObject(const Statement& s, const std::set<std::string>& skip);

// The canonical JSON text (RFC 8785) of a value read from a package: the bytes a record's hash
// and signature are made over, when the value is a record.
std::string Canonical(const json& v);

// The value of a member as the database stores it.
Value StoredValue(const json& v);

// The columns of `table` a package may fill: lower-case name to the column's own name.
class Columns {
  public:
    Columns(Database& db, std::string_view table, const std::set<std::string>& internal);
    // The column's own name; nothing for a name the table does not have or keeps for itself.
    const std::string* Find(const std::string& lower) const;
    // The column that keeps the folded copy of `lower`; nothing when the table keeps none.
    const std::string* Folded(const std::string& lower) const;

  private:
    std::map<std::string, std::string> names_, folded_;
};

// Inserts `row` into `table` with `extra` columns (own names) besides, and fills the folded
// copies the table keeps. Throws PackageError for a member the table does not have, naming
// `where`.
std::int64_t InsertRow(Database& db, std::string_view table, const Columns& columns, const json& row,
                       const std::vector<std::pair<std::string, Value>>& extra, const std::string& where);

}  // namespace wb::record
