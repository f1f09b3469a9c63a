// The empty-weight C.G. range: read from the text the mechanic typed, the new empty C.G.
// checked against it, and the ballast that brings a C.G. outside it back to the limit. The
// range text itself stays exactly as typed and stored; a text that holds no range is simply
// not checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "worksheet/UnitSystem.h"
#include "worksheet/Worksheet.h"

namespace wb {

struct CgRange {
    double forward = 0, aft = 0;  // forward <= aft
    std::string forwardText;      // the limit's digits as typed, with an explicit sign: "+35.0"
    std::string aftText;
    std::string Text() const { return forwardText + " to " + aftText; }
    // With the arm unit after it: "+35.0 to +42.5 in".
    std::string Text(UnitSystem units) const;
};

// Reads "+35.0 to +42.5", "35.0 - 42.5", "35.0 – 42.5 in", "889 to 1079.5 mm", "0.889 - 1.080 m", "(+35.0) to
// (+42.5)", "-2.1 to +4.0", "Fwd 35.0 Aft 42.5", "35 to 42.5 at 2300 lb" and the like. Nothing for a text
// that is not one range of arms: a single number, several ranges, percentages of the chord, decimal commas.
std::optional<CgRange> ReadCgRange(std::string_view text);

// The ballast that brings the new empty C.G. to the limit it passed.
struct Ballast {
    enum class State {
        Needed,       // weights below
        CannotReach,  // the ballast arm is not beyond the limit, seen from the C.G.
    };
    State state = State::Needed;
    double arm = 0;
    double exact = 0;   // W x (limit - C.G.) / (ballast arm - limit)
    double whole = 0;   // rounded up to the next whole unit
    double cgWith = 0;  // the C.G. with the whole ballast aboard, unrounded
};

// Everything shown about the range: the range itself, the previous and new empty C.G. for the
// chart, and, when there is a new empty C.G., where it stands and the ballast it needs.
struct EmptyCgLimits {
    enum class Status { Within, ForwardOfRange, AftOfRange };
    CgRange range;
    std::optional<double> previousCg;  // the C.G. box, when it holds a number
    std::optional<double> newCg;       // the new empty C.G. as shown, when NewWeight is not 0
    double newWeight = 0;
    Status status = Status::Within;
    std::optional<Ballast> ballast;  // outside the range with a ballast arm typed
    UnitSystem units = UnitSystem::PoundInch;  // the Worksheet's: the patterns and the words

    bool Outside() const { return newCg && status != Status::Within; }
    double PassedLimit() const { return status == Status::AftOfRange ? range.aft : range.forward; }
};

// Nothing when the range text holds no range. The new C.G. is compared as it is shown (its
// unit system's new C.G. pattern), so that the words never contradict the number beside them;
// the ballast is worked from the unrounded weight and C.G., and the C.G. with it checked
// against the range.
std::optional<EmptyCgLimits> EvaluateEmptyCg(std::string_view rangeText, std::string_view previousCg,
                                             double newWeight, double newArm, std::string_view ballastArm,
                                             UnitSystem units = UnitSystem::PoundInch);
std::optional<EmptyCgLimits> EvaluateEmptyCg(const Worksheet& ws);

// "within empty weight C.G. range" or "OUTSIDE empty weight C.G. range +35.0 to +42.5 in"; empty
// without a new empty C.G.
std::string IndicationText(const EmptyCgLimits& limits);
// The ballast needed and the C.G. with it, or why ballast at that arm cannot help, with the
// units: "Ballast needed at +228.00 in: 7.70 lb, rounded up to 8 lb; C.G. with ballast +33.03 in".
// Empty when no ballast is worked out.
std::string BallastText(const EmptyCgLimits& limits);
// The arm a box holds: its leading number; nothing for a text that does not start with one
// (an arm of 0 is an arm, an empty box is none).
std::optional<double> ArmIn(std::string_view text);

// The maximum weight less the new empty weight; none where no maximum weight is given (a box
// without a number, or 0, which is how an empty box is stored).
std::optional<double> UsefulLoad(std::string_view maxWeight, double newWeight);

// An arm or C.G. with its sign and two decimals: "+33.03", "-2.10".
std::string SignedArm(double value);
// With the sign and the decimals of the unit system: a C.G. ("+284.26", "+0.2843"), an arm
// ("+5791.2", "+5.791"); without the unit.
std::string SignedCg(double value, UnitSystem units);
std::string SignedArm(double value, UnitSystem units);

}  // namespace wb
