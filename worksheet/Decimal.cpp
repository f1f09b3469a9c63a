#include "worksheet/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

// Beyond these a typed number is read as the double LeadingNumber gives, which saturates.
constexpr int kLargestExponent = 400;
constexpr int kLargestIntegerDigits = 309;

std::string Strip(std::string s) {
    const size_t nz = s.find_first_not_of('0');
    return nz == std::string::npos ? "0" : s.substr(nz);
}

bool LessMagnitude(const std::string& a, const std::string& b) {
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

std::string MultiplyDigits(const std::string& a, const std::string& b) {
    std::vector<int> sum(a.size() + b.size(), 0);
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j)
            sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
    for (size_t k = sum.size() - 1; k > 0; --k) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    std::string out;
    for (int d : sum)
        out.push_back(static_cast<char>('0' + d));
    return Strip(out);
}

// Whether a >= b, both magnitudes.
bool NotLess(const std::string& a, const std::string& b) {
    return !LessMagnitude(a, b);
}

// Long division of magnitudes: the integer quotient and whether the remainder is at least
// half the divisor.
std::string DivideDigits(const std::string& a, const std::string& b, bool& halfOrMore) {
    std::string quotient, remainder = "0";
    for (char c : a) {
        remainder = Strip(remainder + c);
        int q = 0;
        while (NotLess(remainder, b)) {
            remainder = SubtractDigits(remainder, b);
            ++q;
        }
        quotient.push_back(static_cast<char>('0' + q));
    }
    halfOrMore = NotLess(AddDigits(remainder, remainder), b);
    return Strip(quotient);
}

// 15 significant digits, all a double holds reliably: "1.23450000000000e+03".
std::string ScientificText(double value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    return std::string(buf, static_cast<size_t>(res.ptr - buf));
}

}  // namespace

Decimal Decimal::Read(std::string_view text) {
    Decimal d;
    if (!d.Parse(LeadingNumberText(text))) d.Parse(ScientificText(LeadingNumber(text)));
    return d;
}

Decimal Decimal::Of(double value) {
    Decimal d;
    if (value != 0 && std::isfinite(value)) d.Parse(ScientificText(value));
    return d;
}

bool Decimal::Parse(const std::string& clean) {
    *this = Decimal();
    if (clean.empty()) return true;
    size_t i = 0;
    bool negative = false;
    if (clean[i] == '+' || clean[i] == '-') negative = clean[i++] == '-';
    std::string digits;
    int scale = 0;
    bool point = false;
    for (; i < clean.size() && clean[i] != 'e'; ++i) {
        if (clean[i] == '.') {
            point = true;
            continue;
        }
        digits.push_back(clean[i]);
        if (point) ++scale;
    }
    int exponent = 0;
    if (i < clean.size()) {
        const std::string e = clean.substr(i + 1);
        if (e.size() > 6) return false;
        exponent = std::atoi(e.c_str());
    }
    if (std::abs(exponent) > kLargestExponent) return false;
    scale -= exponent;
    if (scale < 0) {
        digits.append(static_cast<size_t>(-scale), '0');
        scale = 0;
    }
    digits = Strip(digits);
    if (static_cast<int>(digits.size()) - scale > kLargestIntegerDigits) return false;
    negative_ = negative;
    digits_ = digits;
    scale_ = scale;
    return true;
}

Decimal Decimal::WithScale(int scale) const {
    Decimal d = *this;
    if (scale > scale_ && !IsZero()) d.digits_.append(static_cast<size_t>(scale - scale_), '0');
    d.scale_ = std::max(scale, scale_);
    return d;
}

Decimal Decimal::operator-() const {
    Decimal d = *this;
    d.negative_ = !negative_;
    return d;
}

Decimal Decimal::operator+(const Decimal& other) const {
    const int scale = std::max(scale_, other.scale_);
    const Decimal a = WithScale(scale), b = other.WithScale(scale);
    Decimal out;
    out.scale_ = scale;
    if (a.negative_ == b.negative_) {
        out.digits_ = AddDigits(a.digits_, b.digits_);
        out.negative_ = a.negative_;
    } else if (LessMagnitude(a.digits_, b.digits_)) {
        out.digits_ = SubtractDigits(b.digits_, a.digits_);
        out.negative_ = b.negative_;
    } else {
        out.digits_ = SubtractDigits(a.digits_, b.digits_);
        out.negative_ = a.negative_;
    }
    return out;
}

Decimal Decimal::operator-(const Decimal& other) const {
    return *this + -other;
}

Decimal Decimal::operator*(const Decimal& other) const {
    Decimal out;
    out.digits_ = MultiplyDigits(digits_, other.digits_);
    out.scale_ = scale_ + other.scale_;
    out.negative_ = negative_ != other.negative_;
    return out;
}

Decimal Decimal::DividedBy(const Decimal& other, int decimals) const {
    if (other.IsZero()) return Decimal();
    // a / b to `decimals`: (a * 10^(decimals + b.scale)) / (b * 10^a.scale), as integers.
    std::string numerator = digits_;
    numerator.append(static_cast<size_t>(std::max(0, decimals + other.scale_ - scale_)), '0');
    std::string denominator = other.digits_;
    denominator.append(static_cast<size_t>(std::max(0, scale_ - decimals - other.scale_)), '0');
    bool up = false;
    Decimal out;
    out.digits_ = DivideDigits(Strip(numerator), denominator, up);
    if (up) out.digits_ = AddDigits(out.digits_, "1");
    out.scale_ = decimals;
    out.negative_ = negative_ != other.negative_;
    return out;
}

Decimal Decimal::Rounded(int decimals) const {
    if (decimals >= scale_) return WithScale(decimals);
    const size_t drop = static_cast<size_t>(scale_ - decimals);
    std::string kept = digits_.size() > drop ? digits_.substr(0, digits_.size() - drop) : "0";
    const std::string dropped = digits_.size() > drop ? digits_.substr(digits_.size() - drop)
                                                      : std::string(drop - digits_.size(), '0') + digits_;
    Decimal out;
    out.digits_ = dropped[0] >= '5' ? AddDigits(kept, "1") : Strip(kept);
    out.scale_ = decimals;
    out.negative_ = negative_;
    return out;
}

double Decimal::ToDouble() const {
    return LeadingNumber(Text(scale_));
}

std::string Decimal::Text(int decimals) const {
    const Decimal r = Rounded(decimals);
    std::string digits = r.digits_;
    const size_t d = static_cast<size_t>(decimals);
    if (digits.size() <= d) digits.insert(0, d + 1 - digits.size(), '0');
    std::string out = r.IsNegative() ? "-" : "";
    out += digits.substr(0, digits.size() - d);
    if (d > 0) out += "." + digits.substr(digits.size() - d);
    return out;
}

std::string Decimal::Formatted(std::string_view pattern) const {
    const size_t point = pattern.find('.');
    const bool integerDigit = pattern.substr(0, point).find('0') != std::string_view::npos;
    const int decimals = point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    std::string text = Text(decimals);
    // Text gives "0.5" and "-0.5"; a pattern without a "0" before the point prints ".5".
    const size_t zero = text[0] == '-' ? 1 : 0;
    if (!integerDigit && text.compare(zero, 2, "0.") == 0) text.erase(zero, 1);
    if (!integerDigit && decimals == 0 && text.substr(zero) == "0") text.erase(zero);
    return text;
}

}  // namespace wb
