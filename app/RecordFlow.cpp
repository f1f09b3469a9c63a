// The window's procedures over the record store: the fresh Worksheet, saving, browsing and
// search, and the specifications carry-over.
#include "app/MainForm.h"
#include "store/CarryOver.h"
#include "store/LoadingRows.h"
#include "store/Records.h"
#include "store/Scales.h"
#include "store/Search.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

constexpr std::string_view kContinue = "Press OK to continue";
constexpr std::string_view kChangedTitle = "Worksheet changed elsewhere";

// The pointer shows the hourglass until the procedure returns, whichever way it ends.
struct HourglassWhile {
    explicit HourglassWhile(bool& flag) : flag_(flag) { flag_ = true; }
    ~HourglassWhile() { flag_ = false; }
    HourglassWhile(const HourglassWhile&) = delete;
    HourglassWhile& operator=(const HourglassWhile&) = delete;
    bool& flag_;
};

// What went wrong, in the mechanic's words where the engine's would puzzle; the engine's
// own text follows for whoever looks after the computer.
std::string Why(const std::exception& e) {
    const auto* failure = dynamic_cast<const SqliteError*>(&e);
    if (failure == nullptr) return e.what();
    std::string plain;
    switch (failure->kind()) {
        case SqliteError::Kind::DiskFull:
            plain = "The disk holding the data folder is full or refused the write.";
            break;
        case SqliteError::Kind::ReadOnly:
            plain = "The data folder or the database file cannot be written to (it may be read-only).";
            break;
        case SqliteError::Kind::Busy:
            plain = "Another copy of the program kept the database busy. Try again in a moment.";
            break;
        case SqliteError::Kind::InputOutput:
            plain = "The disk could not be read or written.";
            break;
        case SqliteError::Kind::Damaged:
            plain = "The database file is damaged.";
            break;
        case SqliteError::Kind::ServerLost:
            plain =
                "The shop server did not answer: it may be stopped, or the network is down. Everything on "
                "the screen is kept; try again when the server is back.";
            break;
        case SqliteError::Kind::CommitUnknown:
            plain =
                "The shop server stopped answering just after it was asked to store the changes, so they "
                "may or may not have been stored.";
            break;
        case SqliteError::Kind::Other:
            return e.what();
    }
    return plain + " (" + e.what() + ")";
}

void TellNotSaved(Dialogs& dialogs, const std::string& why) {
    dialogs.Notice("Worksheet not saved", why + "\n\nNothing was stored.\n\nPress OK to continue",
                   Icon::Critical);
}

std::string Counted(int n, std::string_view what) {
    return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
}

std::string ListCounts(int changes, int items) {
    return Counted(items, "equipment list item") + " and " + Counted(changes, "installed/removed row");
}

// The question says what would be replaced by what: a screen whose lists were cleared would
// otherwise replace a stored Worksheet's lists with nothing, unnoticed.
std::string ReplaceQuestion(const Records::SamePairStored& stored, const Worksheet& ws) {
    int changes = 0, items = 0;
    for (int r = 0; r < 30; ++r)
        if (!ws.InstalledList().At(r, installed::Description).Text().empty()) ++changes;
    for (int r = 0; r < 100; ++r)
        if (!ws.EquipmentList().At(r, equipment::Description).Text().empty()) ++items;
    return "A Worksheet with this tail number and date is already stored.\n\nStored: " +
           ListCounts(stored.changes, stored.items) + ".\nOn screen: " + ListCounts(changes, items) +
           ".\n\nReplace the stored Worksheet with the one on screen?";
}

// What is on screen, named as the mechanic typed it.
std::string Named(const Worksheet& ws) {
    return ws.Get(Field::Tail) + " of " + ws.Get(Field::Date);
}

void TellDatabaseError(Dialogs& dialogs, const std::string& why) {
    dialogs.Notice("Database error", why + "\n\nPress OK to continue", Icon::Critical);
}

}  // namespace

void MainForm::StartNewWorksheet() {
    if (records) {
        records->ScreenCleared();
        try {
            records->ReopenAircraftSet();
        } catch (const std::exception&) {
            // The set keeps its rows; a new Worksheet starts all the same.
        }
    }
    FreshWorksheet = 1;
    SpecsPending = 1;
    SearchActive = 0;
    ScreenSaved = 0;
    rowsTyped_ = false;
    unitsChosen_ = false;
    ws.values.NewWeight = 0;
    ws.values.NewArm = 0;
    ws.values.NewMoment = 0;
    ClearWorksheet(ws, SearchActive == 1);
    SetText(Control::Text7, ShownDate(clock_.Today()));
    SetText(Control::Text6, Text(Control::Text25));
    SetText(Control::Text22, Text(Control::Text26));
    SetFocus(Control::Text1);
    edited_ = false;
}

