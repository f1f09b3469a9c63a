#include "store/LoadingRows.h"

#include "store/CaseFold.h"
#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

// Blanks at either end are no part of what was typed.
std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// A number cell: Null when blank, else its number (the reading has made sure it is one).
Value NumberOrNull(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return Value();
    return LeadingNumber(t);
}

Value TextOrNull(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return Value();
    return t;
}

bool Blank(std::initializer_list<std::string_view> cells) {
    for (std::string_view c : cells)
        if (!Trim(c).empty()) return false;
    return true;
}

// The columns of a row, in the order written.
constexpr const char* kInsertColumns =
    "Tail, \"Date\", List, RowNum, Name, Kind, Arm, Weight, Seats, Capacity, MaxLandWt, FuelWt, OilWt, "
    "MetoHp, OccupantWt, FoldedTail";
constexpr size_t kValuesPerRow = 16;

}  // namespace

const char* const kLoadingColumns =
    "Tail, \"Date\", List, RowNum, Name, Kind, Arm, Weight, Seats, Capacity, MaxLandWt, FuelWt, OilWt, "
    "MetoHp, OccupantWt";

LoadingRefused::LoadingRefused(std::vector<std::string> reasons)
    : std::invalid_argument("The loading data is refused."), reasons_(std::move(reasons)) {}

void RequireSoundLoading(const LoadingTexts& texts, UnitSystem units) {
    LoadingRead read = ReadLoading(texts, units);
    if (read.Refused()) throw LoadingRefused(std::move(read.refusals));
}

void DeleteLoadingRows(Database& db, std::string_view tail, std::string_view isoDate) {
    Statement s = db.Prepare("DELETE FROM Loading WHERE FoldedTail = ? AND \"Date\" = ?");
    s.BindAll({FoldCase(tail), std::string(isoDate)});
    s.Run();
}

void StoreLoadingRows(Database& db, const LoadingTexts& t, std::string_view tail, std::string_view isoDate) {
    const std::string folded = FoldCase(tail);
    std::vector<Value> values;
    struct Row {
        std::string_view list;
        int rowNum;
        Value name, kind, arm, weight, seats, capacity;
        Value maxLanding, fuel, oil, meto, occupant;
    };
    const auto add = [&](Row r) {
        for (Value v : {Value(std::string(tail)), Value(std::string(isoDate)), Value(std::string(r.list)),
                        Value(std::int64_t{r.rowNum}), std::move(r.name), std::move(r.kind), std::move(r.arm),
                        std::move(r.weight), std::move(r.seats), std::move(r.capacity), std::move(r.maxLanding),
                        std::move(r.fuel), std::move(r.oil), std::move(r.meto), std::move(r.occupant),
                        Value(folded)})
            values.push_back(std::move(v));
    };
    if (!Blank({t.maxLanding, t.fuelWeight, t.oilWeight, t.metoHp, t.occupant})) {
        Row r{kLoadingAircraft, 0, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
        r.maxLanding = NumberOrNull(t.maxLanding);
        r.fuel = NumberOrNull(t.fuelWeight);
        r.oil = NumberOrNull(t.oilWeight);
        r.meto = NumberOrNull(t.metoHp);
        r.occupant = NumberOrNull(t.occupant);
        add(std::move(r));
    }
    for (int n = 0; n < kStationRows; ++n) {
        const auto& s = t.stations[static_cast<size_t>(n)];
        if (Blank({s[0], s[1], s[2], s[3], s[4], s[5]})) continue;
        const std::optional<StationKind> kind = KindFromText(s[station::Kind]);
        Row r{kLoadingStation, n, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
        r.name = TextOrNull(s[station::Name]);
        r.kind = kind ? Value(std::string(KindCode(*kind))) : Value();
        r.arm = NumberOrNull(s[station::Arm]);
        r.weight = NumberOrNull(s[station::MaxWeight]);
        r.seats = NumberOrNull(s[station::Seats]);
        r.capacity = NumberOrNull(s[station::Capacity]);
        add(std::move(r));
    }
    for (Category c : {Category::Normal, Category::Utility})
        for (int n = 0; n < kEnvelopeRows; ++n) {
            const auto& p = t.Points(c)[static_cast<size_t>(n)];
            if (Blank({p[point::Weight], p[point::Arm]})) continue;
            Row r{c == Category::Normal ? kLoadingNormal : kLoadingUtility, n, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
            r.weight = NumberOrNull(p[point::Weight]);
            r.arm = NumberOrNull(p[point::Arm]);
            add(std::move(r));
        }
    if (values.empty()) return;
    // All rows in one statement: on a shop server each statement is a trip over the network.
    std::string sql = std::string("INSERT INTO Loading (") + kInsertColumns + ") VALUES ";
    std::string tuple = "(";
    for (size_t i = 0; i < kValuesPerRow; ++i)
        tuple += i == 0 ? "?" : ", ?";
    tuple += ")";
    for (size_t row = 0; row < values.size() / kValuesPerRow; ++row)
        sql += (row == 0 ? "" : ", ") + tuple;
    Statement insert = db.Prepare(sql);
    insert.BindAll(values);
    insert.Run();
}

LoadingTexts ReadLoadingRows(Database& db, std::string_view tail, std::string_view isoDate) {
    LoadingTexts t;
    Statement s = db.Prepare(
        "SELECT List, RowNum, Name, Kind, Arm, Weight, Seats, Capacity, MaxLandWt, FuelWt, OilWt, MetoHp, "
        "OccupantWt FROM Loading WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY List, RowNum, Id");
    s.BindAll({FoldCase(tail), std::string(isoDate)});
    const auto text = [&](int col) { return s.Text(col).value_or(""); };
    while (s.Step()) {
        const std::string list = text(0);
        const std::int64_t n = s.Int(1);
        if (list == kLoadingAircraft) {
            t.maxLanding = text(8);
            t.fuelWeight = text(9);
            t.oilWeight = text(10);
            t.metoHp = text(11);
            t.occupant = text(12);
        } else if (list == kLoadingStation && n >= 0 && n < kStationRows) {
            auto& row = t.stations[static_cast<size_t>(n)];
            row[station::Name] = text(2);
            const std::optional<StationKind> kind = KindFromText(text(3));
            row[station::Kind] = kind ? std::string(KindName(*kind)) : text(3);
            row[station::Arm] = text(4);
            row[station::MaxWeight] = text(5);
            row[station::Seats] = text(6);
            row[station::Capacity] = text(7);
        } else if ((list == kLoadingNormal || list == kLoadingUtility) && n >= 0 && n < kEnvelopeRows) {
            auto& row = t.Points(list == kLoadingNormal ? Category::Normal : Category::Utility)[static_cast<size_t>(n)];
            row[point::Weight] = text(5);
            row[point::Arm] = text(4);
        }
    }
    return t;
}

bool CopyLatestLoading(Database& db, Worksheet& ws, std::string_view tail) {
    if (!ws.loading.Empty()) return false;
    Statement latest = db.Prepare("SELECT max(\"Date\") FROM Loading WHERE FoldedTail = ?");
    latest.Bind(1, FoldCase(tail));
    if (!latest.Step() || latest.IsNull(0)) return false;
    const std::string date = *latest.Text(0);
    ws.loading = ReadLoadingRows(db, tail, date);
    return !ws.loading.Empty();
}

}  // namespace wb
