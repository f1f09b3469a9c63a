// An aircraft's weight and balance record as a chain: each Worksheet starts from the empty
// weight and C.G. the one before ended with, and ends with new ones. Plain values, so that the
// store can fill it, the window show it and the record report print it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/UnitSystem.h"

namespace wb {

// One stored version of a Worksheet, its values worked out as loading it shows them. Weights,
// C.G.s and moments are shown with the patterns of the "New values" boxes of its unit system.
struct ChainEntry {
    std::int64_t id = 0;     // the Aircraft row, or the revision row of a superseded version
    UnitSystem units = UnitSystem::PoundInch;  // the units its figures were typed in
    std::string tail, date;  // date as shown, "mm-dd-yyyy"
    std::string work, by, cert;
    bool weighed = false;  // the scale rows yield a weighing
    // Row 0, the previous empty weight and C.G.; empty texts when the Worksheet has none.
    std::string startWeight, startArm;
    double installed = 0, removed = 0;  // weight of the rows marked installed, removed
    double newWeight = 0, newArm = 0, newMoment = 0;
    // Maximum weight less the new empty weight, as the reports print it; none without a
    // maximum weight.
    std::optional<double> usefulLoad;
    // A superseded version: when ("yyyy-mm-dd hh:mm:ss") and why ("replaced" or "deleted").
    std::string supersededAt, reason;

    std::string NewWeightText() const;
    std::string NewArmText() const;
    std::string NewMomentText() const;
};

struct ChainLine {
    ChainEntry entry;
    std::vector<ChainEntry> earlier;  // its superseded versions, the latest first
    // A version whose Worksheet was deleted: shown in its place, but no link of the chain.
    bool deleted = false;
    // The start differs, at the decimals shown, from where the line before ended; that end is
    // kept beside it.
    bool breaks = false;
    std::string endBeforeWeight, endBeforeArm;
    // The date of the computation this one supersedes; empty for the first.
    std::string supersedes;
};

struct RecordChain {
    std::string tail;
    std::vector<ChainLine> lines;  // in date order
    // The change accumulated from the last weighing (or, without one, from the first record)
    // to the latest Worksheet: the sum of each Worksheet's own change, so that a break in the
    // chain does not count as a change of the aircraft.
    bool fromWeighing = false;
    std::string since;  // the date it is counted from; empty without any Worksheet
    // In the unit system of the latest Worksheet: a change counted over Worksheets of another
    // system is converted with the exact factors.
    double weightChange = 0, armChange = 0;
    UnitSystem units = UnitSystem::PoundInch;

    // The latest stored Worksheet; nullptr when there is none.
    const ChainEntry* Latest() const;
};

// Shown text of a weight, C.G. or moment in the chain.
std::string ChainWeight(double value, UnitSystem units = UnitSystem::PoundInch);
std::string ChainArm(double value, UnitSystem units = UnitSystem::PoundInch);

// "Weighed" or "Changes only".
std::string ChainKind(const ChainEntry& e);
// One version's values as the panel and the record report show them: date, work order, kind,
// start weight and C.G., installed, removed, new weight, C.G. and moment, useful load.
std::vector<std::string> ChainCells(const ChainEntry& e);
// The change since the last weighing in words: "Since the weighing of 01-10-2020: weight
// +12.00 lb, C.G. -0.37 in".
std::string ChainSummary(const RecordChain& chain);

// Marks the breaks, what each line supersedes, and the change since the last weighing. A line
// in another unit system than the one before it is compared with that one's end converted
// into its own system.
void LinkChain(RecordChain& chain);

}  // namespace wb
