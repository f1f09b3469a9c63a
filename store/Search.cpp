#include "store/Search.h"

#include "store/CaseFold.h"
#include "store/Sqlite.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

// Every text beginning with `prefix` lies, byte by byte, between it and the prefix followed by
// U+10FFFF, the highest code point (a noncharacter no tail or name holds); so the prefix match
// is a range the Tail index serves. A valid UTF-8 bound, as a server insists on.
std::string PastPrefix(std::string prefix) {
    prefix += "\xF4\x8F\xBF\xBF";
    return prefix;
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
    if (field.like) {
        std::string folded = FoldCase(typed);
        const std::string key = Quoted("Folded" + std::string(ColumnOf(field.field)));
        return {key + " >= ? AND " + key + " < ?", {folded, PastPrefix(folded)}};
    }
    if (auto d = ParseTypedDate(typed)) return {column + " = ?", {IsoDate(*d)}};
    return {"1 = 0", {}};
}

std::string CriterionText(const SearchField& field, std::string_view typed) {
    if (field.like) return std::string(field.prefix) + "\"" + std::string(typed) + "*\"";
    return std::string(field.prefix) + "#" + std::string(typed) + "#";
}

}  // namespace wb
