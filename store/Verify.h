// Verifying a database's signed records and audit trail: every signature against the record
// as stored now, each tail's chain of signed records, the audit trail's chain, and every
// stored Worksheet against the record hash of its last audit entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/Sqlite.h"
#include "worksheet/Progress.h"

namespace wb {

struct VerifyFinding {
    std::string tail, date;     // date ISO; both empty for a finding of no one Worksheet
    std::string text;           // what is wrong, in words for the mechanic
    bool signedRecord = false;  // a signed record changed or missing
};

struct Verification {
    std::vector<VerifyFinding> findings;
    std::int64_t signatures = 0, worksheets = 0, entries = 0;
    bool Passed() const { return findings.empty(); }
    // The finding for this Worksheet (tail compared folded); nullptr when it verified.
    const VerifyFinding* For(const std::string& tail, const std::string& isoDate) const;
};

// Never throws for what it finds; an engine failure is thrown as it is.
Verification VerifyRecords(Database& db, Progress& progress = NoProgress());
// Only the signatures and the chain of one tail (the history panel).
Verification VerifyTail(Database& db, const std::string& tail);

// "N123AB 06-10-2001: changed after it was signed by J. Smith on 12-07-2026", one a line.
std::string FindingsText(const Verification& v, size_t most = 30);

}  // namespace wb
