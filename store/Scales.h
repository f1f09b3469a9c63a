// The shop's scales, kept once and named by their serial in each weighing, and the list of
// aircraft by the date they are due to be weighed again. A scale that a stored weighing names
// is never deleted, only retired, so that the weighing keeps saying what it was weighed on.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/Engine.h"
#include "worksheet/Weighing.h"

namespace wb {

// Layout version 4 in a local file: the Scale table, and the weighing record's columns of
// Aircraft and AircraftRevision (the serial of the scale under each scale row, the conditions,
// the reweigh interval), Null in every Worksheet stored before. Inside the upgrade's transaction.
void AddScaleTables(Database& db);
// CREATE TABLE Scale, as a new file has it.
std::string_view ScaleTableSql();
// The weighing record's columns, in the order they follow the table's others.
const std::vector<std::pair<std::string_view, bool>>& WeighingColumns();  // name, is a number

// A scale that cannot be stored as asked; the text says why, for the mechanic.
class ScaleRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Every scale, retired ones too, by serial.
std::vector<ShopScale> ReadScales(Database& db);
// Stores a new scale (id 0) or changes a stored one, in one transaction; returns its id. A
// serial already kept, or a changed serial of a scale a weighing names, is refused.
std::int64_t StoreScale(Database& db, const ShopScale& scale);
// Whether a stored Worksheet, or an earlier version of one, names the scale.
bool ScaleInUse(Database& db, std::string_view serial);
// Deletes the scale, or retires it when a weighing names it. True when it was deleted.
bool RemoveScale(Database& db, std::int64_t id);

// The reweigh interval last set for the tail ("48"): that of its latest stored Worksheet that
// has one; empty for none.
std::string LatestReweighMonths(Database& db, std::string_view tail);

// Every aircraft in the store, by next due date (those without one last, by tail).
std::vector<DueLine> DueForReweighing(Database& db, CalendarDate today);

}  // namespace wb
