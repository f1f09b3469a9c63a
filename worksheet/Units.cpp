#include "worksheet/Units.h"

#include "worksheet/Format.h"

namespace wb {
namespace {

constexpr UnitPatterns kPoundInch = {
    pattern::Weight,  pattern::Weight,  pattern::RowMoment, pattern::Moment, pattern::NoLead1, pattern::Arm2,
    pattern::Weighed, pattern::Weighed, pattern::NewWeight, pattern::NewArm, pattern::NoLead1,
};

// Kilograms keep the pounds' patterns; an arm cell shows a tenth of a millimetre.
constexpr UnitPatterns kKilogramMillimetre = {
    "#####0.00", "#####0.0", "#####.0",   "#####0.0", "######.0", "####0.00",
    "####0.#0",  "####0.#0", "######.00", "#####.00", "######.0",
};

// Metres: every arm, C.G. and moment to the millimetre patterns' precision in metres less one
// digit (an arm to 0.001 m, a C.G. to 0.0001 m, a moment to 0.001 kg-m).
constexpr UnitPatterns kKilogramMetre = {
    "#####0.00", "#####0.000", "#####.000", "#####0.000",  "######.0",   "####0.0000",
    "####0.#0",  "####0.###0", "######.00", "#####0.0000", "######.000",
};

}  // namespace

UnitSystem Units(const Worksheet& ws) {
    return UnitsFromCode(ws.Get(Field::Units));
}

void SetUnits(Worksheet& ws, UnitSystem units) {
    ws.Set(Field::Units, std::string(UnitsCode(units)));
}

std::string_view UnitsCode(UnitSystem u) {
    switch (u) {
        case UnitSystem::PoundInch:
            return "";
        case UnitSystem::KilogramMillimetre:
            return "kg-mm";
        case UnitSystem::KilogramMetre:
            return "kg-m";
    }
    return "";
}

UnitSystem UnitsFromCode(std::string_view code) {
    for (UnitSystem u : kAllUnitSystems)
        if (!UnitsCode(u).empty() && code == UnitsCode(u)) return u;
    return UnitSystem::PoundInch;
}

std::string_view UnitsName(UnitSystem u) {
    switch (u) {
        case UnitSystem::PoundInch:
            return "lb and in";
        case UnitSystem::KilogramMillimetre:
            return "kg and mm";
        case UnitSystem::KilogramMetre:
            return "kg and m";
    }
    return "lb and in";
}

const UnitPatterns& PatternsOf(UnitSystem u) {
    switch (u) {
        case UnitSystem::PoundInch:
            return kPoundInch;
        case UnitSystem::KilogramMillimetre:
            return kKilogramMillimetre;
        case UnitSystem::KilogramMetre:
            return kKilogramMetre;
    }
    return kPoundInch;
}

std::string Captioned(std::string_view caption, std::string_view unit) {
    return std::string(caption) + " (" + std::string(unit) + ")";
}

std::string WithUnit(std::string_view value, std::string_view unit) {
    if (value.empty()) return {};
    return std::string(value) + " " + std::string(unit);
}

std::string_view ArmToDatum(UnitSystem u) {
    switch (u) {
        case UnitSystem::PoundInch:
            return "Inches to Datum";
        case UnitSystem::KilogramMillimetre:
            return "Millimetres to Datum";
        case UnitSystem::KilogramMetre:
            return "Metres to Datum";
    }
    return "Inches to Datum";
}

}  // namespace wb
