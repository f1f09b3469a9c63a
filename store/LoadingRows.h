// The aircraft's loading data as rows of the table Loading, found, as a Worksheet's
// equipment rows are, by the Worksheet's Tail and Date: one 'aircraft' row (maximum landing
// weight, fuel and oil weights, METO horsepower, occupant weight), a 'station' row for each
// loading station and a 'normal' or 'utility' row for each point of the C.G. envelope, each
// at the row of the panel's grid it was typed in. Data the reading refuses is never written.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/Sqlite.h"
#include "worksheet/Loading.h"
#include "worksheet/Worksheet.h"

namespace wb {

// Values of the Loading column List.
inline constexpr std::string_view kLoadingAircraft = "aircraft";
inline constexpr std::string_view kLoadingStation = "station";
inline constexpr std::string_view kLoadingNormal = "normal";
inline constexpr std::string_view kLoadingUtility = "utility";

// A save of a Worksheet whose loading data is refused: nothing is stored.
class LoadingRefused : public std::invalid_argument {
  public:
    explicit LoadingRefused(std::vector<std::string> reasons);
    const std::vector<std::string>& reasons() const { return reasons_; }

  private:
    std::vector<std::string> reasons_;
};

// Throws LoadingRefused when the reading refuses the data.
void RequireSoundLoading(const LoadingTexts& texts, UnitSystem units);

// The rows of one Tail and Date (ISO), removed; and the data written under them (nothing
// for data without a typed cell). Inside the caller's transaction.
void DeleteLoadingRows(Database& db, std::string_view tail, std::string_view isoDate);
void StoreLoadingRows(Database& db, const LoadingTexts& texts, std::string_view tail, std::string_view isoDate);

// The data stored under one Tail and Date (ISO); empty texts when there is none.
LoadingTexts ReadLoadingRows(Database& db, std::string_view tail, std::string_view isoDate);

// The loading data of the latest stored Worksheet of `tail` that has any, into a Worksheet
// whose own loading data is still empty. True when some was brought over.
bool CopyLatestLoading(Database& db, Worksheet& ws, std::string_view tail);

// The columns a revision keeps of each row, in this order ("Tail, \"Date\", List, ...").
extern const char* const kLoadingColumns;

}  // namespace wb