void MainForm::SettleUncertainSave() {
    if (!records || !records->SaveInDoubt()) return;
    std::optional<bool> stored;
    try {
        stored = records->SettleUncertainSave();
    } catch (const std::exception&) {
        return;  // the server cannot say yet; the press goes on and tells its own failure
    }
    if (!stored) return;
    if (*stored) {
        dialogs_.Notice("Worksheet stored",
                        "The shop server has answered: the save that was in doubt (" + uncertainName_ +
                            ") was stored.\n\n" + std::string(kContinue),
                        Icon::Information);
    } else {
        dialogs_.Notice("Worksheet not saved",
                        "The shop server has answered: the save that was in doubt (" + uncertainName_ +
                            ") was not stored. Save it again if it is still on the screen.\n\n" +
                            std::string(kContinue),
                        Icon::Exclamation);
    }
}

void MainForm::ClickSave() {
    HourglassWhile busy(hourglass_);
    SettleUncertainSave();
    // Whatever stops the save before the rows are stored leaves the screen unsaved, so that
    // New, Exit and every other discard still ask.
    ScreenSaved = 0;
    if (!ParseTypedDate(Text(Control::Text7))) {
        dialogs_.Notice("No date entered", kContinue, Icon::Critical);
        return;
    }
    if (Text(Control::Text1).empty()) {
        dialogs_.Notice("No tail number entered", kContinue, Icon::Critical);
        return;
    }
    // Loading data that cannot be right is never stored: the reasons, for the loading panel.
    if (const LoadingRead read = ReadLoading(ws.loading, LoadingUnits(ws));
        Text(Control::Text1) != "0" && read.Refused()) {
        std::string why = "The loading data is refused:";
        for (const std::string& r : read.refusals)
            why += "\n- " + r;
        TellNotSaved(
            dialogs_,
            why + "\n\nCorrect it on the loading panel (\"Loading check...\" on the specifications panel).");
        return;
    }
    if (!records) {
        TellNotSaved(dialogs_, NoStoreReason());
        return;
    }
    if (const std::string reason = ReadOnlyReason(); !reason.empty()) {
        TellNotSaved(dialogs_, reason);
        return;
    }
    const bool searchPath = SearchActive == 1;
    const bool deleting = Text(Control::Text1) == "0";
    try {
        // One tail number and date name one stored Worksheet: storing a second one under
        // them would make both show the same equipment.
        bool replace = false;
        // Never overwrite blindly what another workstation stored since this screen was loaded.
        bool replaceChanged = false;
        if (SavedAsCorrection(searchPath)) {
            if (ScreenSaved == 1) edited_ = false;
            return;
        }
        if (records->ChangedSinceLoaded(ws, searchPath)) {
            if (!dialogs_.AskYesNo(kChangedTitle, ChangedElsewhere().what())) return;
            replace = replaceChanged = true;
        } else if (const auto stored = records->WouldReplaceAnother(ws, searchPath)) {
            if (!dialogs_.AskYesNo("Worksheet already stored", ReplaceQuestion(*stored, ws))) return;
            replace = true;
        }
        if (!deleting) {
            const RowStore& changes = ws.InstalledList();
            for (int r = 0; r < 30; ++r)
                if (CharCount(changes.At(r, installed::Description).Text()) > kDescriptionChars)
                    dialogs_.Notice(
                        "Too many characters",
                        "Description(s) more than 25 characters long. Check decriptions and save again",
                        Icon::Critical);
        }
        try {
            records->Save(ws, searchPath, replace, replaceChanged);
        } catch (const ChangedElsewhere& changed) {
            // Changed at the other workstation between the question above and the save.
            if (!dialogs_.AskYesNo(kChangedTitle, changed.what())) return;
            records->Save(ws, searchPath, true, true);
        }
    } catch (const SaveUncertain& e) {
        uncertainName_ = Named(ws);
        dialogs_.Notice("Worksheet may not be saved",
                        std::string(Why(EngineError(EngineError::Kind::CommitUnknown, e.what()))) +
                            "\n\nEverything on the screen is kept. At the next save or browse press the "
                            "program asks the server and says whether it was stored.\n\n" +
                            std::string(kContinue),
                        Icon::Exclamation);
        return;
    } catch (const std::exception& e) {
        if (!MetDamage(e)) TellNotSaved(dialogs_, Why(e));
        return;
    }
    if (deleting) {
        SearchActive = 0;
        BrowseStarted = 0;
        StartNewWorksheet();
        return;
    }
    ScreenSaved = 1;
    edited_ = false;
    ++Saves;
    TellWeighingWarnings();
    LastSaved = "Worksheet " + Text(Control::Text1) + " of " + Text(Control::Text7) + " saved";
    if (FreshWorksheet == 1) {
        try {
            records->AircraftSet.MoveLast();
        } catch (const std::exception&) {
            // Stored all the same; the next browse press starts from an end of the set.
        }
        FreshWorksheet = 0;
        SpecsPending = 0;
    }
}

