// The unit system an aircraft's figures are typed and stored in. Nothing is converted behind
// the mechanic's back: the arithmetic is the same in any system, only the words change.
#pragma once

#include <string_view>

namespace wb {

enum class UnitSystem { PoundInch, KilogramMillimetre, KilogramMetre };

inline constexpr std::string_view WeightUnit(UnitSystem u) {
    return u == UnitSystem::PoundInch ? "lb" : "kg";
}
inline constexpr std::string_view ArmUnit(UnitSystem u) {
    switch (u) {
        case UnitSystem::PoundInch: return "in";
        case UnitSystem::KilogramMillimetre: return "mm";
        case UnitSystem::KilogramMetre: return "m";
    }
    return "in";
}
inline constexpr std::string_view MomentUnit(UnitSystem u) {
    switch (u) {
        case UnitSystem::PoundInch: return "lb-in";
        case UnitSystem::KilogramMillimetre: return "kg-mm";
        case UnitSystem::KilogramMetre: return "kg-m";
    }
    return "lb-in";
}

}  // namespace wb
