#include "store/Search.h"

#include "store/CaseFold.h"
#include "store/Sqlite.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

// Every text beginning with `prefix` lies between it and the prefix followed by the byte
// 0xFF, which no UTF-8 text holds; so the prefix match is a range the Tail index serves.
std::string PastPrefix(std::string prefix) {
    prefix.push_back('\xFF');
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
        const std::string key = std::string(kFoldCaseFunction) + "(" + column + ")";
        return {key + " >= ? AND " + key + " < ?", {folded, PastPrefix(folded)}};
    }
    if (auto d = ParseTypedDate(typed)) return {column + " = ?", {IsoDate(*d)}};
    return {"0", {}};
}

std::string CriterionText(const SearchField& field, std::string_view typed) {
    if (field.like) return std::string(field.prefix) + "\"" + std::string(typed) + "*\"";
    return std::string(field.prefix) + "#" + std::string(typed) + "#";
}

}  // namespace wb
