#include "worksheet/RecordChain.h"

#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

namespace wb {

std::string ChainEntry::NewWeightText() const {
    return FormatNumber(newWeight, pattern::NewWeight);
}
std::string ChainEntry::NewArmText() const {
    return FormatNumber(newArm, pattern::NewArm);
}
std::string ChainEntry::NewMomentText() const {
    return FormatNumber(newMoment, pattern::NoLead1);
}

std::string ChainWeight(double value) {
    return FormatNumber(value, pattern::NewWeight);
}
std::string ChainArm(double value) {
    return FormatNumber(value, pattern::NewArm);
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
            FormatNumber(e.installed, pattern::Weight),
            FormatNumber(e.removed, pattern::Weight),
            e.NewWeightText(),
            e.NewArmText(),
            e.NewMomentText(),
            e.usefulLoad ? ChainWeight(*e.usefulLoad) : std::string()};
}

namespace {

// A change with its sign always shown.
std::string Signed(double value) {
    std::string text = FormatNumber(value, pattern::Weight);
    return text.front() == '-' ? text : "+" + text;
}

}  // namespace

std::string ChainSummary(const RecordChain& chain) {
    if (chain.since.empty()) return "No Worksheet of this aircraft is stored.";
    const std::string from = chain.fromWeighing ? "Since the weighing of " + chain.since
                                                : "Since the first record, " + chain.since;
    return from + ": weight " + Signed(chain.weightChange) + ", C.G. " + Signed(chain.armChange);
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
            // A weighing starts the chain afresh; anything else must start where the last ended.
            const std::string weight = before->entry.NewWeightText();
            const std::string arm = before->entry.NewArmText();
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
    if (from == chain.lines.size()) return;
    chain.fromWeighing = chain.lines[from].entry.weighed;
    chain.since = chain.lines[from].entry.date;
    // Counted on the values as shown, so that the sum agrees with the lines printed above it.
    for (size_t i = from; i < chain.lines.size(); ++i) {
        const ChainEntry& e = chain.lines[i].entry;
        if (chain.lines[i].deleted) continue;
        chain.weightChange += LeadingNumber(e.NewWeightText()) - LeadingNumber(e.startWeight);
        chain.armChange += LeadingNumber(e.NewArmText()) - LeadingNumber(e.startArm);
    }
}

}  // namespace wb
