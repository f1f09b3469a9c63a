// The weighing record on screen: the weighing panel (the scale under each scale row and the
// conditions), the set-up's scales panel, the warnings a save tells, the history panel's
// reweigh advice and the list of aircraft due for reweighing.
#include <algorithm>

#include "app/MainForm.h"
#include "app/ReportLines.h"
#include "store/History.h"
#include "store/Records.h"
#include "store/Scales.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

constexpr const char* kContinue = "Press OK to continue";

bool IsWeighingField(Field f) {
    return static_cast<int>(f) >= static_cast<int>(Field::Scale1) &&
           static_cast<int>(f) <= static_cast<int>(Field::ReweighMonths);
}

std::vector<std::string> WarningsAgainst(const Worksheet& ws, const std::vector<ShopScale>& scales) {
    // Until the shop keeps its scales there is none to name: no row is told it names none.
    if (scales.empty()) return {};
    return WeighingWarnings(ws, scales, wb::Units(ws));
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
    return WarningsAgainst(ws, shopScales);
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
    ShopScale scale;
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
    for (const ShopScale& kept : shopScales)
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

namespace {

// The advisor's figures for a tail's record: the net change since its last weighing, the
// maximum weight on screen (or its latest record's), its reweigh interval.
ReweighInput ReweighInputFor(const RecordChain& chain, const Worksheet& ws, Database* db,
                             CalendarDate today) {
    ReweighInput in;
    in.weightChange = chain.weightChange;
    in.armChange = chain.armChange;
    in.maxWeight = LeadingNumber(ws.Get(Field::MaxWt));
    if (in.maxWeight <= 0)
        if (const ChainEntry* latest = chain.Latest(); latest && latest->usefulLoad)
            in.maxWeight = *latest->usefulLoad + latest->newWeight;
    if (chain.fromWeighing) in.lastWeighing = ParseTypedDate(chain.since);
    // The interval is the aircraft's: a screen without one takes the one last set.
    std::string months = ws.Get(Field::ReweighMonths);
    if (months.empty() && db != nullptr) {
        try {
            months = LatestReweighMonths(*db, chain.tail);
        } catch (const std::exception&) {
            // Without it no due date is shown; the record itself was read.
        }
    }
    in.intervalMonths = ReweighMonthsOf(months);
    in.mac = MacReferenceOf(ws);
    // The maximum landing weight of the loading data, where one is typed, is the reference.
    if (const double landing = LeadingNumber(ws.loading.maxLanding); landing > 0)
        in.maxLandingWeight = landing;
    in.today = today;
    return in;
}

}  // namespace

void MainForm::ReadReweighAdvice() {
    reweighInput = ReweighInputFor(history, ws, records ? &records->db() : nullptr, clock_.Today());
    reweighAdvice = AdviseReweigh(reweighInput);
}

std::vector<WeighingLine> WeighingReportLines(const Worksheet& ws, const std::vector<ShopScale>& scales,
                                              const RecordChain* chain, Database* db, CalendarDate today) {
    std::vector<WeighingLine> lines;
    constexpr Field kScaleFields[] = {Field::Scale1, Field::Scale2, Field::Scale3, Field::Scale4,
                                      Field::Scale5};
    for (int n = 0; n < 5; ++n) {
        const Entry& reading = ws.ScaleRows().At(n, scale::Wgt);
        const std::string& serial = ws.Get(kScaleFields[n]);
        if ((reading.IsEmpty() || reading.Value() == 0) && serial.empty()) continue;
        std::string line = ws.ScaleRows().At(n, scale::Dsc).Text() + ": ";
        const auto found = std::find_if(scales.begin(), scales.end(),
                                        [&](const ShopScale& s) { return s.serial == serial; });
        if (serial.empty())
            line += "no scale named";
        else if (found == scales.end())
            line += "scale " + serial;
        else
            line += "scale " + found->Name() +
                    (found->calibrated ? ", calibrated " + ShownDate(*found->calibrated) : std::string());
        lines.push_back({line, false});
    }
    for (std::string& condition : ConditionLines(ws, wb::Units(ws)))
        lines.push_back({std::move(condition), false});
    for (const std::string& warning : WarningsAgainst(ws, scales))
        lines.push_back({"Warning: " + warning, true});
    if (chain != nullptr) {
        const ReweighInput in = ReweighInputFor(*chain, ws, db, today);
        const ReweighAdvice advice = AdviseReweigh(in);
        if (const std::string text = AdviceText(in, advice, wb::Units(ws)); !text.empty())
            lines.push_back({text, true});
        if (const std::string due = DueText(advice); !due.empty()) lines.push_back({due, advice.overdue});
    }
    return lines;
}

std::vector<WeighingLine> MainForm::WeighingReportLines() {
    ReadShopScales();
    std::optional<RecordChain> chain;
    if (records && !Text(Control::Text1).empty()) {
        try {
            chain = ReadHistory(records->db(), Text(Control::Text1));
        } catch (const std::exception&) {
            // The record could not be read: the report says what the screen holds.
        }
    }
    return wb::WeighingReportLines(ws, shopScales, chain ? &*chain : nullptr,
                                   records ? &records->db() : nullptr, clock_.Today());
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
