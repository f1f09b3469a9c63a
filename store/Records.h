// The open main database and the record sets the window keeps for the whole run:
// AircraftSet (every stored Worksheet by date), SearchSet (the current search result),
// and CompanySet (the CompanyInfo rows). The Equipment rows are not held as a list: a save,
// a load and the carry-over reach one Worksheet's rows through indexed finds, so that a
// database of many years stays as quick as a new one.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "store/MainDatabase.h"
#include "store/RecordSet.h"
#include "store/WorksheetRows.h"

namespace wb {

class Records {
  public:
    // Opens (creating it when missing) the main database file and the record sets, in the
    // order AircraftSet, CompanySet, EquipmentSet, SearchSet. Throws StoreError.
    explicit Records(const std::filesystem::path& mainDatabaseFile);
    // The sets point into the open database: the object stays where it was made.
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    MainDatabase& database() { return main_; }
    Database& db() { return main_.db(); }

    RecordSet AircraftSet;
    RecordSet SearchSet;
    RecordSet CompanySet;

    // A new Worksheet: AircraftSet read afresh, in date order.
    void ReopenAircraftSet();
    // A new search starts from every stored Worksheet.
    void ReopenSearchSet();
    // Narrows SearchSet to the rows that also meet `condition`.
    void NarrowSearchSet(const Condition& condition);

    // Show the Worksheet at the set's current row; without one, false (the caller clears).
    bool LoadFromAircraftSet(Worksheet& ws, LoadDefaults defaults);
    bool LoadFromSearchSet(Worksheet& ws, LoadDefaults defaults);

    // Stored Worksheets other than the one loaded from the search result that a save of
    // this Tail and Date would replace.
    bool WouldReplaceAnother(const Worksheet& ws, bool searchPath);
    // Saves the Worksheet and keeps the sets in step: the replaced row leaves SearchSet, the
    // new row is appended to SearchSet on the search path and to AircraftSet otherwise.
    SaveOutcome Save(const Worksheet& ws, bool searchPath, bool replaceSamePair);

  private:
    MainDatabase main_;
};

}  // namespace wb
