#include "worksheet/Loading.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"
#include "worksheet/Units.h"
#include "worksheet/Worksheet.h"

namespace wb {
namespace {

std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A number without binary noise: the shortest decimal text that reads back as the double.
Decimal Exact(double value) {
    return Decimal::Read(NumberText(value, 15));
}

// A figure as the tables print it: the decimals it was typed or worked with, two at least.
std::string Figure(const Decimal& d) {
    return d.Text(std::max(2, d.Decimals()));
}

// A C.G. or limit: two decimals with its sign.
std::string Signed(const Decimal& d) {
    const std::string text = d.Text(2);
    return text.front() == '-' ? text : "+" + text;
}

Decimal Round2(double value) {
    return Exact(value).Rounded(2);
}

std::string Weight(const Decimal& w, UnitSystem u) {
    return w.Formatted(pattern::NewWeight) + " " + std::string(WeightUnit(u));
}

std::string Weight(double w, UnitSystem u) {
    return FormatNumber(w, pattern::NewWeight) + " " + std::string(WeightUnit(u));
}

// A volume or a weight to two decimals, without trailing zeros: "13.75", "40", "52.05".
std::string Plain(double v) {
    std::string text = Exact(v).Text(2);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// A fuel or oil weight: rounded up to the whole unit, a hair of floating-point error apart.
double WholeUp(double weight) {
    return std::max(0.0, std::ceil(weight - 1e-9));
}

// ---- reading --------------------------------------------------------------------------

class Reader {
  public:
    explicit Reader(UnitSystem units) : units_(units) {}

    // A cell that must be a number when typed: nothing for a blank one; a refusal for text.
    std::optional<double> Number(const std::string& text, const std::string& what) {
        const std::string t = Trim(text);
        if (t.empty()) return std::nullopt;
        if (!NumericText(t)) {
            Refuse(what + ": " + Quoted(t) + " is not a number.");
            return std::nullopt;
        }
        return LeadingNumber(t);
    }
    std::optional<double> NotNegative(const std::string& text, const std::string& what) {
        std::optional<double> v = Number(text, what);
        if (v && *v < 0) {
            Refuse(what + " cannot be negative (" + Trim(text) + ").");
            return std::nullopt;
        }
        return v;
    }
    void Refuse(std::string why) { read.refusals.push_back(std::move(why)); }

    void Stations(const LoadingTexts& t) {
        for (int r = 0; r < kStationRows; ++r) {
            const auto& row = t.stations[static_cast<size_t>(r)];
            if (std::all_of(row.begin(), row.end(), [](const std::string& c) { return Trim(c).empty(); }))
                continue;
            Station s;
            s.row = r;
            s.name = Trim(row[station::Name]);
            const std::string who =
                "Station " + std::to_string(r + 1) + (s.name.empty() ? "" : " (" + s.name + ")");
            const std::optional<StationKind> kind = KindFromText(row[station::Kind]);
            bool sound = true;
            if (!kind) {
                Refuse(who + ": " +
                       (Trim(row[station::Kind]).empty() ? std::string("no kind")
                                                         : "the kind " + Quoted(Trim(row[station::Kind])) +
                                                               " is not one the program knows") +
                       " (seat with controls, seat, baggage, fuel tank or oil).");
                sound = false;
            }
            const std::string armText = Trim(row[station::Arm]);
            if (armText.empty()) {
                Refuse(who + ": no arm. Every station needs its arm.");
                sound = false;
            } else if (std::optional<double> arm = Number(armText, who + ", arm")) {
                s.arm = Decimal::Read(armText);
                s.armValue = *arm;
            } else {
                sound = false;
            }
            if (!kind) {
                continue;
            }
            s.kind = *kind;
            const bool seat = s.kind == StationKind::SeatWithControls || s.kind == StationKind::Seat;
            const bool tank = s.kind == StationKind::FuelTank || s.kind == StationKind::Oil;
            if (seat) {
                if (std::optional<double> n = NotNegative(row[station::Seats], who + ", seats")) {
                    if (*n < 1 || *n != std::floor(*n)) {
                        Refuse(who + ": the number of seats must be a whole number, one or more.");
                        sound = false;
                    } else {
                        s.seats = static_cast<int>(std::min(*n, 99.0));
                    }
                } else if (!Trim(row[station::Seats]).empty()) {
                    sound = false;
                }
            }
            if (tank) {
                const std::string what = who + ", capacity";
                if (Trim(row[station::Capacity]).empty()) {
                    Refuse(who + ": no capacity. A " +
                           (s.kind == StationKind::Oil ? "oil tank needs its capacity in " +
                                                             std::string(OilVolumeUnit(units_))
                                                       : "fuel tank needs its usable fuel in " +
                                                             std::string(FuelVolumeUnit(units_))) +
                           ".");
                    sound = false;
                } else if (std::optional<double> c = NotNegative(row[station::Capacity], what)) {
                    s.capacity = *c;
                } else {
                    sound = false;
                }
            }
            const std::string maxText = Trim(row[station::MaxWeight]);
            if (NotNegative(maxText, who + ", maximum weight")) {
                s.maxWeight = Decimal::Read(maxText);
            } else if (!maxText.empty()) {
                sound = false;
            }
            if (s.kind == StationKind::Baggage && maxText.empty()) {
                Refuse(who + ": no maximum weight. A baggage station needs its placarded maximum.");
                sound = false;
            }
            if (sound) read.data.stations.push_back(std::move(s));
        }
    }

    void Outline(const LoadingTexts& t, Category c) {
        const std::string category = c == Category::Normal ? "normal" : "utility";
        std::vector<EnvelopePoint> points;
        std::vector<int> rows;  // the grid row of each point: the numbers the mechanic sees
        bool sound = true;
        for (int r = 0; r < kEnvelopeRows; ++r) {
            const auto& row = t.Points(c)[static_cast<size_t>(r)];
            const std::string w = Trim(row[point::Weight]), a = Trim(row[point::Arm]);
            if (w.empty() && a.empty()) continue;
            const std::string who = "Envelope (" + category + "), point " + std::to_string(r + 1);
            if (w.empty() || a.empty()) {
                Refuse(who + ": " + (w.empty() ? "no weight" : "no arm") + ". Each point needs both.");
                sound = false;
                continue;
            }
            const std::optional<double> weight = NotNegative(w, who + ", weight");
            const std::optional<double> arm = Number(a, who + ", arm");
            if (!weight || !arm) {
                sound = false;
                continue;
            }
            points.push_back({*weight, *arm});
            rows.push_back(r + 1);
        }
        if (!sound) return;
        if (points.empty()) return;
        if (const std::optional<OutlineFault> fault = CheckOutline(points)) {
            const auto row = [&](int n) { return std::to_string(n >= 1 ? rows[static_cast<size_t>(n - 1)] : n); };
            const std::string env = "The " + category + " category's envelope ";
            switch (fault->kind) {
                case OutlineFault::Kind::TooFewPoints:
                    Refuse(env + "has " + std::to_string(points.size()) + (points.size() == 1 ? " point" : " points") +
                           ": it needs three at least.");
                    break;
                case OutlineFault::Kind::RepeatedPoint:
                    Refuse(env + "repeats a point: point " + row(fault->first) + " is point " + row(fault->second) +
                           " again.");
                    break;
                case OutlineFault::Kind::CrossesItself:
                    Refuse(env + "crosses itself: the edge from point " + row(fault->first) +
                           " meets the edge from point " + row(fault->second) +
                           ". Type the points in order around the envelope.");
                    break;
                case OutlineFault::Kind::NoArea:
                    Refuse(env + "encloses nothing: all its points lie on one line.");
                    break;
            }
            return;
        }
        (c == Category::Normal ? read.data.normal : read.data.utility) = std::move(points);
    }

    void Boxes(const LoadingTexts& t) {
        read.data.maxLanding = NotNegative(t.maxLanding, "Maximum landing weight");
        read.data.metoHp = NotNegative(t.metoHp, "METO horsepower");
        const auto positive = [&](const std::string& text, const std::string& what, double fallback) {
            const std::optional<double> v = NotNegative(text, what);
            if (v && *v == 0) {
                Refuse(what + " must be more than 0.");
                return fallback;
            }
            return v.value_or(fallback);
        };
        read.data.fuelWeight =
            positive(t.fuelWeight, "Fuel weight per " + std::string(units_ == UnitSystem::PoundInch ? "gallon" : "litre"),
                     DefaultFuelWeight(units_));
        read.data.oilWeight =
            positive(t.oilWeight, "Oil weight per " + std::string(units_ == UnitSystem::PoundInch ? "gallon" : "litre"),
                     DefaultOilWeight(units_));
        read.data.occupant = positive(t.occupant, "Standard occupant weight", DefaultOccupant(units_));
    }

    LoadingRead read;

  private:
    UnitSystem units_;
};

// ---- loads ----------------------------------------------------------------------------------

// The loading worked out for one case: per station the weight aboard and what it is.
struct Load {
    std::vector<double> weight;       // per station
    std::vector<double> volume;       // per station: fuel aboard (fuel tanks)
    std::vector<int> persons;         // per station: passengers (seats)
    std::vector<std::string> detail;  // per station: "(2 passengers)", "(minimum fuel, 13.75 gal)"
    int pilot = -1;                   // the station the pilot sits at
};

struct Item {
    std::string label;
    Decimal weight, arm;
};

// The largest amount from `top` down to `bottom` that `fits`: `top` itself (it may hold a
// fraction), then whole units below it. A range of more than 2000 units is first tried in
// steps of a two-thousandth of it, then unit by unit above the step that fitted, so that an
// airliner's tanks are tried as quickly as a light aircraft's.
std::optional<double> Largest(double top, double bottom, const std::function<bool(double)>& fits) {
    if (!(top >= bottom)) return std::nullopt;
    if (fits(top)) return top;
    const double whole = std::floor(top) == top ? top - 1 : std::floor(top);
    if (whole < bottom) return std::nullopt;
    const double step = std::max(1.0, std::floor((whole - bottom) / 2000));
    double v = whole;
    for (int tries = 0; tries <= 2001 && v >= bottom; ++tries, v -= step) {
        if (!fits(v)) continue;
        if (step <= 64)
            for (double u = std::min(whole, v + step - 1); u > v; u -= 1)
                if (fits(u)) return u;
        return v;
    }
    if (fits(bottom)) return bottom;
    return std::nullopt;
}

class Evaluator {
  public:
    Evaluator(const LoadingData& d, UnitSystem u, Decimal emptyWeight, Decimal emptyArm,
              std::optional<double> maxWeight)
        : d_(d), u_(u), emptyWeight_(std::move(emptyWeight)), emptyArm_(std::move(emptyArm)), maxWeight_(maxWeight) {
        w0_ = emptyWeight_.ToDouble();
        m0_ = w0_ * emptyArm_.ToDouble();
    }

    size_t Count() const { return d_.stations.size(); }
    const Station& At(size_t i) const { return d_.stations[i]; }
    bool Is(size_t i, StationKind k) const { return d_.stations[i].kind == k; }
    bool IsSeat(size_t i) const { return Is(i, StationKind::SeatWithControls) || Is(i, StationKind::Seat); }

    Load Empty() const {
        Load l;
        l.weight.assign(Count(), 0);
        l.volume.assign(Count(), 0);
        l.persons.assign(Count(), 0);
        l.detail.assign(Count(), "");
        // Full oil in every case.
        for (size_t i = 0; i < Count(); ++i)
            if (Is(i, StationKind::Oil)) {
                l.weight[i] = OilWeight(At(i).capacity);
                l.detail[i] = "(full, " + Plain(At(i).capacity) + " " + std::string(OilVolumeUnit(u_)) + ")";
            }
        return l;
    }

    double OilWeight(double volume) const {
        const double perUnit = u_ == UnitSystem::PoundInch ? d_.oilWeight / 4 : d_.oilWeight;
        return WholeUp(volume * perUnit);
    }
    double FuelWeight(double volume) const { return WholeUp(volume * d_.fuelWeight); }

    void SetFuel(Load& l, size_t i, double volume, const std::string& how) const {
        l.volume[i] = volume;
        l.weight[i] = FuelWeight(volume);
        const std::string v = Plain(volume) + " " + std::string(FuelVolumeUnit(u_));
        l.detail[i] = how.empty() ? "(" + v + ")" : "(" + how + ", " + v + ")";
    }

    void SetPilot(Load& l, size_t i) const { l.pilot = static_cast<int>(i); }

    // Passenger seats at a station: its seats, less the pilot's.
    int SeatsFree(const Load& l, size_t i) const { return At(i).seats - (l.pilot == static_cast<int>(i) ? 1 : 0); }
    // The placarded maximum left for passengers at a station; nothing without a placard.
    std::optional<double> PlacardLeft(const Load& l, size_t i) const {
        if (!At(i).maxWeight) return std::nullopt;
        return std::max(0.0, At(i).maxWeight->ToDouble() - (l.pilot == static_cast<int>(i) ? d_.occupant : 0));
    }
    // Whole passengers a station takes: its free seats, as many as the placard allows.
    int PersonsMax(const Load& l, size_t i) const {
        int n = std::max(0, SeatsFree(l, i));
        if (std::optional<double> left = PlacardLeft(l, i))
            n = std::min(n, static_cast<int>(std::floor(*left / d_.occupant + 1e-9)));
        return n;
    }
    void SetPersons(Load& l, size_t i, int n) const {
        l.persons[i] = n;
        l.weight[i] = n * d_.occupant;
        l.detail[i] = n == 0 ? "" : "(" + std::to_string(n) + (n == 1 ? " passenger)" : " passengers)");
    }

    double TotalWeight(const Load& l) const {
        double w = w0_ + (l.pilot >= 0 ? d_.occupant : 0);
        for (double x : l.weight)
            w += x;
        return w;
    }
    double TotalMoment(const Load& l) const {
        double m = m0_ + (l.pilot >= 0 ? d_.occupant * At(static_cast<size_t>(l.pilot)).armValue : 0);
        for (size_t i = 0; i < Count(); ++i)
            m += l.weight[i] * At(i).armValue;
        return m;
    }

    // Within the maximum weight and the normal envelope, unrounded: the search's test.
    bool Fits(const Load& l) const {
        const double w = TotalWeight(l);
        if (w <= 0) return false;
        if (maxWeight_ && w > *maxWeight_ * (1 + 1e-12)) return false;
        return WithinOutline(d_.normal, w, TotalMoment(l) / w);
    }

    std::vector<Item> Items(const Load& l) const {
        std::vector<Item> items;
        items.push_back({"Empty weight", emptyWeight_, emptyArm_});
        for (size_t i = 0; i < Count(); ++i)
            if (Is(i, StationKind::Oil) && l.weight[i] > 0)
                items.push_back({At(i).Label() + " " + l.detail[i], Exact(l.weight[i]), At(i).arm});
        if (l.pilot >= 0)
            items.push_back({"Pilot (" + At(static_cast<size_t>(l.pilot)).Label() + ")", Exact(d_.occupant),
                             At(static_cast<size_t>(l.pilot)).arm});
        for (StationKind k : {StationKind::SeatWithControls, StationKind::Seat, StationKind::FuelTank,
                              StationKind::Baggage})
            for (size_t i = 0; i < Count(); ++i)
                if (Is(i, k) && l.weight[i] > 0) {
                    std::string label = At(i).Label();
                    if (!l.detail[i].empty()) label += " " + l.detail[i];
                    items.push_back({label, Exact(l.weight[i]), At(i).arm});
                }
        return items;
    }

    // The judgement of a loading as printed: its weight and C.G. to the printed digits.
    Verdict Judge(const std::vector<EnvelopePoint>& outline, const Decimal& weight, const Decimal& cg,
                  bool withMaximum) const {
        Verdict v;
        const double w = weight.ToDouble();
        const std::string at = Weight(weight, u_);
        std::vector<std::string> faults;
        if (withMaximum && maxWeight_ && w > *maxWeight_ + 1e-9)
            faults.push_back((weight - Exact(*maxWeight_)).Formatted(pattern::NewWeight) + " " +
                             std::string(WeightUnit(u_)) + " over the maximum weight " + Weight(*maxWeight_, u_));
        const std::vector<ArmRange> ranges = ArmsWithin(outline, w);
        if (ranges.empty()) {
            const WeightSpan span = WeightsOf(outline);
            v.limits = "No limits at " + at + ": the envelope spans " + Weight(span.low, u_) + " to " +
                       Weight(span.high, u_);
            faults.push_back(w > span.high ? (weight - Exact(span.high)).Formatted(pattern::NewWeight) + " " +
                                                 std::string(WeightUnit(u_)) + " above the envelope"
                                           : (Exact(span.low) - weight).Formatted(pattern::NewWeight) + " " +
                                                 std::string(WeightUnit(u_)) + " below the envelope");
        } else {
            const Decimal forward = Round2(ranges.front().forward), aft = Round2(ranges.back().aft);
            v.limits = "Limits at " + at + ": " + Signed(forward) + " to " + Signed(aft);
            const double c = cg.ToDouble();
            const std::string arm = " " + std::string(ArmUnit(u_));
            if (c < forward.ToDouble()) {
                faults.push_back((forward - cg).Text(2) + arm + " forward of the forward limit " + Signed(forward));
            } else if (c > aft.ToDouble()) {
                faults.push_back((cg - aft).Text(2) + arm + " aft of the aft limit " + Signed(aft));
            } else {
                bool inside = false;
                for (const ArmRange& r : ranges)
                    inside = inside || (c >= Round2(r.forward).ToDouble() && c <= Round2(r.aft).ToDouble());
                if (!inside) faults.push_back("in a notch of the envelope at this weight");
            }
        }
        v.within = faults.empty();
        if (v.within) {
            v.result = "Satisfactory";
        } else {
            v.result = "OUTSIDE: ";
            for (size_t i = 0; i < faults.size(); ++i)
                v.result += (i == 0 ? "" : "; ") + faults[i];
        }
        return v;
    }

    LoadingTable Table(std::string title, const Load& l) const {
        LoadingTable t;
        t.title = std::move(title);
        Decimal weight, moment;
        for (const Item& item : Items(l)) {
            LoadingLine line;
            line.item = item.label;
            line.weight = Figure(item.weight);
            line.arm = Figure(item.arm);
            line.moment = (item.weight * item.arm).Formatted(pattern::Moment);
            weight = weight + item.weight;
            moment = moment + Decimal::Read(line.moment);
            t.lines.push_back(std::move(line));
        }
        const Decimal cg = moment.DividedBy(weight, 2);
        t.totalWeight = weight.Formatted(pattern::NewWeight);
        t.totalMoment = moment.Formatted(pattern::NoLead1);
        t.cg = Signed(cg);
        t.weight = weight.ToDouble();
        t.cgValue = cg.ToDouble();
        t.normal = Judge(d_.normal, weight, cg, true);
        if (!d_.utility.empty()) t.utility = Judge(d_.utility, weight, cg, false);
        if (d_.maxLanding && t.weight > *d_.maxLanding + 1e-9)
            t.landing = "Over the maximum landing weight " + Weight(*d_.maxLanding, u_) + " by " +
                        (weight - Exact(*d_.maxLanding)).Formatted(pattern::NewWeight) + " " +
                        std::string(WeightUnit(u_)) + ": fuel must be burned off before landing.";
        return t;
    }

    // ---- the extreme conditions --------------------------------------------------------------

    // §10-16 and §10-17: full oil, the pilot at the most forward (aft) seat with controls, each
    // load ahead of the forward limit (behind the aft limit) at its maximum and the others at
    // their minimum; fuel full in a tank on that side, the minimum fuel otherwise. "Ahead of the
    // limit" is judged by the limit at the loading's own weight, which a sloped limit makes
    // depend on the loading: the sorting is repeated until it no longer changes.
    LoadingTable Extreme(bool forward) const {
        Load base = Empty();
        std::optional<size_t> pilot;
        for (size_t i = 0; i < Count(); ++i)
            if (Is(i, StationKind::SeatWithControls) &&
                (!pilot || (forward ? At(i).armValue < At(*pilot).armValue : At(i).armValue > At(*pilot).armValue)))
                pilot = i;
        if (pilot) SetPilot(base, *pilot);
        double weightForLimit = TotalWeight(base);
        std::vector<bool> sorted, last;
        Load l = base;
        for (int round = 0; round < 8; ++round) {
            const ArmRange limits = LimitsNear(d_.normal, weightForLimit);
            const double limit = forward ? limits.forward : limits.aft;
            const auto onLoadSide = [&](size_t i) {
                return forward ? At(i).armValue < limit : At(i).armValue > limit;
            };
            l = base;
            sorted.assign(Count(), false);
            double fuelCarried = 0;
            for (size_t i = 0; i < Count(); ++i) {
                if (!onLoadSide(i) || Is(i, StationKind::Oil)) continue;
                sorted[i] = true;
                if (IsSeat(i)) {
                    const double seats = std::max(0, SeatsFree(l, i)) * d_.occupant;
                    const std::optional<double> placard = PlacardLeft(l, i);
                    const double w = placard ? std::min(seats, *placard) : seats;
                    l.weight[i] = w;
                    const int n = std::max(0, SeatsFree(l, i));
                    l.detail[i] = placard && *placard < seats
                                      ? "(placarded maximum)"
                                      : "(" + std::to_string(n) + (n == 1 ? " passenger)" : " passengers)");
                } else if (Is(i, StationKind::Baggage)) {
                    l.weight[i] = At(i).maxWeight->ToDouble();
                    l.detail[i] = "(placarded maximum)";
                } else if (Is(i, StationKind::FuelTank)) {
                    SetFuel(l, i, At(i).capacity, "full");
                    fuelCarried += At(i).capacity;
                }
            }
            // The minimum fuel not already in the full tanks goes into the tanks on the other
            // side, nearest the limit's side first.
            double needed = d_.metoHp ? MinimumFuel(*d_.metoHp, u_) - fuelCarried : 0;
            std::vector<size_t> tanks;
            for (size_t i = 0; i < Count(); ++i)
                if (Is(i, StationKind::FuelTank) && !sorted[i]) tanks.push_back(i);
            std::stable_sort(tanks.begin(), tanks.end(), [&](size_t a, size_t b) {
                return forward ? At(a).armValue < At(b).armValue : At(a).armValue > At(b).armValue;
            });
            for (size_t i : tanks) {
                if (needed <= 1e-9) break;
                const double v = std::min(needed, At(i).capacity);
                SetFuel(l, i, v, "minimum fuel");
                needed -= v;
            }
            weightForLimit = TotalWeight(l);
            if (round > 0 && sorted == last) break;
            last = sorted;
        }
        return Table(forward ? "Most forward extreme condition" : "Most rearward extreme condition", l);
    }

    // ---- the loading schedule ---------------------------------------------------------------

    std::vector<size_t> Kind(StationKind k) const {
        std::vector<size_t> out;
        for (size_t i = 0; i < Count(); ++i)
            if (Is(i, k)) out.push_back(i);
        return out;
    }

    double Capacity() const {
        double c = 0;
        for (size_t i : Kind(StationKind::FuelTank))
            c += At(i).capacity;
        return c;
    }

    // Whole units of fuel shared out over the tanks in the order listed.
    void PutFuel(Load& l, double total) const {
        for (size_t i : Kind(StationKind::FuelTank)) {
            const double v = std::min(total, At(i).capacity);
            SetFuel(l, i, v, "");
            total -= v;
        }
    }

    // The most baggage that keeps the loading within, compartment by compartment in the
    // order listed, in whole units down from the placard. False when nothing fits.
    bool MostBaggage(Load& l) const {
        for (size_t i : Kind(StationKind::Baggage)) {
            const std::optional<double> b = Largest(At(i).maxWeight->ToDouble(), 0, [&](double w) {
                l.weight[i] = w;
                return Fits(l);
            });
            l.weight[i] = b.value_or(0);
        }
        return Fits(l);
    }

    // The most whole units of fuel, between the minimum and the tanks' capacity, that keep the
    // loading within. False, with the minimum aboard, when none does.
    bool MostFuel(Load& l) const {
        const double minimum = d_.metoHp ? std::ceil(MinimumFuel(*d_.metoHp, u_) - 1e-9) : 0;
        const double full = std::floor(Capacity() + 1e-9);
        const std::optional<double> v = Largest(full, minimum, [&](double fuel) {
            PutFuel(l, fuel);
            return Fits(l);
        });
        PutFuel(l, v.value_or(std::min(minimum, Capacity())));
        return v.has_value();
    }

    // Every way of seating the passengers, most passengers first, each tried with `rest`
    // (which sets the rest of the load and says whether it fits); the first that fits wins,
    // with ties going to the one `better` prefers. Nothing when none fits.
    std::optional<Load> SeatPassengers(const Load& start, const std::function<bool(Load&)>& rest,
                                       const std::function<bool(const Load&, const Load&)>& better) const {
        std::vector<size_t> seats;
        std::vector<int> max;
        for (size_t i = 0; i < Count(); ++i)
            if (IsSeat(i) && PersonsMax(start, i) > 0) {
                seats.push_back(i);
                max.push_back(PersonsMax(start, i));
            }
        // More ways than this are not tried one by one: the seats are filled in the order listed.
        // (Ten single seats are 1024 ways.)
        double ways = 1;
        for (int m : max)
            ways *= m + 1;
        std::vector<std::vector<int>> tries;
        if (ways <= 2000) {
            std::vector<int> n(seats.size(), 0);
            while (true) {
                tries.push_back(n);
                size_t k = 0;
                while (k < n.size() && n[k] == max[k])
                    n[k++] = 0;
                if (k == n.size()) break;
                ++n[k];
            }
        } else {
            int total = 0;
            for (int m : max)
                total += m;
            for (int t = 0; t <= total; ++t) {
                std::vector<int> n(seats.size(), 0);
                int left = t;
                for (size_t k = 0; k < n.size(); ++k) {
                    n[k] = std::min(left, max[k]);
                    left -= n[k];
                }
                tries.push_back(n);
            }
        }
        const auto persons = [](const std::vector<int>& n) {
            int s = 0;
            for (int x : n)
                s += x;
            return s;
        };
        std::stable_sort(tries.begin(), tries.end(),
                         [&](const std::vector<int>& a, const std::vector<int>& b) { return persons(a) > persons(b); });
        std::optional<Load> best;
        int bestPersons = -1;
        for (const std::vector<int>& n : tries) {
            if (persons(n) < bestPersons) break;
            Load l = start;
            for (size_t k = 0; k < seats.size(); ++k)
                SetPersons(l, seats[k], n[k]);
            if (!rest(l)) continue;
            if (!best || better(l, *best)) best = l;
            bestPersons = persons(n);
        }
        return best;
    }

    std::string Passengers(const Load& l) const {
        int total = 0;
        std::string where;
        for (size_t i = 0; i < Count(); ++i) {
            if (!IsSeat(i) || l.persons[i] == 0) continue;
            total += l.persons[i];
            where += (where.empty() ? "" : ", ") + At(i).Label() + ": " + std::to_string(l.persons[i]);
        }
        return total == 0 ? "none" : std::to_string(total) + " (" + where + ")";
    }

    std::string Fuel(const Load& l) const {
        if (Kind(StationKind::FuelTank).empty()) return "no fuel tank";
        double v = 0, w = 0;
        for (size_t i : Kind(StationKind::FuelTank)) {
            v += l.volume[i];
            w += l.weight[i];
        }
        return Plain(v) + " " + std::string(FuelVolumeUnit(u_)) + " (" + FormatNumber(w, "#####0") + " " +
               std::string(WeightUnit(u_)) + ")";
    }

    std::string Baggage(const Load& l) const {
        if (Kind(StationKind::Baggage).empty()) return "no baggage station";
        double w = 0;
        for (size_t i : Kind(StationKind::Baggage))
            w += l.weight[i];
        return Plain(w) + " " + std::string(WeightUnit(u_));
    }

    ScheduleCase Case(std::string label, const std::optional<Load>& found, const Load& fallback) const {
        ScheduleCase c;
        c.label = std::move(label);
        const Load& l = found ? *found : fallback;
        const LoadingTable t = Table({}, l);
        c.permissible = found.has_value() && t.normal.within;
        c.fuel = Fuel(l);
        c.passengers = Passengers(l);
        c.baggage = Baggage(l);
        c.weight = t.totalWeight;
        c.cg = t.cg;
        c.weightValue = t.weight;
        c.cgValue = t.cgValue;
        c.result = c.permissible ? "Within" : "Not permissible: " + t.normal.result;
        return c;
    }

    std::vector<ScheduleCase> Schedule() const {
        Load base = Empty();
        for (size_t i = 0; i < Count(); ++i)
            if (Is(i, StationKind::SeatWithControls)) {
                SetPilot(base, i);
                break;
            }
        const auto totalBaggage = [&](const Load& l) {
            double b = 0;
            for (size_t i : Kind(StationKind::Baggage))
                b += l.weight[i];
            return b;
        };
        const auto totalFuel = [&](const Load& l) {
            double v = 0;
            for (size_t i : Kind(StationKind::FuelTank))
                v += l.volume[i];
            return v;
        };
        std::vector<ScheduleCase> cases;

        // (a) Full fuel: the most passengers, then the most baggage.
        Load full = base;
        for (size_t i : Kind(StationKind::FuelTank))
            SetFuel(full, i, At(i).capacity, "");
        const std::optional<Load> a = SeatPassengers(
            full, [&](Load& l) { return MostBaggage(l); },
            [&](const Load& x, const Load& y) { return totalBaggage(x) > totalBaggage(y); });
        cases.push_back(Case("(a) With full fuel", a, full));

        // (b) The most passengers: the most fuel, then the most baggage.
        Load crowd = base;
        for (size_t i = 0; i < Count(); ++i)
            if (IsSeat(i)) SetPersons(crowd, i, PersonsMax(crowd, i));
        std::optional<Load> b;
        if (MostFuel(crowd) && MostBaggage(crowd)) b = crowd;
        cases.push_back(Case("(b) With the most passengers", b, crowd));

        // (c) The most baggage: the most passengers, then the most fuel.
        Load heavy = base;
        for (size_t i : Kind(StationKind::Baggage))
            heavy.weight[i] = At(i).maxWeight->ToDouble();
        Load heavyFallback = heavy;
        MostFuel(heavyFallback);
        const std::optional<Load> c = SeatPassengers(
            heavy, [&](Load& l) { return MostFuel(l); },
            [&](const Load& x, const Load& y) { return totalFuel(x) > totalFuel(y); });
        cases.push_back(Case("(c) With the most baggage", c, heavyFallback));
        return cases;
    }

  private:
    const LoadingData& d_;
    UnitSystem u_;
    Decimal emptyWeight_, emptyArm_;
    std::optional<double> maxWeight_;
    double w0_ = 0, m0_ = 0;
};

}  // namespace

// ---- kinds, texts and units -----------------------------------------------------------------

std::string_view KindCode(StationKind kind) {
    switch (kind) {
        case StationKind::SeatWithControls: return "pilot";
        case StationKind::Seat: return "seat";
        case StationKind::Baggage: return "baggage";
        case StationKind::FuelTank: return "fuel";
        case StationKind::Oil: return "oil";
    }
    return "seat";
}

std::string_view KindName(StationKind kind) {
    switch (kind) {
        case StationKind::SeatWithControls: return "Seat with controls";
        case StationKind::Seat: return "Seat";
        case StationKind::Baggage: return "Baggage";
        case StationKind::FuelTank: return "Fuel tank";
        case StationKind::Oil: return "Oil";
    }
    return "Seat";
}

std::optional<StationKind> KindFromText(std::string_view text) {
    const std::string t = Lower(Trim(text));
    for (StationKind k : kAllStationKinds)
        if (t == KindCode(k) || t == Lower(KindName(k))) return k;
    return std::nullopt;
}

std::string& LoadingTexts::Box(LoadingBox b) {
    switch (b) {
        case LoadingBox::MaxLanding: return maxLanding;
        case LoadingBox::FuelWeight: return fuelWeight;
        case LoadingBox::OilWeight: return oilWeight;
        case LoadingBox::MetoHp: return metoHp;
        case LoadingBox::Occupant: return occupant;
    }
    return maxLanding;
}

const std::string& LoadingTexts::Box(LoadingBox b) const {
    return const_cast<LoadingTexts*>(this)->Box(b);
}

bool LoadingTexts::Empty() const {
    const auto blank = [](const std::string& s) { return Trim(s).empty(); };
    for (const auto& row : stations)
        if (!std::all_of(row.begin(), row.end(), blank)) return false;
    for (Category c : {Category::Normal, Category::Utility})
        for (const auto& row : Points(c))
            if (!std::all_of(row.begin(), row.end(), blank)) return false;
    for (LoadingBox b : kAllLoadingBoxes)
        if (!blank(Box(b))) return false;
    return true;
}

std::string_view FuelVolumeUnit(UnitSystem u) {
    return u == UnitSystem::PoundInch ? "gal" : "L";
}
std::string_view OilVolumeUnit(UnitSystem u) {
    return u == UnitSystem::PoundInch ? "qt" : "L";
}
double DefaultFuelWeight(UnitSystem u) {
    return u == UnitSystem::PoundInch ? 6 : 0.72;
}
double DefaultOilWeight(UnitSystem u) {
    return u == UnitSystem::PoundInch ? 7.5 : 0.9;
}
double DefaultOccupant(UnitSystem u) {
    return u == UnitSystem::PoundInch ? 170 : 77;
}
double MinimumFuel(double metoHp, UnitSystem u) {
    constexpr double kLitresPerGallon = 3.785411784;
    const double gallons = metoHp / 12;
    return u == UnitSystem::PoundInch ? gallons : gallons * kLitresPerGallon;
}

UnitSystem LoadingUnits(const Worksheet& ws) {
    return Units(ws);
}

std::string Station::Label() const {
    return name.empty() ? std::string(KindName(kind)) : name;
}

std::string RoundingNote(UnitSystem units) {
    return "Fuel and oil weights are rounded up to the whole " +
           std::string(units == UnitSystem::PoundInch ? "pound" : "kilogram") +
           "; moments are the exact products to one decimal, the C.G. their sum over the weight to two, "
           "compared with the limits to two decimals.";
}

// ---- reading and evaluating ----------------------------------------------------------------

LoadingRead ReadLoading(const LoadingTexts& texts, UnitSystem units) {
    Reader reader(units);
    reader.Stations(texts);
    reader.Outline(texts, Category::Normal);
    reader.Outline(texts, Category::Utility);
    reader.Boxes(texts);
    bool utilityTyped = false, normalTyped = false;
    for (const auto& row : texts.utility)
        utilityTyped = utilityTyped || !Trim(row[point::Weight]).empty() || !Trim(row[point::Arm]).empty();
    for (const auto& row : texts.normal)
        normalTyped = normalTyped || !Trim(row[point::Weight]).empty() || !Trim(row[point::Arm]).empty();
    if (utilityTyped && !normalTyped)
        reader.Refuse("The utility category's envelope needs the normal category's beside it.");
    return std::move(reader.read);
}

LoadingEvaluation EvaluateLoading(const LoadingTexts& texts, double newWeight, double newArm,
                                  std::string_view maxWeight, UnitSystem units) {
    LoadingEvaluation e;
    e.units = units;
    e.hasData = !texts.Empty();
    if (!e.hasData) return e;
    e.read = ReadLoading(texts, units);
    if (const std::optional<double> max = ArmIn(maxWeight); max && *max > 0) e.maxWeight = *max;
    e.emptyWeight = FormatNumber(newWeight, pattern::NewWeight);
    e.emptyArm = FormatNumber(newArm, pattern::NewArm);
    if (e.read.Refused()) return e;
    const LoadingData& d = e.read.data;
    if (newWeight <= 0)
        e.missing.push_back("No new empty weight yet: the checks start from the Worksheet's new empty weight and C.G.");
    if (!d.HasEnvelope()) e.missing.push_back("No C.G. envelope: type its points (three at least) to make the checks.");
    const bool pilotSeat = std::any_of(d.stations.begin(), d.stations.end(), [](const Station& s) {
        return s.kind == StationKind::SeatWithControls;
    });
    if (!pilotSeat) e.missing.push_back("No seat with controls: the checks need the pilot's seat.");
    const bool tank = std::any_of(d.stations.begin(), d.stations.end(),
                                  [](const Station& s) { return s.kind == StationKind::FuelTank; });
    if (tank && !d.metoHp)
        e.missing.push_back("No METO horsepower: the minimum fuel is METO horsepower / 12 " +
                            std::string(units == UnitSystem::PoundInch ? "gallons" : "US gallons, in litres") + ".");
    if (!e.missing.empty()) return e;

    const Evaluator ev(d, units, Decimal::Read(e.emptyWeight), Decimal::Read(e.emptyArm), e.maxWeight);
    e.forward = ev.Extreme(true);
    e.aft = ev.Extreme(false);
    e.schedule = ev.Schedule();
    return e;
}

LoadingEvaluation EvaluateLoading(const Worksheet& ws) {
    return EvaluateLoading(ws.loading, ws.values.NewWeight, ws.values.NewArm, ws.Get(Field::MaxWt),
                           LoadingUnits(ws));
}

}  // namespace wb
