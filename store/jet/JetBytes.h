// Decoding of the stored bytes of a Jet 4 file that the program relies on: the file header,
// text (UTF-16 with the optional one-byte compression) and day serials. Kept apart from the
// file reader so that each rule is tested on bytes alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "worksheet/Dates.h"

namespace wb::jet {

enum class JetFormat { NotJet, Jet3, Jet4, Ace };

// Looks at the first bytes of a file (at least 21 are needed).
JetFormat FormatOfHeader(std::string_view header);

// Stored Jet 4 text to UTF-8. Compressed text starts with FF FE; after it each 0x00 byte
// switches between one-byte characters (U+0001..U+00FF) and two-byte UTF-16LE runs.
// Unpaired surrogates become U+FFFD.
std::string TextFromJet4(std::string_view stored);

// Day serial (days since 1899-12-30; the fraction is the time of day) to its calendar day.
// Before 1899-12-30 the whole part still names the day (-1.25 is 1899-12-29, 06:00).
// Empty when the serial is not a day between the years 100 and 9999.
std::optional<CalendarDate> DateFromSerial(double serial);

}  // namespace wb::jet
