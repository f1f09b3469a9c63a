// Can it still be loaded? The worked examples of AC 43.13-1B figures 10-10 and 10-11, a sloped
// forward limit, the loading schedule, and the data that must be refused.
#include "worksheet/Loading.h"

#include <gtest/gtest.h>

#include <functional>

namespace wb {
namespace {

using Lines = std::vector<std::vector<std::string>>;

void SetStation(LoadingTexts& t, int row, std::array<std::string, station::Count> cells) {
    t.stations[static_cast<size_t>(row)] = std::move(cells);
}

void SetPoints(LoadingTexts& t, Category c, std::vector<std::pair<std::string, std::string>> points) {
    auto& rows = t.Points(c);
    rows = {};
    for (size_t i = 0; i < points.size(); ++i)
        rows[i] = {points[i].first, points[i].second};
}

// The aircraft of figures 10-10 and 10-11: empty 1169 lb at +10.6; limits +8.5 to +21.9 up to
// 2100 lb; oil 9 qt at -49; the pilot's seat at +16; two rear seats at +48; baggage placarded
// 100 lb at +75.5; one 40 gal tank at +22; METO 165 HP.
LoadingTexts Figure10() {
    LoadingTexts t;
    SetStation(t, 0, {"Pilot's seat", "Seat with controls", "16", "1", "", ""});
    SetStation(t, 1, {"Rear seats", "seat", "48", "2", "", ""});
    SetStation(t, 2, {"Baggage", "baggage", "75.5", "", "", "100"});
    SetStation(t, 3, {"Fuel tank", "fuel", "22", "", "40", ""});
    SetStation(t, 4, {"Oil", "oil", "-49", "", "9", ""});
    SetPoints(t, Category::Normal, {{"1000", "8.5"}, {"2100", "8.5"}, {"2100", "21.9"}, {"1000", "21.9"}});
    t.metoHp = "165";
    return t;
}

Lines LinesOf(const LoadingTable& table) {
    Lines out;
    for (const LoadingLine& l : table.lines)
        out.push_back({l.item, l.weight, l.arm, l.moment});
    return out;
}

struct CheckCase {
    const char* name;
    std::function<LoadingTexts()> texts;
    double emptyWeight, emptyArm;
    const char* maxWeight;
    bool forward;  // which extreme condition
    Lines lines;
    const char* totalWeight;
    const char* totalMoment;
    const char* cg;
    const char* limits;
    const char* result;
};

// The figures to the program's patterns: the moment to one decimal (the figures' 16104 and
// 43428 are 16104.4 and 43428.4 whole), the C.G. to two (the figure's +11.2 is +11.19).
TEST(Loading, TheExtremeConditionsOfFigures10_10And10_11AndASlopedLimit) {
    const auto sloped = [] {
        LoadingTexts t;
        SetStation(t, 0, {"Front seat", "pilot", "37", "1", "", ""});
        SetPoints(t, Category::Normal,
                  {{"1500", "35.0"}, {"1950", "35.0"}, {"2550", "38.5"}, {"2550", "47.3"}, {"1500", "47.3"}});
        return t;
    };
    const Lines aft = {{"Empty weight", "1169.00", "10.60", "12391.4"},
                       {"Oil (full, 9 qt)", "17.00", "-49.00", "-833.0"},
                       {"Pilot (Pilot's seat)", "170.00", "16.00", "2720.0"},
                       {"Rear seats (2 passengers)", "340.00", "48.00", "16320.0"},
                       {"Fuel tank (full, 40 gal)", "240.00", "22.00", "5280.0"},
                       {"Baggage (placarded maximum)", "100.00", "75.50", "7550.0"}};
    const CheckCase cases[] = {
        {"figure 10-10, most forward", Figure10, 1169, 10.6, "2100", true,
         {{"Empty weight", "1169.00", "10.60", "12391.4"},
          {"Oil (full, 9 qt)", "17.00", "-49.00", "-833.0"},
          {"Pilot (Pilot's seat)", "170.00", "16.00", "2720.0"},
          {"Fuel tank (minimum fuel, 13.75 gal)", "83.00", "22.00", "1826.0"}},
         "1439.00", "16104.4", "+11.19", "Limits at 1439.00 lb: +8.50 to +21.90", "Satisfactory"},
        {"figure 10-11, most rearward", Figure10, 1169, 10.6, "2100", false, aft, "2036.00", "43428.4", "+21.33", "Limits at 2036.00 lb: +8.50 to +21.90", "Satisfactory"},
        {"figure 10-11 over a maximum weight of 2000 lb", Figure10, 1169, 10.6, "2000", false, aft, "2036.00", "43428.4", "+21.33", "Limits at 2036.00 lb: +8.50 to +21.90",
         "OUTSIDE: 36.00 lb over the maximum weight 2000.00 lb"},
        // Forward limit +35.0 up to 1950 lb, then straight to +38.5 at 2550 lb: at 2300 lb it
        // is +35.0 + 3.5 x 350 / 600 = +37.04, and a C.G. of +37.00 there is 0.04 forward of it.
        {"sloped forward limit at 2300 lb", sloped, 2130, 37, "2550", true,
         {{"Empty weight", "2130.00", "37.00", "78810.0"}, {"Pilot (Front seat)", "170.00", "37.00", "6290.0"}},
         "2300.00", "85100.0", "+37.00", "Limits at 2300.00 lb: +37.04 to +47.30",
         "OUTSIDE: 0.04 in forward of the forward limit +37.04"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadingEvaluation e =
            EvaluateLoading(c.texts(), c.emptyWeight, c.emptyArm, c.maxWeight, UnitSystem::PoundInch);
        ASSERT_EQ(e.read.refusals, std::vector<std::string>{});
        ASSERT_EQ(e.missing, std::vector<std::string>{});
        const std::optional<LoadingTable>& t = c.forward ? e.forward : e.aft;
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(LinesOf(*t), c.lines);
        EXPECT_EQ(t->totalWeight, c.totalWeight);
        EXPECT_EQ(t->totalMoment, c.totalMoment);
        EXPECT_EQ(t->cg, c.cg);
        EXPECT_EQ(t->normal.limits, c.limits);
        EXPECT_EQ(t->normal.result, c.result);
        EXPECT_EQ(t->normal.within, std::string(c.result) == "Satisfactory");
    }
}

TEST(Loading, TheSlopedForwardLimitAtEachWeight) {
    const std::vector<EnvelopePoint> outline = {
        {1500, 35.0}, {1950, 35.0}, {2550, 38.5}, {2550, 47.3}, {1500, 47.3}};
    struct At {
        double weight;
        std::optional<ArmRange> limits;
    };
    const At cases[] = {
        {1500, ArmRange{35.0, 47.3}}, {1800, ArmRange{35.0, 47.3}}, {1950, ArmRange{35.0, 47.3}},
        {2550, ArmRange{38.5, 47.3}}, {2600, std::nullopt},         {1400, std::nullopt},
    };
    for (const At& c : cases) {
        SCOPED_TRACE(c.weight);
        EXPECT_EQ(LimitsAt(outline, c.weight), c.limits);
    }
    EXPECT_NEAR(LimitsAt(outline, 2300)->forward, 37.0 + 1.0 / 24, 1e-12);
    EXPECT_TRUE(WithinOutline(outline, 2300, 37.05));
    EXPECT_FALSE(WithinOutline(outline, 2300, 37.03));
}

// §10-18: (a) with full fuel the passengers and baggage, (b) with the most passengers the fuel
// in whole gallons and the baggage, (c) with the most baggage the passengers and the fuel.
TEST(Loading, TheLoadingScheduleWithinTheMaximumWeightAndTheEnvelope) {
    struct Row {
        const char* label;
        const char* fuel;
        const char* passengers;
        const char* baggage;
        const char* weight;
        const char* cg;
        const char* result;
    };
    struct ScheduleCaseRow {
        const char* name;
        const char* maxWeight;
        std::vector<Row> rows;
    };
    const ScheduleCaseRow cases[] = {
        {"figure 10-11's aircraft at 2100 lb",
         "2100",
         {{"(a) With full fuel", "40 gal (240 lb)", "2 (Rear seats: 2)", "100 lb", "2036.00", "+21.33", "Within"},
          {"(b) With the most passengers", "40 gal (240 lb)", "2 (Rear seats: 2)", "100 lb", "2036.00", "+21.33",
           "Within"},
          {"(c) With the most baggage", "40 gal (240 lb)", "2 (Rear seats: 2)", "100 lb", "2036.00", "+21.33",
           "Within"}}},
        // 1950 lb: full fuel and both passengers leave 14 lb of baggage; the full baggage and
        // both passengers leave 25 gal (26 gal would make 1952 lb).
        {"the same at 1950 lb",
         "1950",
         {{"(a) With full fuel", "40 gal (240 lb)", "2 (Rear seats: 2)", "14 lb", "1950.00", "+18.94", "Within"},
          {"(b) With the most passengers", "40 gal (240 lb)", "2 (Rear seats: 2)", "14 lb", "1950.00", "+18.94",
           "Within"},
          {"(c) With the most baggage", "25 gal (150 lb)", "2 (Rear seats: 2)", "100 lb", "1946.00", "+21.30",
           "Within"}}},
        // 1700 lb: full fuel leaves room for one passenger (1766 lb), none then (1596 lb) and
        // 104 lb, of which the placard allows 100; two passengers with the minimum fuel
        // (14 gal, 84 lb) are 1780 lb; the full baggage leaves no passenger and 40 gal.
        {"the same at 1700 lb",
         "1700",
         {{"(a) With full fuel", "40 gal (240 lb)", "none", "100 lb", "1696.00", "+15.98", "Within"},
          {"(b) With the most passengers", "14 gal (84 lb)", "2 (Rear seats: 2)", "0 lb", "1780.00", "+18.23",
           "Not permissible: OUTSIDE: 80.00 lb over the maximum weight 1700.00 lb"},
          {"(c) With the most baggage", "40 gal (240 lb)", "none", "100 lb", "1696.00", "+15.98", "Within"}}},
    };
    for (const ScheduleCaseRow& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadingEvaluation e = EvaluateLoading(Figure10(), 1169, 10.6, c.maxWeight, UnitSystem::PoundInch);
        ASSERT_EQ(e.schedule.size(), c.rows.size());
        for (size_t i = 0; i < c.rows.size(); ++i) {
            const ScheduleCase& s = e.schedule[i];
            const Row& r = c.rows[i];
            EXPECT_EQ((std::vector<std::string>{s.label, s.fuel, s.passengers, s.baggage, s.weight, s.cg, s.result}),
                      (std::vector<std::string>{r.label, r.fuel, r.passengers, r.baggage, r.weight, r.cg, r.result}));
        }
    }
}

// Item 2 of the issue: what is refused, each with its reason, and nothing evaluated from it.
TEST(Loading, BadDataIsRefusedWithAClearReason) {
    struct Bad {
        const char* name;
        std::function<void(LoadingTexts&)> change;
        std::vector<std::string> refusals;
    };
    const Bad cases[] = {
        {"an envelope of two points",
         [](LoadingTexts& t) { SetPoints(t, Category::Normal, {{"1000", "8.5"}, {"2100", "8.5"}}); },
         {"The normal category's envelope has 2 points: it needs three at least."}},
        {"an envelope that crosses itself",
         [](LoadingTexts& t) {
             SetPoints(t, Category::Normal, {{"1000", "8.5"}, {"2100", "21.9"}, {"2100", "8.5"}, {"1000", "21.9"}});
         },
         {"The normal category's envelope crosses itself: the edge from point 1 meets the edge from point 3. "
          "Type the points in order around the envelope."}},
        {"a utility envelope folding back on itself",
         [](LoadingTexts& t) {
             SetPoints(t, Category::Utility, {{"1000", "9"}, {"1800", "9"}, {"1400", "9"}, {"1400", "15"}});
         },
         {"The utility category's envelope crosses itself: the edge from point 1 meets the edge from point 2. "
          "Type the points in order around the envelope."}},
        {"an envelope on one line",
         [](LoadingTexts& t) { SetPoints(t, Category::Normal, {{"1000", "8.5"}, {"1500", "8.5"}, {"2100", "8.5"}}); },
         {"The normal category's envelope encloses nothing: all its points lie on one line."}},
        {"a point typed twice",
         [](LoadingTexts& t) {
             SetPoints(t, Category::Normal,
                       {{"1000", "8.5"}, {"2100", "8.5"}, {"2100", "8.5"}, {"2100", "21.9"}, {"1000", "21.9"}});
         },
         {"The normal category's envelope repeats a point: point 3 is point 2 again."}},
        {"a crossing with a blank row between the points: named by their rows",
         [](LoadingTexts& t) {
             SetPoints(t, Category::Normal,
                       {{"1000", "8.5"}, {"", ""}, {"2100", "21.9"}, {"2100", "8.5"}, {"1000", "21.9"}});
         },
         {"The normal category's envelope crosses itself: the edge from point 1 meets the edge from point 4. "
          "Type the points in order around the envelope."}},
        {"a point without its arm", [](LoadingTexts& t) { t.normal[1][point::Arm] = ""; },
         {"Envelope (normal), point 2: no arm. Each point needs both."}},
        {"a utility envelope alone",
         [](LoadingTexts& t) {
             SetPoints(t, Category::Normal, {});
             SetPoints(t, Category::Utility, {{"1000", "9"}, {"1800", "9"}, {"1800", "15"}});
         },
         {"The utility category's envelope needs the normal category's beside it."}},
        {"a station without an arm", [](LoadingTexts& t) { t.stations[0][station::Arm] = " "; },
         {"Station 1 (Pilot's seat): no arm. Every station needs its arm."}},
        {"an arm that is not a number", [](LoadingTexts& t) { t.stations[1][station::Arm] = "48 in"; },
         {"Station 2 (Rear seats), arm: \"48 in\" is not a number."}},
        {"a negative capacity", [](LoadingTexts& t) { t.stations[3][station::Capacity] = "-40"; },
         {"Station 4 (Fuel tank), capacity cannot be negative (-40)."}},
        {"a fuel tank without its capacity", [](LoadingTexts& t) { t.stations[3][station::Capacity] = ""; },
         {"Station 4 (Fuel tank): no capacity. A fuel tank needs its usable fuel in gal."}},
        {"baggage without its placard", [](LoadingTexts& t) { t.stations[2][station::MaxWeight] = ""; },
         {"Station 3 (Baggage): no maximum weight. A baggage station needs its placarded maximum."}},
        {"a kind the program does not know", [](LoadingTexts& t) { t.stations[1][station::Kind] = "bench"; },
         {"Station 2 (Rear seats): the kind \"bench\" is not one the program knows (seat with controls, seat, "
          "baggage, fuel tank or oil)."}},
        {"half a seat", [](LoadingTexts& t) { t.stations[1][station::Seats] = "1.5"; },
         {"Station 2 (Rear seats): the number of seats must be a whole number, one or more."}},
        {"a negative placard", [](LoadingTexts& t) { t.stations[2][station::MaxWeight] = "-100"; },
         {"Station 3 (Baggage), maximum weight cannot be negative (-100)."}},
        {"no fuel weight", [](LoadingTexts& t) { t.fuelWeight = "0"; },
         {"Fuel weight per gallon must be more than 0."}},
        {"a negative METO horsepower", [](LoadingTexts& t) { t.metoHp = "-165"; },
         {"METO horsepower cannot be negative (-165)."}},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        LoadingTexts t = Figure10();
        c.change(t);
        const LoadingEvaluation e = EvaluateLoading(t, 1169, 10.6, "2100", UnitSystem::PoundInch);
        EXPECT_EQ(e.read.refusals, c.refusals);
        EXPECT_FALSE(e.forward.has_value());
        EXPECT_TRUE(e.schedule.empty());
    }
    // The same aircraft as typed is sound.
    EXPECT_EQ(ReadLoading(Figure10(), UnitSystem::PoundInch).refusals, std::vector<std::string>{});
}

// Data that is right but not yet enough: kept, and the checks say what they still need.
TEST(Loading, MissingDataIsNamedNotRefused) {
    LoadingTexts t = Figure10();
    t.metoHp = "";
    SetPoints(t, Category::Normal, {});
    const LoadingEvaluation e = EvaluateLoading(t, 0, 0, "2100", UnitSystem::PoundInch);
    EXPECT_FALSE(e.read.Refused());
    EXPECT_EQ(e.missing.size(), 3u);
    EXPECT_FALSE(e.forward.has_value());
    EXPECT_FALSE(EvaluateLoading(LoadingTexts{}, 1169, 10.6, "2100", UnitSystem::PoundInch).HasData());
}

// The metric words and the minimum fuel in litres: 165 HP / 12 US gal = 52.05 L, at 0.72 kg/L
// 37.48 kg, rounded up to 38 kg.
TEST(Loading, MetricWordsAndTheMinimumFuelInLitres) {
    LoadingTexts t = Figure10();
    t.stations[3][station::Capacity] = "150";
    const LoadingEvaluation e = EvaluateLoading(t, 530, 270, "950", UnitSystem::KilogramMillimetre);
    ASSERT_TRUE(e.forward.has_value());
    EXPECT_EQ(e.forward->lines.back().item, "Fuel tank (minimum fuel, 52.05 L)");
    EXPECT_EQ(e.forward->lines.back().weight, "38.00");
    EXPECT_EQ(e.forward->lines[1].item, "Oil (full, 9 L)");
    EXPECT_EQ(e.forward->lines[1].weight, "9.00");  // 9 L at 0.9 kg/L is 8.1 kg
    EXPECT_EQ(e.forward->normal.limits.substr(0, 22), "No limits at 654.00 kg");
}

}  // namespace
}  // namespace wb
