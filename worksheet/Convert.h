// Converting an aircraft's figures into another unit system, only when the mechanic asks
// ("Convert units"), with the exact factors: 1 lb = 0.45359237 kg, 1 in = 25.4 mm, 1 m =
// 1000 mm. Every figure is worked out on exact decimals and written at full precision, in a
// form from which converting back gives the text it came from:
//
// - towards kilograms and millimetres the result is exact and keeps the decimals the product
//   has ("10.6" in becomes "269.24" mm, "10.60" becomes "269.240", "1169" lb "530.24948053" kg);
// - back, the figure is divided by the factor with the fewest decimals (no fewer than it came
//   with less the factor's) that multiply back to it exactly: "269.240" mm becomes "10.60" in;
// - a figure that was never a conversion (500 kg typed) has no exact counterpart: it is
//   written to 15 significant digits, all a stored number keeps ("1102.31131092438" lb).
//
// A stored number keeps 15 significant digits, so a figure of up to 7 significant digits
// typed in pounds converts, is stored and converts back exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/UnitSystem.h"
#include "worksheet/Worksheet.h"

namespace wb {

enum class Quantity { Weight, Arm };

// A value converted in double precision (1 lb = 0.45359237 kg, 1 in = 25.4 mm): for comparing
// and summing figures of Worksheets in different unit systems, never for storing them.
double ConvertValue(double value, Quantity q, UnitSystem from, UnitSystem to);

// The factors as texts, for the notes: "1 lb = 0.45359237 kg, 1 in = 25.4 mm".
std::string FactorsText(UnitSystem from, UnitSystem to);

// A number alone (NumericText) in `from` converted to `to`; a sign typed stays, zero stays as
// typed. Nothing when the text is not a number alone.
std::optional<std::string> ConvertNumber(std::string_view text, Quantity q, UnitSystem from, UnitSystem to);

// A text that holds figures among words (a C.G. range "+35.0 to +42.5 in", "35 to 38 at 1800
// lb", a weight "2300 lb"): each figure converted as `q`, or as a weight after "at" or before a
// weight unit, or as an arm before an arm unit; a figure before "%" is a percentage and stays;
// the unit words after figures follow ("lb" becomes "kg", "in" and '"' become "mm"). Nothing,
// when the text holds a figure that cannot be read as one number in `from`: a decimal comma,
// a thousands separator, two numbers with only blanks between (LeadingNumber would read them as
// one), a figure inside a word or another system's unit. A text without figures is unchanged.
std::optional<std::string> ConvertText(std::string_view text, Quantity q, UnitSystem from, UnitSystem to);

// What a conversion could not convert, named as the mechanic finds it ("Max Wgt", "Equipment
// list row 3, weight").
struct ConversionResult {
    std::vector<std::string> leftAsTyped;
};

// Converts every weight, arm, tare, limit, ballast arm, LEMAC, MAC and list item of the
// Worksheet from its unit system into `to`, sets `to`, replaces an earlier conversion's note
// in the notes with `note` (on a line of its own at their end), shows every row as a load shows
// it and works the values out again. Texts it cannot read are left as typed and named.
ConversionResult ConvertWorksheet(Worksheet& ws, UnitSystem to, std::string_view note);

// Notes written by a conversion start so: "Converted from lb and in: ...".
inline constexpr std::string_view kConvertedNote = "Converted from ";

}  // namespace wb
