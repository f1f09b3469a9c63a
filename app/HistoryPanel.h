// The history panel: every stored Worksheet of the tail on screen in date order, one line
// each, with its superseded versions under it, the breaks in the chain marked, and the change
// since the last weighing. One action starts a fresh Worksheet from the latest record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "worksheet/RecordChain.h"

namespace wb {

struct HistoryRow {
    enum class Kind { Worksheet, Earlier, Deleted };
    Kind kind = Kind::Worksheet;
    bool breaks = false;
    std::vector<std::string> cells;   // one per column of HistoryColumns()
    std::vector<HistoryRow> earlier;  // the superseded versions of a Worksheet line
};

const std::vector<std::string_view>& HistoryColumns();
std::vector<HistoryRow> HistoryRows(const RecordChain& chain);

}  // namespace wb
