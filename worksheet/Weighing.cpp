#include "worksheet/Weighing.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Mac.h"
#include "worksheet/Worksheet.h"

namespace wb {
namespace {

constexpr double kPoundsPerKilogram = 1 / 0.45359237;
// Percentages are compared as shown to two decimals would be, not by binary digits beyond.
constexpr double kSlack = 1e-9;
constexpr double kAdviseAbovePercent = 0.5;
constexpr double kNegligibleMacPercent = 0.05;

constexpr Field kScaleFields[] = {Field::Scale1, Field::Scale2, Field::Scale3, Field::Scale4, Field::Scale5};

// Days since 1970-01-01 of a proleptic Gregorian date.
long DayNumber(CalendarDate d) {
    const int y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string Amount(double v) {
    return FormatNumber(v, pattern::Weight);
}
std::string Signed(double v) {
    const std::string text = Amount(v);
    return text.front() == '-' ? text : "+" + text;
}
std::string Percent(double v) {
    return FormatNumber(std::abs(v), pattern::Arm2) + " %";
}

std::string RowName(const Worksheet& ws, int n) {
    const std::string name = ws.ScaleRows().At(n, scale::Dsc).Text();
    return name.empty() ? "Scale row " + std::to_string(n + 1) : name;
}

std::string Days(int days) {
    return std::to_string(days) + (days == 1 ? " day" : " days");
}

}  // namespace

std::string ShopScale::Name() const {
    return makeModel.empty() ? serial : serial + " (" + makeModel + ")";
}

std::optional<CalendarDate> ShopScale::CalibrationDue() const {
    if (!calibrated) return std::nullopt;
    const int months =
        intervalMonths > 0 ? std::min(intervalMonths, kLongestCalibrationMonths) : kDefaultCalibrationMonths;
    return AddMonths(*calibrated, months);
}

CalendarDate AddMonths(CalendarDate d, int months) {
    const int total = d.year * 12 + (d.month - 1) + months;
    CalendarDate out{total / 12, total % 12 + 1, d.day};
    while (!IsRealDate(out) && out.day > 28)
        --out.day;
    return out;
}

int DaysBetween(CalendarDate from, CalendarDate to) {
    return static_cast<int>(DayNumber(to) - DayNumber(from));
}

std::vector<std::string> WeighingWarnings(const Worksheet& ws, const std::vector<ShopScale>& scales,
                                          UnitSystem units) {
    std::vector<std::string> warnings;
    const auto weighed = ParseTypedDate(ws.Get(Field::Date));
    const std::string unit = " " + std::string(WeightUnit(units));
    std::set<std::string> calibrationTold;
    for (int n = 0; n < 5; ++n) {
        const Entry& reading = ws.ScaleRows().At(n, scale::Wgt);
        if (reading.IsEmpty() || reading.Value() == 0) continue;
        const std::string& serial = ws.Get(kScaleFields[n]);
        const std::string row = RowName(ws, n);
        if (serial.empty()) {
            warnings.push_back(row + ": no scale is named for its reading of " + Amount(reading.Value()) +
                               unit + ".");
            continue;
        }
        const auto found = std::find_if(scales.begin(), scales.end(),
                                        [&](const ShopScale& s) { return s.serial == serial; });
        if (found == scales.end()) {
            warnings.push_back(row + ": the scale " + serial + " is not among the shop's scales.");
            continue;
        }
        if (found->capacity && reading.Value() > *found->capacity)
            warnings.push_back("Scale " + found->Name() + " on " + row + ": the reading of " +
                               Amount(reading.Value()) + unit + " is " +
                               Amount(reading.Value() - *found->capacity) + unit + " above its capacity of " +
                               Amount(*found->capacity) + unit + ".");
        if (!calibrationTold.insert(serial).second || !weighed) continue;
        if (!found->calibrated) {
            warnings.push_back("Scale " + found->Name() + ": no calibration date is recorded.");
            continue;
        }
        const CalendarDate due = *found->CalibrationDue();
        if (*weighed > due)
            warnings.push_back("Scale " + found->Name() + ": calibrated " + ShownDate(*found->calibrated) +
                               ", due again " + ShownDate(due) + "; the weighing of " + ShownDate(*weighed) +
                               " is " + Days(DaysBetween(due, *weighed)) + " past its calibration.");
    }
    return warnings;
}

std::vector<std::string> ConditionLines(const Worksheet& ws, UnitSystem units) {
    std::vector<std::string> lines;
    auto add = [&](std::string_view caption, const std::string& text) {
        if (!text.empty()) lines.push_back(std::string(caption) + ": " + text);
    };
    add("Levelled", ws.Get(Field::Levelling));
    const std::string& fuel = ws.Get(Field::FuelState);
    if (fuel == kFuelDrained)
        add("Fuel", "drained to unusable");
    else if (fuel == kFuelFull)
        add("Fuel", "full" + (ws.Get(Field::FuelPerGallon).empty()
                                  ? std::string()
                                  : ", " + ws.Get(Field::FuelPerGallon) + " " +
                                        std::string(WeightUnit(units)) + " per gallon"));
    const std::string& oil = ws.Get(Field::Oil);
    if (oil == kOilFull || oil == kOilDrained) add("Oil", oil);
    add("Other fluids", ws.Get(Field::OtherFluids));
    const std::string& place = ws.Get(Field::WeighPlace);
    if (place == kIndoors || place == kOutdoors) add("Weighed", place);
    add("Weighed by", ws.Get(Field::WeighedBy));
    add("Temperature", ws.Get(Field::Temperature));
    return lines;
}

ReweighAdvice AdviseReweigh(const ReweighInput& in) {
    ReweighAdvice advice;
    const double reference =
        in.maxLandingWeight && *in.maxLandingWeight > 0 ? *in.maxLandingWeight : in.maxWeight;
    if (reference > 0) advice.weightPercent = in.weightChange / reference * 100;
    if (in.mac && in.mac->length > 0) advice.shiftPercentMac = in.armChange / in.mac->length * 100;
    advice.advised =
        (advice.weightPercent && std::abs(*advice.weightPercent) > kAdviseAbovePercent + kSlack) ||
        (advice.shiftPercentMac && std::abs(*advice.shiftPercentMac) > kAdviseAbovePercent + kSlack);
    if (in.lastWeighing && in.intervalMonths > 0) {
        advice.due = AddMonths(*in.lastWeighing, in.intervalMonths);
        advice.overdue = in.today > *advice.due;
    }
    return advice;
}

std::string AdviceText(const ReweighInput& in, const ReweighAdvice& advice, UnitSystem units) {
    if (!advice.advised) return {};
    const double reference =
        in.maxLandingWeight && *in.maxLandingWeight > 0 ? *in.maxLandingWeight : in.maxWeight;
    const std::string weightUnit(WeightUnit(units));
    std::string text = "Reweigh advised: weight " + Signed(in.weightChange) + " " + weightUnit;
    if (advice.weightPercent)
        text += ", " + Percent(*advice.weightPercent) + " of " + Amount(reference) + " " + weightUnit;
    text += "; C.G. " + Signed(in.armChange) + " " + std::string(ArmUnit(units));
    if (advice.shiftPercentMac) text += ", " + Percent(*advice.shiftPercentMac) + " MAC";
    return text;
}

std::string DueText(const ReweighAdvice& advice) {
    if (!advice.due) return {};
    return "Next weighing due " + ShownDate(*advice.due) + (advice.overdue ? " (past due)" : "");
}

int ReweighMonthsOf(std::string_view text) {
    const double months = LeadingNumber(text);
    return months >= 1 && months <= 1200 && months == std::floor(months) ? static_cast<int>(months) : 0;
}

bool NegligibleChange(double rowWeight, double rowArm, double emptyWeight, double emptyArm,
                      const std::optional<MacReference>& mac, UnitSystem units) {
    const double toPounds = units == UnitSystem::PoundInch ? 1.0 : kPoundsPerKilogram;
    const double emptyPounds = std::abs(emptyWeight) * toPounds;
    const double limitPounds = emptyPounds < 5000 ? 1 : emptyPounds <= 50000 ? 2 : 5;
    if (std::abs(rowWeight) * toPounds > limitPounds + kSlack) return false;
    if (!mac || mac->length <= 0) return true;
    const double weight = emptyWeight + rowWeight;
    if (weight <= 0) return false;
    const double arm = (emptyWeight * emptyArm + rowWeight * rowArm) / weight;
    return std::abs(arm - emptyArm) / mac->length * 100 < kNegligibleMacPercent;
}

std::vector<bool> NegligibleRows(const Worksheet& ws, const std::optional<MacReference>& mac,
                                 UnitSystem units) {
    const RowStore& list = ws.InstalledList();
    std::vector<bool> rows(30, false);
    const double emptyWeight = list.At(0, installed::Weight).Value();
    const double emptyArm = list.At(0, installed::Arm).Value();
    for (int r = 1; r < 30; ++r) {
        const bool install = list.At(r, installed::Install).Text() == "X";
        const bool remove = list.At(r, installed::Remove).Text() == "X";
        if (install == remove) continue;  // unmarked, or both marks: no change
        const double w = list.At(r, installed::Weight).Value();
        rows[static_cast<size_t>(r)] = NegligibleChange(install ? w : -w, list.At(r, installed::Arm).Value(),
                                                        emptyWeight, emptyArm, mac, units);
    }
    return rows;
}

// Each aircraft's change is in its own units, so the unit goes with the figure.
std::vector<std::string> DueColumns() {
    return {"Tail", "Last weighing", "Change since", "% of Max Wgt", "Due"};
}

std::vector<std::string> DueCells(const DueLine& line) {
    std::string percent;
    if (line.maxWeight > 0) percent = FormatNumber(line.weightChange / line.maxWeight * 100, pattern::Arm2);
    std::string due = line.due ? ShownDate(*line.due) : "";
    if (line.overdue) due += " (past due)";
    return {line.tail, line.lastWeighing ? ShownDate(*line.lastWeighing) : "none",
            Signed(line.weightChange) + " " + std::string(WeightUnit(line.units)), percent, due};
}

std::optional<MacReference> MacReferenceOf(const Worksheet& ws) {
    const std::optional<MeanChord> chord = MeanChordOf(ws);
    if (!chord) return std::nullopt;
    return MacReference{chord->lemac.ToDouble(), chord->mac.ToDouble()};
}

}  // namespace wb
