// The weighing on record: the shop's scales, the warnings a weighing earns from them, and the
// reweigh advisor (how far the aircraft has changed since it was last weighed, and when it is
// due again). Plain arithmetic over plain values; the store fills them, the window and the
// reports show them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/Dates.h"
#include "worksheet/UnitSystem.h"

namespace wb {

class Worksheet;

inline constexpr int kDefaultCalibrationMonths = 24;
// A maker may ask for a shorter interval, never a longer one than this.
inline constexpr int kLongestCalibrationMonths = 24;

// The codes the condition fields hold.
inline constexpr std::string_view kFuelDrained = "unusable";
inline constexpr std::string_view kFuelFull = "full";
inline constexpr std::string_view kOilFull = "full";
inline constexpr std::string_view kOilDrained = "drained";
inline constexpr std::string_view kIndoors = "indoors";
inline constexpr std::string_view kOutdoors = "outdoors";

// One of the shop's scales, kept once in set-up and named by its serial in each weighing.
struct ShopScale {
    std::int64_t id = 0;  // 0: not stored yet
    std::string serial, makeModel;
    std::optional<double> capacity;
    std::optional<CalendarDate> calibrated;
    int intervalMonths = kDefaultCalibrationMonths;
    bool retired = false;

    // "12345 (Acme WS-1)", or the serial alone.
    std::string Name() const;
    // The last day it may weigh on: its calibration plus its interval, never more than 24 months.
    std::optional<CalendarDate> CalibrationDue() const;
};

// The same day `months` later; a day beyond the end of the month becomes its last day.
CalendarDate AddMonths(CalendarDate d, int months);
// Days from `from` to `to`, negative when `to` comes first.
int DaysBetween(CalendarDate from, CalendarDate to);

// What the Worksheet's weighing earns from the scales it names: a scale past its calibration on
// the weighing date, a reading above a scale's capacity, a reading on a row with no scale named
// (or one the shop does not keep). Each names the row or scale and by how much. Never a reason
// to refuse a save.
std::vector<std::string> WeighingWarnings(const Worksheet& ws, const std::vector<ShopScale>& scales,
                                          UnitSystem units);

// The conditions of the weighing in words, one line each ("Fuel: drained to unusable"), for
// the report; nothing when none was recorded.
std::vector<std::string> ConditionLines(const Worksheet& ws, UnitSystem units);

// The mean aerodynamic chord, when the aircraft's is known: its leading edge's arm and length.
struct MacReference {
    double lemac = 0, length = 0;
};

struct ReweighInput {
    // Net change since the last weighing: +6 and -6 cancel.
    double weightChange = 0, armChange = 0;
    // The reference weight: the maximum landing weight, or the maximum weight without one.
    std::optional<double> maxLandingWeight;
    double maxWeight = 0;
    std::optional<MacReference> mac;
    std::optional<CalendarDate> lastWeighing;
    int intervalMonths = 0;  // 0: no reweigh interval
    CalendarDate today;
};

struct ReweighAdvice {
    std::optional<double> weightPercent;    // of the reference weight; none without one
    std::optional<double> shiftPercentMac;  // none without a MAC
    bool advised = false;
    std::optional<CalendarDate> due;
    bool overdue = false;
};

// Over 0.5 % of the reference weight, or over 0.5 % MAC, a reweighing is advised.
ReweighAdvice AdviseReweigh(const ReweighInput& in);
// "Reweigh advised: weight +11.00 lb, 0.55 % of 2000.00 lb; C.G. +0.31 in, 0.52 % MAC", or
// nothing when not advised.
std::string AdviceText(const ReweighInput& in, const ReweighAdvice& advice, UnitSystem units);
// "Next weighing due 03-14-2026", "... (past due)"; nothing without an interval or a weighing.
std::string DueText(const ReweighAdvice& advice);

// The reweigh interval a ReweighMonths field holds: 0 for none or for anything not a whole
// number of months.
int ReweighMonthsOf(std::string_view text);

// A change of `rowWeight` (negative when removed) at `rowArm` to an empty weight and C.G. is
// negligible when its weight is within 1 lb (empty weight under 5,000 lb), 2 lb (to
// 50,000 lb) or 5 lb (above), and, where a MAC is known, it moves the C.G. under 0.05 % MAC.
bool NegligibleChange(double rowWeight, double rowArm, double emptyWeight, double emptyArm,
                      const std::optional<MacReference>& mac, UnitSystem units);
// For each InstalledList row (0 to 29), whether it is a marked change whose effect on the
// previous empty weight and C.G. (row 0) is negligible.
std::vector<bool> NegligibleRows(const Worksheet& ws, const std::optional<MacReference>& mac,
                                 UnitSystem units);
// The aircraft's chord as the advisor takes it; nothing without a usable one.
std::optional<MacReference> MacReferenceOf(const Worksheet& ws);

// A line of the weighing record as printed; marked ones (warnings, advice, a past due date)
// stand out.
struct WeighingLine {
    std::string text;
    bool marked = false;
};

// One aircraft in the list of those due for reweighing.
struct DueLine {
    std::string tail;
    std::optional<CalendarDate> lastWeighing;  // none: never weighed in the records
    double weightChange = 0;                   // net, since the last weighing (or the first record)
    double maxWeight = 0;
    std::optional<CalendarDate> due;  // none without a weighing or an interval
    bool overdue = false;
    UnitSystem units = UnitSystem::PoundInch;  // the aircraft's latest Worksheet's
};
// The list's columns and one line's cells: tail, last weighing, cumulative change, the change
// as a percentage of the maximum weight, due date.
std::vector<std::string> DueColumns();
std::vector<std::string> DueCells(const DueLine& line);

}  // namespace wb
