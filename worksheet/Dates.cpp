#include "worksheet/Dates.h"

#include <cstdio>

namespace wb {
namespace {

bool ReadNumber(std::string_view s, size_t& i, int minDigits, int maxDigits, int& out) {
    int digits = 0;
    out = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < maxDigits) {
        out = out * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    return digits >= minDigits;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string Padded(int v, size_t width) {
    std::string s = std::to_string(v);
    if (s.size() < width) s.insert(s.begin(), width - s.size(), '0');
    return s;
}
std::string TwoDigits(int v) { return Padded(v, 2); }
std::string FourDigits(int v) { return Padded(v, 4); }

}  // namespace

bool IsRealDate(const CalendarDate& d) {
    if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= days;
}

std::optional<CalendarDate> ParseTypedDate(std::string_view typed) {
    std::string_view s = Trim(typed);
    CalendarDate d;
    size_t i = 0;
    if (!ReadNumber(s, i, 1, 2, d.month)) return std::nullopt;
    if (i >= s.size() || (s[i] != '-' && s[i] != '/')) return std::nullopt;
    char separator = s[i++];
    if (!ReadNumber(s, i, 1, 2, d.day)) return std::nullopt;
    if (i >= s.size() || s[i] != separator) return std::nullopt;
    ++i;
    if (!ReadNumber(s, i, 4, 4, d.year) || i != s.size()) return std::nullopt;
    if (!IsRealDate(d)) return std::nullopt;
    return d;
}

std::string ShownDate(const CalendarDate& d) {
    return TwoDigits(d.month) + "-" + TwoDigits(d.day) + "-" + FourDigits(d.year);
}

std::optional<CalendarDate> ParseIsoDate(std::string_view iso) {
    std::string_view s = Trim(iso);
    CalendarDate d;
    size_t i = 0;
    if (!ReadNumber(s, i, 4, 4, d.year) || i >= s.size() || s[i++] != '-') return std::nullopt;
    if (!ReadNumber(s, i, 2, 2, d.month) || i >= s.size() || s[i++] != '-') return std::nullopt;
    if (!ReadNumber(s, i, 2, 2, d.day) || i != s.size()) return std::nullopt;
    if (!IsRealDate(d)) return std::nullopt;
    return d;
}

std::string IsoDate(const CalendarDate& d) {
    return FourDigits(d.year) + "-" + TwoDigits(d.month) + "-" + TwoDigits(d.day);
}

}  // namespace wb
