// What a report prints beside the Worksheet that only the store knows: the weighing section,
// the signature lines and the audit trail. One source for the print buttons, which read them
// for the screen, and for the printed record of a tail, which reads them with no window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/Audit.h"
#include "store/Sqlite.h"
#include "worksheet/RecordChain.h"
#include "worksheet/Weighing.h"
#include "worksheet/Worksheet.h"

namespace wb {

// The calculation report's weighing section for `ws`: the scale under each weighed row (named
// from the shop's `scales`), the conditions, the warnings, and with the tail's `chain` the
// reweigh advice and next due date. `db` gives the interval last set where `ws` has none.
std::vector<WeighingLine> WeighingReportLines(const Worksheet& ws, const std::vector<ShopScale>& scales,
                                              const RecordChain* chain, Database* db, CalendarDate today);

// "Signed electronically by ..." and the record's hash for the stored Worksheet of this tail
// and ISO date; empty when it is not signed.
std::vector<std::string> SignatureLines(Database& db, std::string_view tail, std::string_view isoDate);

// The audit trail as the record report prints it: one line per entry.
std::vector<std::string> AuditLines(const std::vector<AuditEntry>& entries);

}  // namespace wb
