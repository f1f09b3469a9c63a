// The weighing record on screen: the weighing panel (the scale under each scale row and the
// conditions), the set-up's scales panel, the warnings a save tells, the history panel's
// reweigh advice and the list of aircraft due for reweighing.
#include "app/MainForm.h"
#include "store/Records.h"
#include "store/Scales.h"
#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

constexpr const char* kContinue = "Press OK to continue";

bool IsWeighingField(Field f) {
    return static_cast<int>(f) >= static_cast<int>(Field::Scale1) &&
           static_cast<int>(f) <= static_cast<int>(Field::ReweighMonths);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

void MainForm::ReadShopScales() {
    shopScales.clear();
    if (!records) return;
    try {
        shopScales = ReadScales(records->db());
    } catch (const std::exception& e) {
        if (!MetDamage(e))
            dialogs_.Notice("Database error", std::string(e.what()) + "\n\n" + kContinue, Icon::Critical);
    }
}

void MainForm::ClickWeighing() {
    if (Visible(Control::WeighingPanel)) {
        SetVisible(Control::WeighingPanel, false);
        return;
    }
    ReadShopScales();
    SetVisible(Control::WeighingPanel, true);
    SetFocus(Control::WeighingClose);
}

void MainForm::WeighingFieldChanged(Field f, std::string text) {
    if (!IsWeighingField(f) || !Usable(Control::WeighingPanel)) return;
    const size_t limit = static_cast<size_t>(InfoOf(f).maxChars);
    if (limit > 0 && text.size() > limit) text = text.substr(0, limit);
    ws.Set(f, std::move(text));
}

std::vector<std::string> MainForm::WeighingWarningsNow() const {
    // Until the shop keeps its scales there is none to name: no row is told it names none.
    if (shopScales.empty()) return {};
    return WeighingWarnings(ws, shopScales);
}

void MainForm::TellWeighingWarnings() {
    ReadShopScales();
    const std::vector<std::string> warnings = WeighingWarningsNow();
    if (warnings.empty()) return;
    dialogs_.Notice("Weighing warnings",
                    "The Worksheet is stored. Its weighing has these warnings, printed with the report:\n\n" +
                        Joined(warnings) + "\n\n" + kContinue,
                    Icon::Exclamation);
}

void MainForm::ClickScales() {
    if (Visible(Control::ScalesPanel)) {
        SetVisible(Control::ScalesPanel, false);
        return;
    }
    ReadShopScales();
    SetVisible(Control::ScalesPanel, true);
    SetFocus(Control::ScalesClose);
}

bool MainForm::KeepScale(const TypedScale& typed) {
    if (!records) {
        dialogs_.Notice("Scale not stored", NoStoreReason() + "\n\n" + kContinue, Icon::Critical);
        return false;
    }
    if (const std::string reason = ReadOnlyReason(); !reason.empty()) {
        dialogs_.Notice("Scale not stored", reason + "\n\n" + kContinue, Icon::Critical);
        return false;
    }
    Scale scale;
    scale.id = typed.id;
    scale.serial = typed.serial;
    scale.makeModel = typed.makeModel;
    if (!typed.capacity.empty()) scale.capacity = LeadingNumber(typed.capacity);
    if (!typed.calibrated.empty()) {
        scale.calibrated = ParseTypedDate(typed.calibrated);
        if (!scale.calibrated) {
            dialogs_.Notice(
                "Scale not stored",
                "The date last calibrated is not a date (mm-dd-yyyy).\n\n" + std::string(kContinue),
                Icon::Critical);
            return false;
        }
    }
    const double months =
        typed.intervalMonths.empty() ? kDefaultCalibrationMonths : LeadingNumber(typed.intervalMonths);
    if (months < 1 || months > kLongestCalibrationMonths) {
        dialogs_.Notice(
            "Scale not stored",
            "The calibration interval is a number of months from 1 to 24.\n\n" + std::string(kContinue),
            Icon::Critical);
        return false;
    }
    scale.intervalMonths = static_cast<int>(months);
    for (const Scale& kept : shopScales)
        if (kept.id == scale.id) scale.retired = kept.retired;
    try {
        StoreScale(records->db(), scale);
    } catch (const ScaleRefused& e) {
        dialogs_.Notice("Scale not stored", std::string(e.what()) + "\n\n" + kContinue, Icon::Critical);
        return false;
    } catch (const std::exception& e) {
        if (!MetDamage(e))
            dialogs_.Notice("Scale not stored", std::string(e.what()) + "\n\n" + kContinue, Icon::Critical);
        return false;
    }
    ReadShopScales();
    return true;
}

void MainForm::RemoveShopScale(std::int64_t id) {
    if (!records || !ReadOnlyReason().empty()) return;
    try {
        if (!RemoveScale(records->db(), id))
            dialogs_.Notice("Scale retired",
                            "A stored weighing names this scale, so it is kept as retired: it is no longer "
                            "offered for new weighings.\n\n" +
                                std::string(kContinue),
                            Icon::Information);
    } catch (const std::exception& e) {
        if (!MetDamage(e))
            dialogs_.Notice("Database error", std::string(e.what()) + "\n\n" + kContinue, Icon::Critical);
    }
    ReadShopScales();
}

void MainForm::ReadReweighAdvice() {
    ReweighInput in;
    in.weightChange = history.weightChange;
    in.armChange = history.armChange;
    in.maxWeight = LeadingNumber(Text(Control::Text11));
    if (in.maxWeight <= 0)
        if (const ChainEntry* latest = history.Latest(); latest && latest->usefulLoad)
            in.maxWeight = *latest->usefulLoad + latest->newWeight;
    if (history.fromWeighing) in.lastWeighing = ParseTypedDate(history.since);
    // The interval is the aircraft's: a screen without one takes its latest record's.
    std::string months = ws.Get(Field::ReweighMonths);
    if (months.empty() && records) {
        try {
            months = LatestReweighMonths(records->db(), history.tail);
        } catch (const std::exception&) {
            // Without it no due date is shown; the history itself was read.
        }
    }
    in.intervalMonths = ReweighMonthsOf(months);
    in.today = clock_.Today();
    reweighInput = in;
    reweighAdvice = AdviseReweigh(in);
}

void MainForm::ClickDueList() {
    if (Visible(Control::DuePanel)) {
        SetVisible(Control::DuePanel, false);
        return;
    }
    dueList.clear();
    if (records) {
        try {
            dueList = DueForReweighing(records->db(), clock_.Today());
        } catch (const std::exception& e) {
            if (!MetDamage(e))
                dialogs_.Notice("Database error", std::string(e.what()) + "\n\n" + kContinue, Icon::Critical);
            return;
        }
    }
    ++dueReads;
    SetVisible(Control::DuePanel, true);
    SetFocus(Control::DueClose);
}

}  // namespace wb
