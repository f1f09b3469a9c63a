#include "worksheet/Format.h"

#include <cmath>

#include "worksheet/Decimal.h"
#include "worksheet/LeadingNumber.h"

namespace wb {

int PatternDecimals(std::string_view pattern) {
    const size_t point = pattern.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

std::string FormatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return "Overflow";
    return Decimal::Of(value).Formatted(pattern);
}

std::string FormatText(std::string_view text, std::string_view pattern) {
    if (!NumericText(text)) return std::string(text);
    return FormatNumber(LeadingNumber(text), pattern);
}

}  // namespace wb
