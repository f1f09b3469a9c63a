// The search over the stored Worksheets: each non-empty identity field narrows the result,
// in a fixed order, by a parameterised condition.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/RecordSet.h"
#include "worksheet/Worksheet.h"

namespace wb {

struct SearchField {
    Field field;
    std::string_view prefix;  // the criterion as the mechanic reads it: "Tail  Like " ...
    bool like;                // a prefix match; otherwise (the date) the same calendar date
};

// The nine identity fields in the order in which they narrow the result.
const std::array<SearchField, 9>& SearchFields();

// Like fields: the stored text begins with the typed text, both with their case folded over
// the whole of Unicode, the typed text taken literally ("%", "_", "*", "?", "#" and quotes are plain characters).
// Date: the same calendar date; a typed text that is not a date matches nothing.
Condition SearchCondition(const SearchField& field, std::string_view typed);

// The criterion in its readable form: Tail  Like "N1*", Date = #06-10-2001#.
std::string CriterionText(const SearchField& field, std::string_view typed);

}  // namespace wb