bool MainForm::BrowseWouldDropWork() const {
    return FreshWorksheet == 0 ? edited_ : rowsTyped_;
}

void MainForm::ClickBrowse(int direction) {
    SettleUncertainSave();
    if (BrowseWouldDropWork() && !dialogs_.AskYesNo("Weight & Balance on screen not saved",
                                                    "OK to leave the Worksheet on screen without saving?"))
        return;
    if (FreshWorksheet == 1 || SearchActive == 1) SearchActive = 1;
    ClearWorksheet(ws, SearchActive == 1);
    // What was typed is gone now, whatever the press finds: the next press has nothing to drop.
    edited_ = rowsTyped_ = false;
    if (records) records->ScreenCleared();
    try {
        if (records && FreshWorksheet == 1) records->ReopenSearchSet();
        const RecordSet* set = nullptr;
        if (records) set = SearchActive == 1 ? &records->SearchSet : &records->AircraftSet;
        const bool atEnd = set == nullptr || (direction == 2 ? set->Eof() : set->Bof());
        if (atEnd) {
            dialogs_.Notice("No records this direction.", kContinue, Icon::Information);
            SearchActive = 0;
            return;
        }
        BrowseDirection = direction;
        RunBrowse();
    } catch (const std::exception& e) {
        // What a failed load left on the screen was not typed: the next press drops nothing.
        edited_ = rowsTyped_ = false;
        // Damage is told once; later presses find the screen cleared and say nothing more.
        if (!MetDamage(e)) TellDatabaseError(dialogs_, Why(e));
        return;
    }
    // What a browse press shows is what is stored.
    ScreenSaved = 1;
    edited_ = false;
}

void MainForm::RunBrowse() {
    if (FreshWorksheet == 1) {
        FreshWorksheet = 0;
        int emptyFields = 0;
        for (const SearchField& field : SearchFields()) {
            const std::string& typed = ws.Get(field.field);
            if (typed.empty()) {
                ++emptyFields;
                continue;
            }
            SearchCriterion = CriterionText(field, typed);
            records->NarrowSearchSet(SearchCondition(field, typed));
        }
        if (emptyFields == static_cast<int>(SearchFields().size())) {
            SearchActive = 0;
        } else if (records->SearchSet.Bof() && records->SearchSet.Eof()) {
            dialogs_.Notice("Search Result", "No matches found", Icon::None);
            SearchActive = 0;
            return;
        }
    }

    RecordSet& set = SearchActive == 1 ? records->SearchSet : records->AircraftSet;
    const bool all = SearchActive == 0;
    if (BrowseDirection == 1) {
        if (BrowseStarted == 0 || (all && set.Eof())) {
            set.MoveLast();
        } else {
            set.MovePrevious();
        }
    } else {
        if (BrowseStarted == 0 || (all && set.Bof())) {
            set.MoveFirst();
        } else {
            set.MoveNext();
        }
    }

    LoadDefaults defaults;
    defaults.today = ShownDate(clock_.Today());
    defaults.mechanic = Text(Control::Text25);
    defaults.cert = Text(Control::Text26);
    const bool loaded = SearchActive == 1 ? records->LoadFromSearchSet(ws, defaults)
                                          : records->LoadFromAircraftSet(ws, defaults);
    if (!loaded) ClearWorksheet(ws, SearchActive == 1);
    BrowseStarted = 1;
}

void MainForm::CarryOverSpecs() {
    // The tail's unit system first, so that the equipment list comes over in it.
    CarryOverUnits();
    if (records) {
        try {
            CopyLatestEquipmentList(records->db(), ws, Text(Control::Text1));
            // The reweigh interval is the aircraft's: it goes on from its latest Worksheet.
            if (ws.Get(Field::ReweighMonths).empty())
                ws.Set(Field::ReweighMonths, LatestReweighMonths(records->db(), Text(Control::Text1)));
            CopyLatestLoading(records->db(), ws, Text(Control::Text1));
        } catch (const std::exception&) {
            // Nothing to carry over; the scale and fluid rows are reset all the same.
        }
    }
    ResetScaleAndFluidRows(ws);
}

}  // namespace wb
