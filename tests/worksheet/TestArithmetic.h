// The tests' own decimal arithmetic, so that expected values never come from the code under
// test: a typed number as a whole count of its last decimal, in 64-bit integers.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace wb::test {

// "123.4" with 2 decimals is 12340.
inline long long Scaled(const std::string& typed, int decimals) {
    const size_t point = typed.find('.');
    std::string digits = typed;
    int have = 0;
    if (point != std::string::npos) {
        have = static_cast<int>(typed.size() - point - 1);
        digits.erase(point, 1);
    }
    EXPECT_LE(have, decimals) << typed;
    return std::stoll(digits + std::string(static_cast<size_t>(decimals - have), '0'));
}

// n / d rounded half away from zero.
inline long long RoundedQuotient(long long n, long long d) {
    const bool negative = (n < 0) != (d < 0);
    const long long q = (2 * std::llabs(n) + std::llabs(d)) / (2 * std::llabs(d));
    return negative ? -q : q;
}

// n / d rounded up, for positive d.
inline long long CeilQuotient(long long n, long long d) {
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

// A count of the last of `decimals` decimals written out: 12345 with 2 is "123.45".
inline std::string Written(long long units, int decimals, bool leadingZero = true) {
    std::string digits = std::to_string(std::llabs(units));
    if (digits.size() <= static_cast<size_t>(decimals))
        digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
    if (whole == "0" && !leadingZero) whole.clear();
    return (units < 0 ? "-" : "") + whole + "." +
           digits.substr(digits.size() - static_cast<size_t>(decimals));
}

}  // namespace wb::test
