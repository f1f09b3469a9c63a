// Exact sums of printed numbers, so that a printed total is the sum of the printed column
// to the last digit whatever the size of the values.
#pragma once

#include <string>
#include <string_view>

namespace wb {

class DecimalSum {
  public:
    explicit DecimalSum(int decimals) : decimals_(decimals) {}
    // Adds (or, with sign -1, subtracts) a number as printed: optional "-", digits, an
    // optional point and digits. More decimals than the sum keeps are dropped.
    void Add(std::string_view printed, int sign = 1);
    // The sum with the sum's decimals; without a leading zero below 1 unless leadingZero.
    std::string Text(bool leadingZero = false) const;

  private:
    int decimals_;
    // Magnitudes of the positive and the negative parts, decimal digits of the scaled value.
    std::string plus_ = "0", minus_ = "0";
};

}  // namespace wb
