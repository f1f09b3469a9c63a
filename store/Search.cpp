#include "store/Search.h"

#include "store/Sqlite.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

constexpr char kEscape = '\\';

// The typed text as a LIKE pattern that matches itself literally, followed by any rest.
std::string PrefixPattern(std::string_view typed) {
    std::string pattern;
    for (char c : typed) {
        if (c == '%' || c == '_' || c == kEscape) pattern.push_back(kEscape);
        pattern.push_back(c);
    }
    pattern.push_back('%');
    return pattern;
}

std::string_view ColumnOf(Field f) {
    return InfoOf(f).column;
}

}  // namespace

const std::array<SearchField, 9>& SearchFields() {
    static const std::array<SearchField, 9> fields = {{
        {Field::Tail, "Tail  Like ", true},
        {Field::Serial, "Serial Like ", true},
        {Field::Make, "Make Like ", true},
        {Field::Model, "Model Like ", true},
        {Field::Year, "Year Like ", true},
        {Field::By, "By Like ", true},
        {Field::Cert, "Cert Like ", true},
        {Field::Work, "Work Like ", true},
        {Field::Date, "Date = ", false},
    }};
    return fields;
}

Condition SearchCondition(const SearchField& field, std::string_view typed) {
    const std::string column = Quoted(ColumnOf(field.field));
    if (field.like) return {column + " LIKE ? ESCAPE '\\'", {PrefixPattern(typed)}};
    if (auto d = ParseTypedDate(typed)) return {column + " = ?", {IsoDate(*d)}};
    return {"0", {}};
}

std::string CriterionText(const SearchField& field, std::string_view typed) {
    if (field.like) return std::string(field.prefix) + "\"" + std::string(typed) + "*\"";
    return std::string(field.prefix) + "#" + std::string(typed) + "#";
}

}  // namespace wb
