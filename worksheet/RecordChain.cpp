#include "worksheet/RecordChain.h"

#include "worksheet/Convert.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Units.h"

namespace wb {

std::string ChainEntry::NewWeightText() const {
    return ChainWeight(newWeight, units);
}
std::string ChainEntry::NewArmText() const {
    return ChainArm(newArm, units);
}
std::string ChainEntry::NewMomentText() const {
    return FormatNumber(newMoment, PatternsOf(units).newMoment);
}

std::string ChainWeight(double value, UnitSystem units) {
    return FormatNumber(value, PatternsOf(units).newWeight);
}
std::string ChainArm(double value, UnitSystem units) {
    return FormatNumber(value, PatternsOf(units).newArm);
}

std::string ChainKind(const ChainEntry& e) {
    return e.weighed ? "Weighed" : "Changes only";
}

std::vector<std::string> ChainCells(const ChainEntry& e) {
    return {e.date,
            e.work,
            ChainKind(e),
            e.startWeight,
            e.startArm,
            FormatNumber(e.installed, PatternsOf(e.units).weight),
            FormatNumber(e.removed, PatternsOf(e.units).weight),
            e.NewWeightText(),
            e.NewArmText(),
            e.NewMomentText(),
            e.usefulLoad ? ChainWeight(*e.usefulLoad, e.units) : std::string()};
}

namespace {

// A change with its sign always shown.
std::string Signed(double value, std::string_view pattern) {
    std::string text = FormatNumber(value, pattern);
    return text.front() == '-' ? text : "+" + text;
}

}  // namespace

std::string ChainSummary(const RecordChain& chain) {
    if (chain.since.empty()) return "No Worksheet of this aircraft is stored.";
    const std::string from = chain.fromWeighing ? "Since the weighing of " + chain.since
                                                : "Since the first record, " + chain.since;
    const UnitPatterns& p = PatternsOf(chain.units);
    return from + ": weight " + WithUnit(Signed(chain.weightChange, p.weight), WeightUnit(chain.units)) +
           ", C.G. " + WithUnit(Signed(chain.armChange, p.cg), ArmUnit(chain.units));
}

const ChainEntry* RecordChain::Latest() const {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (!line->deleted) return &line->entry;
    return nullptr;
}

void LinkChain(RecordChain& chain) {
    const ChainLine* before = nullptr;
    size_t from = chain.lines.size();
    for (size_t i = 0; i < chain.lines.size(); ++i) {
        ChainLine& line = chain.lines[i];
        line.breaks = false;
        line.supersedes.clear();
        line.endBeforeWeight.clear();
        line.endBeforeArm.clear();
        if (line.deleted) continue;
        if (before != nullptr) {
            line.supersedes = before->entry.date;
            // A weighing starts the chain afresh; anything else must start where the last ended,
            // in its own units.
            const UnitSystem from = before->entry.units, to = line.entry.units;
            const std::string weight =
                ChainWeight(ConvertValue(before->entry.newWeight, Quantity::Weight, from, to), to);
            const std::string arm = ChainArm(ConvertValue(before->entry.newArm, Quantity::Arm, from, to), to);
            if (!line.entry.weighed && (line.entry.startWeight != weight || line.entry.startArm != arm)) {
                line.breaks = true;
                line.endBeforeWeight = weight;
                line.endBeforeArm = arm;
            }
        }
        if (from == chain.lines.size() || line.entry.weighed) from = i;
        before = &line;
    }

    chain.fromWeighing = false;
    chain.since.clear();
    chain.weightChange = chain.armChange = 0;
    chain.units = before != nullptr ? before->entry.units : UnitSystem::PoundInch;
    if (from == chain.lines.size()) return;
    chain.fromWeighing = chain.lines[from].entry.weighed;
    chain.since = chain.lines[from].entry.date;
    // Counted on the values as shown, so that the sum agrees with the lines printed above it.
    for (size_t i = from; i < chain.lines.size(); ++i) {
        const ChainEntry& e = chain.lines[i].entry;
        if (chain.lines[i].deleted) continue;
        chain.weightChange += ConvertValue(LeadingNumber(e.NewWeightText()) - LeadingNumber(e.startWeight),
                                           Quantity::Weight, e.units, chain.units);
        chain.armChange += ConvertValue(LeadingNumber(e.NewArmText()) - LeadingNumber(e.startArm),
                                        Quantity::Arm, e.units, chain.units);
    }
}

}  // namespace wb
