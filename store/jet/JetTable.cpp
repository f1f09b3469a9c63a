#include "store/jet/JetTable.h"

namespace wb::jet {

std::string_view JetTypeName(JetType type) {
    switch (type) {
        case JetType::Boolean:
            return "Yes/No";
        case JetType::Byte:
            return "Byte";
        case JetType::Integer:
            return "Integer";
        case JetType::Long:
            return "Long";
        case JetType::Single:
            return "Single";
        case JetType::Double:
            return "Double";
        case JetType::DateTime:
            return "Date/Time";
        case JetType::Text:
            return "Text";
        case JetType::Memo:
            return "Memo";
        case JetType::Other:
            break;
    }
    return "Other";
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::optional<size_t> JetTable::ColumnIndex(std::string_view columnName) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (SameName(columns[i].name, columnName)) return i;
    return std::nullopt;
}

}  // namespace wb::jet
