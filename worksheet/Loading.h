// Can the aircraft still be loaded within its limits? The aircraft's loading data (stations,
// the C.G. envelope, fuel and oil), the most forward and most rearward extreme-condition
// checks of AC 43.13-1B §10-16 and §10-17 worked from the new empty weight and C.G., and the
// loading schedule of §10-18. The data is kept as typed; it is read into numbers only here,
// and data that cannot be right is refused with the reason, never stored.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/Decimal.h"
#include "worksheet/Envelope.h"
#include "worksheet/UnitSystem.h"

namespace wb {

class Worksheet;

// ---- the data as typed --------------------------------------------------------------------

enum class StationKind { SeatWithControls, Seat, Baggage, FuelTank, Oil };
inline constexpr std::array<StationKind, 5> kAllStationKinds = {
    StationKind::SeatWithControls, StationKind::Seat, StationKind::Baggage, StationKind::FuelTank,
    StationKind::Oil};

// The kind as the store keeps it ("pilot", "seat", "baggage", "fuel", "oil").
std::string_view KindCode(StationKind kind);
// The kind as the panel shows it ("Seat with controls", ...).
std::string_view KindName(StationKind kind);
// A kind from its code or its name, any case, blanks at either end ignored.
std::optional<StationKind> KindFromText(std::string_view text);

inline constexpr int kStationRows = 10;   // rows of the stations grid
inline constexpr int kEnvelopeRows = 12;  // points of each category's outline

namespace station {  // columns of the stations grid
enum : int { Name, Kind, Arm, Seats, Capacity, MaxWeight, Count };
}
namespace point {  // columns of an envelope grid
enum : int { Weight, Arm, Count };
}

enum class Category { Normal, Utility };

// The boxes of the loading panel.
enum class LoadingBox { MaxLanding, FuelWeight, OilWeight, MetoHp, Occupant };
inline constexpr std::array<LoadingBox, 5> kAllLoadingBoxes = {LoadingBox::MaxLanding, LoadingBox::FuelWeight,
                                                               LoadingBox::OilWeight, LoadingBox::MetoHp,
                                                               LoadingBox::Occupant};

// The aircraft's loading data, each cell and box as typed. The maximum weight is the
// Worksheet's own Max Wgt. A station's capacity is a fuel tank's usable fuel (gal, or L) or
// the oil tank's oil (qt, or L); its maximum weight is the placarded one, where there is one.
struct LoadingTexts {
    using StationRow = std::array<std::string, station::Count>;
    using PointRow = std::array<std::string, point::Count>;
    // (Strings start empty; no "{}" here, which clang 14 cannot compile for arrays of arrays.)
    std::array<StationRow, kStationRows> stations;
    std::array<PointRow, kEnvelopeRows> normal, utility;
    std::string maxLanding;  // maximum landing weight, optional
    std::string fuelWeight;  // weight of a gallon (litre) of fuel; empty: 6 lb (0.72 kg)
    std::string oilWeight;   // weight of a gallon (litre) of oil; empty: 7.5 lb (0.9 kg)
    std::string metoHp;      // the engine's METO horsepower, for the minimum fuel
    std::string occupant;    // the standard weight of the pilot and of each passenger; empty: 170 lb (77 kg)

