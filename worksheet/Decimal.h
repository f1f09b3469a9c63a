// Exact decimal numbers for what is printed: the numbers as typed, their products and sums,
// so that a page's own arithmetic holds to its last printed digit whatever the size of the
// values. A double carries about 15 significant digits; a 10-digit weight times a 4-digit arm
// with their decimals needs more.
#pragma once

#include <string>
#include <string_view>

namespace wb {

class Decimal {
  public:
    Decimal() = default;  // zero

    // The leading number of a text, read by the one rule (LeadingNumber), digit for digit.
    // A number beyond what a double holds is read through LeadingNumber instead.
    static Decimal Read(std::string_view text);
    // A double through its 15-significant-digit form.
    static Decimal Of(double value);

    Decimal operator-() const;
    Decimal operator+(const Decimal& other) const;
    Decimal operator-(const Decimal& other) const;
    Decimal operator*(const Decimal& other) const;
    // The quotient rounded half away from zero to `decimals`; zero when other is zero.
    Decimal DividedBy(const Decimal& other, int decimals) const;
    // Rounded half away from zero to `decimals`.
    Decimal Rounded(int decimals) const;

    bool IsZero() const { return digits_ == "0"; }
    bool IsNegative() const { return negative_ && !IsZero(); }
    // Decimals after the point, trailing zeros included as written ("2.50" has 2).
    int Decimals() const { return scale_; }

    double ToDouble() const;
    // Plain decimal text with exactly `decimals` decimals (rounded half away from zero), a
    // leading zero below 1 and a "-" for a negative value that does not round to zero.
    std::string Text(int decimals) const;
    // Through a display pattern ("#####0.00" ...), rounding half away from zero.
    std::string Formatted(std::string_view pattern) const;

  private:
    Decimal WithScale(int scale) const;  // scale >= scale_: zeros appended
    // Reads a clean number text ("-12.5e3"); false (and zero) beyond the range it keeps.
    bool Parse(const std::string& clean);

    bool negative_ = false;
    std::string digits_ = "0";  // the magnitude times 10^scale_, no leading zeros
    int scale_ = 0;
};

}  // namespace wb
