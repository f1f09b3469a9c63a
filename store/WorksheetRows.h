// How one Worksheet maps onto its rows: one Aircraft row (header, scale and fluid rows) and
// the Equipment rows of its two lists, found by the Worksheet's Tail and Date.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/Sqlite.h"
#include "worksheet/Balance.h"
#include "worksheet/Company.h"
#include "worksheet/Worksheet.h"

namespace wb {

inline constexpr size_t kDescriptionChars = 25;

// What a load fills in where the stored row holds Null.
struct LoadDefaults {
    std::string today;     // a Null Date, "mm-dd-yyyy"
    std::string mechanic;  // a Null By: the default mechanic
    std::string cert;      // a Null Cert: the default certificate
    // Browsing all Worksheets gives a Null description of the first scale and fluid rows its
    // default name; a search result leaves it empty.
    bool defaultRowNames = true;
};

// Shows the stored Worksheet `id` with its equipment rows and recomputes it. The two lists
// are emptied first. Returns false, changing nothing, when there is no such row.
bool LoadWorksheet(Database& db, std::int64_t id, Worksheet& ws, const LoadDefaults& defaults);

// Puts a stored equipment-list row into row n of the EquipmentList and Grid3 (a Null gives an
// empty entry; the grid shows weight, arm and moment through their patterns).
void ShowEquipmentListRow(Worksheet& ws, int n, const Nullable& description, const Nullable& serial,
                          const Nullable& weight, const Nullable& arm);

// ShowScaleAndFluidRows (worksheet/Balance.h) rewrites rows 0 to 4 of the scale and fluid
// grids from their stores, as a load shows them.

// A save that would store a second Worksheet under a Tail and Date already in use.
class DuplicateWorksheet : public std::runtime_error {
  public:
    DuplicateWorksheet()
        : std::runtime_error("A Worksheet with this tail number and date is already stored.") {}
};

// A save of a Worksheet that another workstation has replaced or deleted since it was loaded.
class ChangedElsewhere : public std::runtime_error {
  public:
    ChangedElsewhere()
        : std::runtime_error(
              "This Worksheet was changed at another workstation since it was loaded. Replace it?") {}
};

struct SaveRequest {
    // Loaded from the search result: scale and fluid numbers are written as the stores hold
    // them (an empty entry stays Null); otherwise every one is written as its number.
    bool searchPath = false;
    // The stored Worksheet the screen was loaded from, replaced by the save.
    std::optional<std::int64_t> replaces;
    // The mechanic agreed to replace other stored Worksheets with the same Tail and Date.
    bool replaceSamePair = false;
    // The mechanic agreed to store it although the loaded Worksheet changed elsewhere since.
    bool replaceChanged = false;
    // A correction: the signed Worksheet of the same tail and this ISO date is superseded by
    // the one saved, for the reason typed.
    std::optional<std::string> corrects;
    std::string correctionReason;
};

struct SaveOutcome {
    std::optional<std::int64_t> added;  // the new Aircraft row; nothing for the tail "0"
    std::vector<std::int64_t> removed;  // Aircraft rows deleted by the save
};

// The shop server stopped answering after the save's commit was sent: the Worksheet may or
// may not be stored. `outcome` is what the save did if it was.
class SaveUncertain : public std::runtime_error {
  public:
    SaveUncertain(const std::string& why, SaveOutcome outcome)
        : std::runtime_error(why), outcome(std::move(outcome)) {}
    SaveOutcome outcome;
};

// Stores the Worksheet in one transaction: the old copy's rows go, then the new Aircraft row
// and the Equipment rows of both lists are written. The tail "0" only deletes. A failing
// step throws and leaves the database as it was. The date must be a real typed date.
SaveOutcome SaveWorksheet(Database& db, const Worksheet& ws, const SaveRequest& request);

// How many InstalledList and EquipmentList rows are stored under this Tail and Date (ISO).
std::pair<int, int> ListRowCounts(Database& db, std::string_view tail, std::string_view isoDate);

// Stored Worksheets with this Tail and Date (ISO), other than `except`.
std::vector<std::int64_t> WorksheetsWithPair(Database& db, std::string_view tail, std::string_view isoDate,
                                             std::optional<std::int64_t> except = std::nullopt);

}  // namespace wb
