#include "reports/DecimalSum.h"

#include <algorithm>

namespace wb {
namespace {

std::string Strip(std::string s) {
    const size_t nz = s.find_first_not_of('0');
    return nz == std::string::npos ? "0" : s.substr(nz);
}

bool Less(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string AddDigits(const std::string& a, const std::string& b) {
    std::string out;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        int d = carry;
        if (i < a.size()) d += a[a.size() - 1 - i] - '0';
        if (i < b.size()) d += b[b.size() - 1 - i] - '0';
        out.push_back(static_cast<char>('0' + d % 10));
        carry = d / 10;
    }
    std::reverse(out.begin(), out.end());
    return Strip(out);
}

// a - b for a >= b.
std::string SubtractDigits(const std::string& a, const std::string& b) {
    std::string out;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int d = (a[a.size() - 1 - i] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = d < 0;
        out.push_back(static_cast<char>('0' + (d + 10) % 10));
    }
    std::reverse(out.begin(), out.end());
    return Strip(out);
}

}  // namespace

void DecimalSum::Add(std::string_view printed, int sign) {
    bool negative = false;
    size_t i = 0;
    if (i < printed.size() && printed[i] == '-') {
        negative = true;
        ++i;
    }
    std::string digits;
    while (i < printed.size() && printed[i] >= '0' && printed[i] <= '9')
        digits.push_back(printed[i++]);
    int decimals = 0;
    if (i < printed.size() && printed[i] == '.')
        while (++i < printed.size() && printed[i] >= '0' && printed[i] <= '9' && decimals < decimals_) {
            digits.push_back(printed[i]);
            ++decimals;
        }
    digits.append(static_cast<size_t>(decimals_ - decimals), '0');
    digits = Strip(digits);
    if (negative != (sign < 0))
        minus_ = AddDigits(minus_, digits);
    else
        plus_ = AddDigits(plus_, digits);
}

std::string DecimalSum::Text(bool leadingZero) const {
    const bool negative = Less(plus_, minus_);
    std::string digits = negative ? SubtractDigits(minus_, plus_) : SubtractDigits(plus_, minus_);
    const size_t d = static_cast<size_t>(decimals_);
    if (digits.size() <= d) digits.insert(0, d + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - d);
    if (whole == "0" && !leadingZero) whole.clear();
    std::string out = (negative && digits != std::string(digits.size(), '0')) ? "-" : "";
    out += whole;
    if (d > 0) out += "." + digits.substr(digits.size() - d);
    return out;
}

}  // namespace wb
