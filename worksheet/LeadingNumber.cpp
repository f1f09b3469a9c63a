#include "worksheet/LeadingNumber.h"

#include <locale.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace wb {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Converts a clean C-locale number text ("-12.5e3") without depending on the process locale.
double ParseClean(const std::string& s) {
    if (s.empty()) return 0.0;
    // Plain strtod follows LC_NUMERIC, which the window toolkit sets from the user's
    // environment: under a decimal-comma locale it would misread "12.5" as 12.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    double v = strtod_l(s.c_str(), nullptr, cLocale);
    if (!std::isfinite(v)) return v > 0 ? DBL_MAX : -DBL_MAX;
    return v;
}

}  // namespace

std::string LeadingNumberText(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    size_t i = 0;
    auto next = [&]() -> int {
        while (i < text.size() && IsSkipped(text[i]))
            ++i;
        return i < text.size() ? static_cast<unsigned char>(text[i]) : -1;
    };
    int c = next();
    if (c == '+' || c == '-') {
        clean.push_back(static_cast<char>(c));
        ++i;
        c = next();
    }
    bool digits = false;
    bool point = false;
    while (c != -1) {
        if (IsDigit(static_cast<char>(c))) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        clean.push_back(static_cast<char>(c));
        ++i;
        c = next();
    }
    if (!digits) return {};
    if (c != -1 && IsExponentLetter(static_cast<char>(c))) {
        std::string exponent = "e";
        ++i;
        c = next();
        if (c == '+' || c == '-') {
            exponent.push_back(static_cast<char>(c));
            ++i;
            c = next();
        }
        bool expDigits = false;
        while (c != -1 && IsDigit(static_cast<char>(c))) {
            expDigits = true;
            exponent.push_back(static_cast<char>(c));
            ++i;
            c = next();
        }
        if (expDigits) clean += exponent;
    }
    return clean;
}

double LeadingNumber(std::string_view text) {
    return ParseClean(LeadingNumberText(text));
}

std::string NumberText(double value, int significant) {
    if (value == 0.0 || !std::isfinite(value)) return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    // buf: [-]d.dddddde[+-]xx, whatever the process locale
    std::string s(buf, res.ptr);
    size_t e = s.find('e');
    int exponent = std::atoi(s.c_str() + e + 1);
    bool negative = s[0] == '-';
    std::string digits;
    for (size_t k = negative ? 1 : 0; k < e; ++k)
        if (IsDigit(s[k])) digits.push_back(s[k]);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out;
    if (negative) out.push_back('-');
    if (exponent >= significant || exponent < -5) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1);
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        if (std::abs(exponent) < 10) out.push_back('0');
        out += std::to_string(std::abs(exponent));
        return out;
    }
    if (exponent < 0) {
        out.append("0.");
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
    } else {
        out.append(digits, 0, intDigits);
        out.push_back('.');
        out.append(digits, intDigits);
    }
    return out;
}

bool NumericText(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsSkipped(text[b]))
        ++b;
    while (e > b && IsSkipped(text[e - 1]))
        --e;
    std::string_view s = text.substr(b, e - b);
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (i < s.size() && IsExponentLetter(s[i])) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        bool expDigits = false;
        while (i < s.size() && IsDigit(s[i])) {
            expDigits = true;
            ++i;
        }
        if (!expDigits) return false;
    }
    if (i != s.size()) return false;
    return std::fabs(LeadingNumber(s)) <= FLT_MAX;
}

}  // namespace wb
