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
    // The record store on a connection already opened with its tables (a shop server).
    explicit Records(Database db);
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

    // The stored Worksheet the screen shows: the row a load put there or the last save wrote;
    // nothing on a new or cleared screen. A save, a rename and the tail "0" act on it alone.
    std::optional<std::int64_t> OnScreen() const { return onScreen_; }
    // The screen was cleared or started afresh: it shows no stored Worksheet.
    void ScreenCleared();

    // The stored Worksheet a save of `ws` would replace. On the search path, after a save of
    // this screen, and for the tail "0" it is the one on screen; a Worksheet loaded while
    // browsing all and saved under another tail or date is stored beside it instead.
    std::optional<std::int64_t> ReplacedBySave(const Worksheet& ws, bool searchPath);

    // What a save would overwrite besides the Worksheet on screen: the stored Worksheets with
    // the same Tail and Date, and how many rows each list holds under them.
    struct SamePairStored {
        int changes = 0;  // InstalledList rows
        int items = 0;    // EquipmentList rows
    };
    std::optional<SamePairStored> WouldReplaceAnother(const Worksheet& ws, bool searchPath);
    // Saves the Worksheet and keeps the sets in step: the new row takes the place of the row
    // it replaces (the cursor stays on it), or is appended to SearchSet on the search path and
    // to AircraftSet otherwise. The new row is then the Worksheet on screen.
    // Throws ChangedElsewhere when the Worksheet it would replace is gone from the store
    // (replaced or deleted at another workstation since it was loaded), unless `replaceChanged`.
    SaveOutcome Save(const Worksheet& ws, bool searchPath, bool replaceSamePair, bool replaceChanged = false);
    // Saves the Worksheet as a new one that supersedes the signed Worksheet of its tail and
    // `signedIsoDate`, for `reason`; the signed one stays as it is.
    SaveOutcome SaveCorrection(const Worksheet& ws, bool searchPath, const std::string& signedIsoDate,
                               const std::string& reason);
    // The stored Worksheet a save of `ws` would replace is no longer stored as it was loaded
    // or saved here: another workstation replaced or deleted it since.
    bool ChangedSinceLoaded(const Worksheet& ws, bool searchPath);

    // A save whose commit answer was lost (SaveUncertain) is in doubt until the store says
    // whether its rows are there. True or false once it can tell (a stored one then takes its
    // place in the sets as a save does); nothing while no save is in doubt.
    std::optional<bool> SettleUncertainSave();
    bool SaveInDoubt() const { return uncertain_.has_value(); }

  private:
    void OpenSets();
    void Placed(const SaveOutcome& outcome, const SaveRequest& request);
    bool Load(std::optional<std::int64_t> id, Worksheet& ws, const LoadDefaults& defaults);

    MainDatabase main_;
    std::optional<std::int64_t> onScreen_;
    bool written_ = false;  // onScreen_ was written by a save of this screen, not loaded
    struct Uncertain {
        SaveOutcome outcome;
        SaveRequest request;
        bool onScreen = true;  // the screen still shows what that save wrote
        std::string foldedTail, isoDate;  // what the new row holds, if it is there
    };
    std::optional<Uncertain> uncertain_;
};

}  // namespace wb
