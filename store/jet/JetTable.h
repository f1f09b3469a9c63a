// A table as read from a Jet database file: its columns and every row in file order, with each
// value in the type the column stores. Nothing here depends on the library that reads the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "worksheet/Dates.h"

namespace wb::jet {

enum class JetType { Boolean, Byte, Integer, Long, Single, Double, DateTime, Text, Memo, Other };

// "Yes/No", "Byte", "Integer", "Long", "Single", "Double", "Date/Time", "Text", "Memo", "Other".
std::string_view JetTypeName(JetType type);

struct JetColumn {
    std::string name;
    JetType type = JetType::Other;
    int textLength = 0;      // characters, Text columns only
    std::string typeDetail;  // the stored type code, for a column of type Other
};

// Null is std::monostate and stays distinct from "". Text and Memo are UTF-8. Double columns give
// double, Single columns float (the stored float32, never widened), Byte/Integer/Long give
// int32_t, Yes/No bool, Date/Time the calendar day of the stored day serial.
using JetValue = std::variant<std::monostate, std::string, double, float, std::int32_t, bool, CalendarDate>;

inline bool IsNull(const JetValue& v) {
    return std::holds_alternative<std::monostate>(v);
}

struct JetProblem {
    int row = 0;  // 1-based row in file order; 0 when it concerns the whole column
    std::string column;
    std::string message;
};

struct JetTable {
    std::string name;
    std::vector<JetColumn> columns;
    std::vector<std::vector<JetValue>> rows;  // rows[i][c] belongs to columns[c]
    // Values that could not be read; each such value reads as Null.
    std::vector<JetProblem> problems;

    std::optional<size_t> ColumnIndex(std::string_view columnName) const;
};

// Jet compares names without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace wb::jet
