#include "worksheet/Format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

struct PatternShape {
    bool integerDigit = false;  // a "0" before the point
    int decimals = 0;
};

PatternShape Shape(std::string_view pattern) {
    PatternShape shape;
    size_t point = pattern.find('.');
    std::string_view whole = pattern.substr(0, point);
    shape.integerDigit = whole.find('0') != std::string_view::npos;
    if (point != std::string_view::npos) shape.decimals = static_cast<int>(pattern.size() - point - 1);
    return shape;
}

// value reduced to `significant` digits, then rounded half away from zero to the pattern.
std::string FormatReduced(double value, int significant, std::string_view pattern) {
    if (!std::isfinite(value)) return "Overflow";
    const PatternShape shape = Shape(pattern);
    bool negative = std::signbit(value);
    // Decimal digits of |value| and the position of the decimal point within them.
    std::string digits;
    int pointPos = 1;  // number of digits before the point
    if (value == 0.0) {
        digits = "0";
    } else {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                 significant - 1);
        std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
        size_t e = s.find('e');
        for (size_t k = 0; k < e; ++k)
            if (s[k] != '.') digits.push_back(s[k]);
        pointPos = std::atoi(std::string(s.substr(e + 1)).c_str()) + 1;
    }
    // Make the digit string start at the point's left-most integer digit (or at the
    // point itself) and reach at least one digit past the last decimal shown.
    if (pointPos < 0) {
        digits.insert(digits.begin(), static_cast<size_t>(-pointPos), '0');
        pointPos = 0;
    }
    size_t keep = static_cast<size_t>(pointPos + shape.decimals);
    if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
    bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        int k = static_cast<int>(keep) - 1;
        for (; k >= 0; --k) {
            if (digits[static_cast<size_t>(k)] == '9') {
                digits[static_cast<size_t>(k)] = '0';
            } else {
                ++digits[static_cast<size_t>(k)];
                break;
            }
        }
        if (k < 0) {
            digits.insert(digits.begin(), '1');
            ++pointPos;
        }
    }
    std::string whole = digits.substr(0, static_cast<size_t>(pointPos));
    std::string fraction = digits.substr(static_cast<size_t>(pointPos));
    size_t firstNonZero = whole.find_first_not_of('0');
    whole.erase(0, firstNonZero == std::string::npos ? whole.size() : firstNonZero);
    if (whole.empty() && shape.integerDigit) whole.push_back('0');
    bool zero = whole.find_first_not_of('0') == std::string::npos &&
                fraction.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero) ? "-" : "";
    out += whole;
    if (shape.decimals > 0) {
        out.push_back('.');
        out += fraction;
    }
    return out;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) { return FormatReduced(value, 15, pattern); }

std::string FormatSingle(float value, std::string_view pattern) {
    return FormatReduced(static_cast<double>(value), 7, pattern);
}

std::string FormatText(std::string_view text, std::string_view pattern) {
    if (!NumericText(text)) return std::string(text);
    return FormatNumber(LeadingNumber(text), pattern);
}

}  // namespace wb
