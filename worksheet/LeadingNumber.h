// How text takes part in arithmetic. Every entry stays the text the mechanic typed;
// numbers are made from it only here.
#pragma once

#include <string>
#include <string_view>

namespace wb {

// Reads the leading number of a text: blanks, tabs and line breaks are skipped wherever
// they stand, then an optional sign, digits with at most one decimal point and an optional
// exponent ("E" or "D", either case, with optional sign and digits). The first character
// that does not fit ends the number; a text without a leading number gives 0.
// A number beyond the range of a double saturates at the largest finite double, so that
// no infinity ever enters the computation or the database.
double LeadingNumber(std::string_view text);
// The leading number that LeadingNumber reads, as clean text ("-12.5e3"): blanks dropped, the
// rest cut off; empty when the text does not begin with a number. For exact decimal reading.
std::string LeadingNumberText(std::string_view text);

// The text form of a number: up to `significant` digits, no trailing zeros, an exponent
// ("1E+07") only where the plain form would need more digits than that.
std::string NumberText(double value, int significant = 7);

// True when the whole text, blanks at either end ignored, is one number: optional sign,
// digits with at most one decimal point (at least one digit), optional exponent with at
// least one digit. Locale forms ("1,234", "$12") are refused so that no entry is ever
// stored with another meaning than it shows; so are magnitudes beyond single precision
// (3.4E+38), which no weight or arm comes near.
bool NumericText(std::string_view text);

}  // namespace wb