    std::array<PointRow, kEnvelopeRows>& Points(Category c) { return c == Category::Normal ? normal : utility; }
    const std::array<PointRow, kEnvelopeRows>& Points(Category c) const {
        return c == Category::Normal ? normal : utility;
    }
    std::string& Box(LoadingBox b);
    const std::string& Box(LoadingBox b) const;
    // Nothing typed anywhere (blanks count as nothing).
    bool Empty() const;
    bool operator==(const LoadingTexts&) const = default;
};

// ---- units ---------------------------------------------------------------------------------

// The volume words beside the unit system's own: fuel in US gallons or litres, oil in quarts
// or litres.
std::string_view FuelVolumeUnit(UnitSystem u);
std::string_view OilVolumeUnit(UnitSystem u);
double DefaultFuelWeight(UnitSystem u);  // per gallon or litre
double DefaultOilWeight(UnitSystem u);   // per gallon or litre
double DefaultOccupant(UnitSystem u);
// The minimum fuel of §10-16: METO horsepower ÷ 12, in US gallons (its litres in metric).
double MinimumFuel(double metoHp, UnitSystem u);

// The unit system the loading figures are worked in. The Worksheet carries none yet: pound
// and inch, until it does.
UnitSystem LoadingUnits(const Worksheet& ws);

// ---- the data read --------------------------------------------------------------------------

struct Station {
    int row = 0;  // in the grid, from 0
    std::string name;
    StationKind kind = StationKind::Seat;
    Decimal arm;       // as typed, digit for digit
    double armValue = 0;
    int seats = 1;     // seats and seats with controls
    double capacity = 0;               // fuel tanks and oil
    std::optional<Decimal> maxWeight;  // placarded, as typed
    // The name as the tables print it: the typed one, or the kind's.
    std::string Label() const;
};

struct LoadingData {
    std::vector<Station> stations;
    std::vector<EnvelopePoint> normal, utility;
    std::optional<double> maxLanding, metoHp;
    double fuelWeight = 6, oilWeight = 7.5, occupant = 170;  // the defaults filled in
    bool HasEnvelope() const { return !normal.empty(); }
};

struct LoadingRead {
    LoadingData data;
    // Why the data cannot be right, one clear line each: nothing refused is ever stored.
    std::vector<std::string> refusals;
    bool Refused() const { return !refusals.empty(); }
};

// Reads the typed data. Refused: a station without an arm or a kind, or with a negative
// capacity, seat count or weight; a fuel or oil tank without its capacity; a baggage station
// without its placarded maximum; an envelope of fewer than three points, or one that crosses
// itself or encloses nothing; a point without its weight or arm; a cell or box that is not a
// number. Blank rows are passed over.
LoadingRead ReadLoading(const LoadingTexts& texts, UnitSystem units);

// ---- the checks -------------------------------------------------------------------------------

// One line of a loading table, its figures as printed: weight and arm with the decimals they
// were typed with (two at least), the moment their exact product to one decimal.
struct LoadingLine {
    std::string item;
    std::string weight, arm, moment;
};

// What a loading's weight and C.G. come to against the limits, compared as they are printed
// (the C.G. and the limits to two decimals), so the words never contradict the numbers.
struct Verdict {
    bool within = false;
    std::string limits;  // "Limits at 1439.00 lb: +8.50 to +21.90"; or why there are none
    std::string result;  // "Satisfactory", or by how much the loading is outside
};

struct LoadingTable {
    std::string title;
    std::vector<LoadingLine> lines;
    std::string totalWeight, totalMoment, cg;  // as printed: "1439.00", "16104.4", "+11.19"
    double weight = 0, cgValue = 0;            // the printed totals, for the chart
    Verdict normal;
    std::optional<Verdict> utility;   // with a utility category
    std::optional<std::string> landing;  // over the maximum landing weight, and by how much
};

struct ScheduleCase {
    std::string label;       // "(a) With full fuel"
    bool permissible = false;
    std::string fuel;        // "40 gal (240 lb)"
    std::string passengers;  // "2 (Rear seats: 2)"
    std::string baggage;     // "100 lb"
    std::string weight, cg;  // as printed
    std::string result;      // "Within the envelope", or why not
    double weightValue = 0, cgValue = 0;
};

struct LoadingEvaluation {
    UnitSystem units = UnitSystem::PoundInch;
    LoadingRead read;
    // Why the checks cannot be made yet, though nothing is refused: no new empty weight, no
    // envelope, no seat with controls, no METO horsepower for the minimum fuel.
    std::vector<std::string> missing;
    std::optional<double> maxWeight;
    std::string emptyWeight, emptyArm;  // as shown on the Worksheet
    std::optional<LoadingTable> forward, aft;
    std::vector<ScheduleCase> schedule;

    // Anything typed: the loading section is shown and printed.
    bool HasData() const { return hasData; }
    bool hasData = false;
};

// The checks and the schedule from the typed data, the new empty weight and C.G. (as the
// Worksheet computed them), and the Worksheet's maximum weight text.
LoadingEvaluation EvaluateLoading(const LoadingTexts& texts, double newWeight, double newArm,
                                  std::string_view maxWeight, UnitSystem units);
LoadingEvaluation EvaluateLoading(const Worksheet& ws);

// The rules the figures follow, for the panel and the page to state: fuel and oil weights
// rounded up to the whole unit of weight.
std::string RoundingNote(UnitSystem units);

}  // namespace wb
