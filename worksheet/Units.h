// The unit system of a Worksheet: where it is kept, how it is stored, the display patterns of
// each system and the words that name its units. Nothing is converted here (that is
// worksheet/Convert.h, and only when the mechanic asks): the arithmetic is the same in any
// system, only the patterns and the words change.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "worksheet/UnitSystem.h"
#include "worksheet/Worksheet.h"

namespace wb {

inline constexpr std::array<UnitSystem, 3> kAllUnitSystems = {
    UnitSystem::PoundInch, UnitSystem::KilogramMillimetre, UnitSystem::KilogramMetre};

// The Worksheet's unit system, kept in its Units field: lb and in for an empty or unknown text,
// which is what every Worksheet stored before the unit systems holds.
UnitSystem Units(const Worksheet& ws);
// Sets it (a real change is a change of the Worksheet to save). No figure is converted.
void SetUnits(Worksheet& ws, UnitSystem units);

// The code stored in Aircraft.Units: "" for lb and in (stored as Null, as before), "kg-mm",
// "kg-m". An unknown code reads as lb and in.
std::string_view UnitsCode(UnitSystem u);
UnitSystem UnitsFromCode(std::string_view code);
// The system as the mechanic picks it: "lb and in", "kg and mm", "kg and m".
std::string_view UnitsName(UnitSystem u);

// The display patterns of one unit system (the pattern rules are in worksheet/Format.h). In lb
// and in they are the eight patterns in pattern::, unchanged; kilograms keep the pounds'
// decimals, an arm is shown to 0.1 mm or 0.001 m, a C.G. to 0.01 mm or 0.0001 m, a moment to
// 0.1 kg-mm or 0.001 kg-m.
struct UnitPatterns {
    std::string_view weight;         // weight cells, tare, installed and removed, ballast
    std::string_view arm;            // arm cells, the ballast arm
    std::string_view rowMoment;      // the moment of a committed row
    std::string_view moment;         // the previous-empty row's and a loaded row's moment
    std::string_view typedWeight;    // the typed previous empty weight in the change list
    std::string_view cg;             // a C.G. with a leading digit: typed previous C.G., C.G. texts
    std::string_view weighedWeight;  // Empty after a weighing
    std::string_view weighedCg;      // C.G. after a weighing
    std::string_view newWeight;      // new weight, useful load, report totals
    std::string_view newArm;         // new C.G.
    std::string_view newMoment;      // new moment, report moment totals
};
const UnitPatterns& PatternsOf(UnitSystem u);
inline const UnitPatterns& PatternsOf(const Worksheet& ws) {
    return PatternsOf(Units(ws));
}

// "Weight (lb)": a caption with its unit.
std::string Captioned(std::string_view caption, std::string_view unit);
// A value followed by its unit ("1439.00 lb"); an empty text stays empty.
std::string WithUnit(std::string_view value, std::string_view unit);
// The scale and fluid grids' arm heading: "Inches to Datum", "Millimetres to Datum", "Metres
// to Datum".
std::string_view ArmToDatum(UnitSystem u);

}  // namespace wb
