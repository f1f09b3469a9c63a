// The display patterns shared by the screen and the reports.
//
// A pattern is "<#...><0?>.<digits>": a "0" before the point prints at least one integer
// digit, "#" signs before it print none when the integer part is 0 and never limit the
// integer digits; every character after the point is one decimal shown. The value is
// rounded half away from zero on its decimal form; no thousands separator is inserted; a
// negative value gets a leading "-" (a value that rounds to zero prints without one).
#pragma once

#include <string>
#include <string_view>

namespace wb {

// The eight patterns in use, named for readability at the call sites.
namespace pattern {
inline constexpr std::string_view Weight = "#####0.00";     // weight and arm cells
inline constexpr std::string_view RowMoment = "#####.0";    // moment of a committed row
inline constexpr std::string_view Moment = "#####0.0";      // moment of the previous-empty row
inline constexpr std::string_view NoLead1 = "######.0";     // typed empty weight, new moment
inline constexpr std::string_view Arm2 = "####0.00";        // typed previous C.G.
inline constexpr std::string_view Weighed = "####0.#0";     // Empty and CG after a weighing
inline constexpr std::string_view NewWeight = "######.00";  // new weight, report totals
inline constexpr std::string_view NewArm = "#####.00";      // new arm
}  // namespace pattern

// The decimals a pattern shows: every character after the point.
int PatternDecimals(std::string_view pattern);

// A double is first reduced to its 15-significant-digit decimal form, all it holds reliably,
// so that a value computed as 1.005 shows as 1.01 and not by the binary digits beyond.
std::string FormatNumber(double value, std::string_view pattern);

// A text that reads as a number (NumericText) is formatted as that number; any other text,
// the empty text included, is returned unchanged.
std::string FormatText(std::string_view text, std::string_view pattern);

}  // namespace wb
