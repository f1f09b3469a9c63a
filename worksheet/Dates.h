// Calendar dates as the mechanic types them ("mm-dd-yyyy") and as the database keeps them
// (ISO "yyyy-mm-dd", so that ordering by Date is chronological across years).
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace wb {

struct CalendarDate {
    int year = 0, month = 0, day = 0;
    auto operator<=>(const CalendarDate&) const = default;
};

bool IsRealDate(const CalendarDate& d);

// "mm-dd-yyyy", also "m-d-yyyy" and "m/d/yyyy"; blanks around it are ignored. The year has
// four digits; a date that is not on the calendar (02-30-2001, 13-45-2001) is refused.
std::optional<CalendarDate> ParseTypedDate(std::string_view typed);
std::string ShownDate(const CalendarDate& d);  // "mm-dd-yyyy"

std::optional<CalendarDate> ParseIsoDate(std::string_view iso);
std::string IsoDate(const CalendarDate& d);  // "yyyy-mm-dd"

}  // namespace wb
