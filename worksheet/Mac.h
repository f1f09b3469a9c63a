// The C.G. as a percentage of the mean aerodynamic chord, as transport-category records give
// it: (C.G. - LEMAC) / MAC x 100. The C.G., LEMAC and MAC are arms in the same unit system, so
// the percentage is the same in any of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "worksheet/Decimal.h"
#include "worksheet/Worksheet.h"

namespace wb {

// (cg - lemac) / mac x 100; nothing when the MAC is not longer than zero.
std::optional<double> PercentMac(double cg, double lemac, double mac);
// The same worked out exactly on decimals and rounded half away from zero to `decimals`;
// nothing when the MAC is not longer than zero.
std::optional<Decimal> PercentMac(const Decimal& cg, const Decimal& lemac, const Decimal& mac,
                                  int decimals = 2);

// The leading edge and the length of the mean aerodynamic chord, as typed.
struct MeanChord {
    Decimal lemac, mac;
};
// Both boxes hold a number (their leading numbers count, as everywhere) and the MAC is longer
// than zero; else nothing.
std::optional<MeanChord> ReadMeanChord(std::string_view lemac, std::string_view mac);
std::optional<MeanChord> MeanChordOf(const Worksheet& ws);

// Whether a MAC box holds a number that is zero or less: refused, with a notice.
bool MacNotPositive(std::string_view mac);

// The percentage as shown: "40.65"; "-3.10" forward of the leading edge.
std::string PercentMacText(const Decimal& percent);
// A C.G. in % MAC to two decimals, from the chord's two boxes as typed: "40.65"; empty without
// a usable chord. The C.G. as a text is taken digit for digit; as a number, through its 15
// significant digits.
std::string CgPercentMac(std::string_view cg, std::string_view lemac, std::string_view mac);
std::string CgPercentMac(double cg, std::string_view lemac, std::string_view mac);
// The new empty C.G. of the Worksheet in % MAC: worked out from the C.G. itself, not as shown,
// so that a Worksheet gives the same percentage in every unit system. Empty without a new empty
// weight or without a usable chord.
std::string NewCgPercentMac(const Worksheet& ws);

}  // namespace wb
