// The history panel: every stored Worksheet of the tail on screen in date order, one line
// each, with its superseded versions under it, the breaks in the chain marked, and the change
// since the last weighing. One action starts a fresh Worksheet from the latest record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/Audit.h"
#include "worksheet/RecordChain.h"

namespace wb {

struct HistoryRow {
    enum class Kind { Worksheet, Earlier, Deleted };
    Kind kind = Kind::Worksheet;
    bool breaks = false;
    bool altered = false;             // changed after it was signed, or not as its last save left it
    std::vector<std::string> cells;   // one per column of HistoryColumns()
    std::vector<HistoryRow> earlier;  // the superseded versions of a Worksheet line
};

// What is said of a stored Worksheet's signature, by its date as shown.
struct HistoryMark {
    std::string date;
    std::string note;
    bool altered = false;
};

const std::vector<std::string_view>& HistoryColumns();
std::vector<HistoryRow> HistoryRows(const RecordChain& chain, const std::vector<HistoryMark>& marks = {});
// The tail's audit trail as lines of the panel: time, event, who and where, the record's hash.
std::vector<HistoryRow> AuditRows(const std::vector<AuditEntry>& entries);

}  // namespace wb
