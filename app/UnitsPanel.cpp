// The unit system on the specifications panel: the chooser, the carry-over of a tail's units
// into its new Worksheet, the mean aerodynamic chord's boxes and "Convert units".
#include "app/MainForm.h"
#include "app/NumberNotice.h"
#include "store/CarryOver.h"
#include "store/Records.h"
#include "worksheet/Balance.h"
#include "worksheet/Convert.h"
#include "worksheet/GridEditing.h"
#include "worksheet/Mac.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

constexpr std::string_view kContinue = "Press OK to continue";
constexpr std::string_view kConvertTitle = "Convert units";

// Shows every row and result again in the Worksheet's patterns, the figures as they are; the
// results only where they were shown before, so that a fresh Worksheet stays blank.
void ShowInUnits(Worksheet& ws) {
    for (GridId id : kAllGrids)
        CommitRow(ws, id);
    const bool computed = !ws.Get(Field::Text23).empty();
    ShowAllRows(ws);
    if (computed) Recalculate(ws);
}

}  // namespace

UnitSystem MainForm::Units() const {
    return wb::Units(ws);
}

std::string MainForm::PercentMacText() const {
    return NewCgPercentMac(ws);
}

void MainForm::ChooseUnits(UnitSystem units) {
    if (!Usable(Control::UnitChoice)) return;
    unitsChosen_ = true;
    if (wb::Units(ws) == units) return;
    SetUnits(ws, units);
    rowsTyped_ = true;
    ShowInUnits(ws);
}

void MainForm::CarryOverUnits() {
    if (FreshWorksheet != 1 || unitsChosen_ || !records || ws.Get(Field::Tail).empty()) return;
    std::optional<UnitSystem> latest;
    try {
        latest = LatestUnits(records->db(), ws.Get(Field::Tail));
    } catch (const std::exception&) {
        return;  // nothing to carry over; the Worksheet keeps the units it shows
    }
    if (!latest || *latest == wb::Units(ws)) return;
    SetUnits(ws, *latest);
    ShowInUnits(ws);
}

void MainForm::LeaveMac() {
    const std::string mac = ws.Get(Field::Mac);
    const std::string_view unit = ArmUnit(wb::Units(ws));
    if (MacNotPositive(mac)) {
        // Refused: a chord of no length would give no percentage, or one of the wrong sign.
        dialogs_.Notice("MAC refused",
                        "The mean aerodynamic chord typed, \"" + mac +
                            "\", is zero or less: a MAC must be longer than 0 " + std::string(unit) +
                            ". The box has been emptied; type the chord's length, or leave it empty.\n\n" +
                            std::string(kContinue),
                        Icon::Exclamation);
        SetText(Control::Text36, "");
        return;
    }
    NoticeIfMisread(dialogs_, "MAC", mac, unit);
}

void MainForm::ClickConvertUnits() {
    if (!records || !records->OnScreen() || ScreenSaved == 0) {
        dialogs_.Notice(kConvertTitle,
                        "Convert units makes a new Worksheet from a stored one: save the Worksheet on the "
                        "screen first.\n\n" +
                            std::string(kContinue),
                        Icon::Information);
        return;
    }
    const UnitSystem from = wb::Units(ws);
    std::vector<UnitSystem> targets;
    std::vector<std::string> choices;
    for (UnitSystem u : kAllUnitSystems) {
        if (u == from) continue;
        targets.push_back(u);
        choices.push_back("To " + std::string(UnitsName(u)));
    }
    choices.emplace_back("Cancel");
    const std::string tail = ws.Get(Field::Tail), date = ws.Get(Field::Date);
    const size_t pick = dialogs_.Choose(
        kConvertTitle,
        "Make a new Worksheet of " + tail + " from the stored Worksheet of " + date +
            ", with every weight, arm, "
            "tare, limit, ballast arm, chord and list item converted from " +
            std::string(UnitsName(from)) +
            "? The factors are exact (1 lb = 0.45359237 kg, 1 in = 25.4 mm); the figures are kept at full "
            "precision and rounded only where they are shown.\n\nThe stored Worksheet stays as it is. The "
            "new "
            "one is stored when you save it: under the same date the save asks before it takes the stored "
            "one's "
            "place (the history keeps the earlier version); give it another date to keep both.",
        choices, Icon::Question);
    if (pick >= targets.size()) return;
    const UnitSystem to = targets[pick];
    const std::string note = std::string(kConvertedNote) + std::string(UnitsName(from)) + ": the Worksheet " +
                             tail + " of " + date + " (stored record " +
                             std::to_string(*records->OnScreen()) + "), " + FactorsText(from, to) + ".";
    const ConversionResult result = ConvertWorksheet(ws, to, note);
    // A new Worksheet: its save stores it beside the one it came from, or asks to replace it.
    records->ScreenCleared();
    ScreenSaved = 0;
    edited_ = rowsTyped_ = true;
    unitsChosen_ = true;
    if (result.leftAsTyped.empty()) return;
    std::string list;
    for (const std::string& name : result.leftAsTyped)
        list += "\n- " + name;
    dialogs_.Notice(
        "Some figures left as typed",
        "These hold a figure that cannot be read as one number in " + std::string(UnitsName(from)) +
            " (a decimal comma, a thousands separator, a figure inside a word or in another unit), "
            "so they were left as typed:\n" +
            list + "\n\nCorrect them before you save.\n\n" + std::string(kContinue),
        Icon::Exclamation);
}

}  // namespace wb
