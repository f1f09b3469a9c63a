#include "store/jet/LegacyImport.h"

#include <charconv>
#include <cmath>
#include <map>

namespace wb::jet {
namespace {

using Row = std::vector<JetValue>;

enum class Kind { Text, Number, Date, Flag };

bool Accepts(Kind kind, JetType type) {
    switch (kind) {
        case Kind::Text:
            return type == JetType::Text || type == JetType::Memo;
        case Kind::Number:
            return type == JetType::Byte || type == JetType::Integer || type == JetType::Long ||
                   type == JetType::Single || type == JetType::Double;
        case Kind::Date:
            return type == JetType::DateTime;
        case Kind::Flag:
            return type == JetType::Boolean || type == JetType::Byte || type == JetType::Integer ||
                   type == JetType::Long;
    }
    return false;
}

std::string_view KindName(Kind kind) {
    switch (kind) {
        case Kind::Text:
            return "text";
        case Kind::Number:
            return "a number";
        case Kind::Date:
            return "a date";
        case Kind::Flag:
            return "Yes/No";
    }
    return "";
}

// Finds the columns a table must have; the first fault becomes the error.
class Columns {
  public:
    Columns(const JetTable& table, std::string& error) : table_(table), error_(error) {}

    size_t operator()(std::string_view name, Kind kind) {
        if (!error_.empty()) return 0;
        const auto index = table_.ColumnIndex(name);
        if (!index) {
            error_ = "Table " + table_.name + " has no column " + std::string(name) + ".";
            return 0;
        }
        const JetType type = table_.columns[*index].type;
        if (!Accepts(kind, type)) {
            error_ = "Table " + table_.name + " column " + std::string(name) + " holds " +
                     std::string(JetTypeName(type)) + " values where " + std::string(KindName(kind)) +
                     " is expected.";
            return 0;
        }
        return *index;
    }

  private:
    const JetTable& table_;
    std::string& error_;
};

// The shortest decimal that reads back as the float, as a double: what was typed.
double TypedValueOf(float f) {
    char text[32];
    double d = f;
    const auto written = std::to_chars(text, text + sizeof text, f);
    if (written.ec == std::errc()) std::from_chars(text, written.ptr, d);
    return d;
}

Nullable TextOf(const JetValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return std::nullopt;
}

std::optional<double> NumberOf(const JetValue& v) {
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* f = std::get_if<float>(&v)) return TypedValueOf(*f);
    if (const auto* i = std::get_if<std::int32_t>(&v)) return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<bool> FlagOf(const JetValue& v) {
    if (const auto* b = std::get_if<bool>(&v)) return *b;
    if (const auto* i = std::get_if<std::int32_t>(&v)) return *i != 0;
    return std::nullopt;
}

std::optional<int> WholeNumberOf(const JetValue& v) {
    const auto n = NumberOf(v);
    if (!n || *n != std::floor(*n) || std::fabs(*n) > 1e9) return std::nullopt;
    return static_cast<int>(*n);
}

std::vector<std::pair<std::string, JetValue>> ValuesOf(const JetTable& table, const Row& row) {
    std::vector<std::pair<std::string, JetValue>> values;
    for (size_t c = 0; c < table.columns.size() && c < row.size(); ++c)
        values.emplace_back(table.columns[c].name, row[c]);
    return values;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The old program found a Worksheet's rows with Jet's "=", which ignores ASCII case.
struct Key {
    std::string tail;
    CalendarDate date;
    auto operator<=>(const Key&) const = default;
};

std::string Shown(const std::string& tail, const CalendarDate& date) {
    return tail + " " + IsoDate(date);
}

void ReportUnreadValues(const JetTable& table, std::vector<NotBroughtAcross>& out) {
    for (const JetProblem& p : table.problems)
        out.push_back({table.name,
                       p.row,
                       {{p.column, JetValue{}}},
                       "The value of " + p.column + " could not be read (" + p.message +
                           "); it is brought across as empty (Null)."});
}

// A run of Equipment rows with one Tail and Date and RowNum rising from where it starts.
struct Run {
    Key key;
    std::string tail;
    std::vector<size_t> rows;
    bool marked = false;  // has a Previous A/C Empty row or an Install/Remove mark: a change list
};

struct Segment {
    std::optional<size_t> changes, list;  // indices into the runs of one key
};

// Splits the runs of one save key into Worksheets' lists. A list without marks after a change
// list is that Worksheet's equipment list; an unmarked run standing alone is an equipment list
// (its change list was empty), unless the Aircraft rows are too few for that reading, in which
// case two unmarked runs are taken as one Worksheet's change list and equipment list.
std::vector<Segment> SegmentsOf(const std::vector<Run>& runs, const std::vector<size_t>& keyRuns,
                                size_t aircraftRows) {
    std::vector<Segment> segments;
    for (size_t i = 0; i < keyRuns.size(); ++i) {
        if (runs[keyRuns[i]].marked) {
            Segment s{i, std::nullopt};
            if (i + 1 < keyRuns.size() && !runs[keyRuns[i + 1]].marked) s.list = ++i;
            segments.push_back(s);
        } else {
            segments.push_back({std::nullopt, i});
        }
    }
    for (size_t i = segments.size(); segments.size() > aircraftRows && i-- > 1;) {
        Segment& first = segments[i - 1];
        const Segment& second = segments[i];
        if (!first.changes && !second.changes) {
            first = {first.list, second.list};
            segments.erase(segments.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return segments;
}

}  // namespace

ImportCounts LegacyMainImport::Counts() const {
    ImportCounts counts;
    counts.worksheets = static_cast<int>(worksheets.size());
    for (const LegacyWorksheet& w : worksheets) {
        counts.changeRows += static_cast<int>(w.changes.size());
        counts.equipmentRows += static_cast<int>(w.equipment.size());
    }
    counts.companyRows = company ? 1 : 0;
    counts.reportFontRows = reportFont ? 1 : 0;
    return counts;
}

std::optional<LegacyMainImport> BuildMainImport(const JetTable& aircraft, const JetTable& equipment,
                                                const JetTable& companyInfo, std::string& error) {
    error.clear();
    LegacyMainImport result;

    // Aircraft: one Worksheet per row.
    Columns a(aircraft, error);
    const size_t aTail = a("Tail", Kind::Text), aDate = a("Date", Kind::Date);
    const size_t aSerial = a("Serial", Kind::Text), aMake = a("Make", Kind::Text),
                 aModel = a("Model", Kind::Text), aYear = a("Year", Kind::Text);
    const size_t aEmpty = a("Empty", Kind::Number), aCG = a("CG", Kind::Number),
                 aMaxWt = a("MaxWt", Kind::Number);
    const size_t aTach = a("Tach", Kind::Text), aBy = a("By", Kind::Text), aCert = a("Cert", Kind::Text),
                 aWork = a("Work", Kind::Text), aRange1 = a("Range1", Kind::Text),
                 aRange2 = a("Range2", Kind::Text), aRange3 = a("Range3", Kind::Text),
                 aMemo = a("Memo", Kind::Text);
    std::array<std::array<size_t, 4>, 5> jCols{};
    std::array<std::array<size_t, 3>, 5> fCols{};
    for (int i = 0; i < 5; ++i) {
        const std::string j = "J" + std::to_string(i + 1), f = "F" + std::to_string(i + 1);
        jCols[i] = {a(j + "Dsc", Kind::Text), a(j + "Tar", Kind::Number), a(j + "Wgt", Kind::Number),
                    a(j + "Arm", Kind::Number)};
        fCols[i] = {a(f + "Dsc", Kind::Text), a(f + "Wgt", Kind::Number), a(f + "Arm", Kind::Number)};
    }
    Columns e(equipment, error);
    const size_t eTail = e("Tail", Kind::Text), eDate = e("Date", Kind::Date),
                 eRowNum = e("RowNum", Kind::Number), eDescription = e("Description", Kind::Text),
                 eSerial = e("Serial", Kind::Text), eWeight = e("Weight", Kind::Number),
                 eArm = e("Arm", Kind::Number), eInstall = e("Install", Kind::Flag),
                 eRemove = e("Remove", Kind::Flag);
    Columns c(companyInfo, error);
    const std::array<size_t, 12> cCols = {
        c("CompName", Kind::Text),  c("CompAddress", Kind::Text), c("CompCSZ", Kind::Text),
        c("CompPhone", Kind::Text), c("FormTitle", Kind::Text),   c("EquipTitle", Kind::Text),
        c("Mechanic", Kind::Text),  c("Cert", Kind::Text),        c("PrintCo", Kind::Flag),
        c("PrintCG", Kind::Flag),   c("PrintMech", Kind::Flag),   c("PrintNotes", Kind::Flag)};
    if (!error.empty()) return std::nullopt;

    for (const JetTable* t : {&aircraft, &equipment, &companyInfo})
        ReportUnreadValues(*t, result.notBroughtAcross);

    std::vector<std::optional<LegacyWorksheet>> sheets(aircraft.rows.size());
    std::map<Key, std::vector<size_t>> sheetsByKey;
    for (size_t r = 0; r < aircraft.rows.size(); ++r) {
        const Row& row = aircraft.rows[r];
        const Nullable tail = TextOf(row[aTail]);
        const auto* date = std::get_if<CalendarDate>(&row[aDate]);
        if (!tail || tail->empty() || !date) {
            result.notBroughtAcross.push_back(
                {aircraft.name, static_cast<int>(r + 1), ValuesOf(aircraft, row),
                 std::string("The Worksheet has no ") + (!date ? "date" : "tail number") +
                     ", which a stored Worksheet is found by."});
            continue;
        }
        LegacyWorksheet w;
        w.sourceRow = static_cast<int>(r + 1);
        w.Tail = *tail;
        w.Date = *date;
        w.Serial = TextOf(row[aSerial]);
        w.Make = TextOf(row[aMake]);
        w.Model = TextOf(row[aModel]);
        w.Year = TextOf(row[aYear]);
        w.Empty = NumberOf(row[aEmpty]);
        w.CG = NumberOf(row[aCG]);
        w.MaxWt = NumberOf(row[aMaxWt]);
        w.Tach = TextOf(row[aTach]);
        w.By = TextOf(row[aBy]);
        w.Cert = TextOf(row[aCert]);
        w.Work = TextOf(row[aWork]);
        w.Range1 = TextOf(row[aRange1]);
        w.Range2 = TextOf(row[aRange2]);
        w.Range3 = TextOf(row[aRange3]);
        w.Memo = TextOf(row[aMemo]);
        for (size_t i = 0; i < 5; ++i) {
            w.scale[i] = {TextOf(row[jCols[i][0]]), NumberOf(row[jCols[i][1]]), NumberOf(row[jCols[i][2]]),
                          NumberOf(row[jCols[i][3]])};
            w.fluid[i] = {TextOf(row[fCols[i][0]]), NumberOf(row[fCols[i][1]]), NumberOf(row[fCols[i][2]])};
        }
        sheetsByKey[{Upper(w.Tail), w.Date}].push_back(r);
        sheets[r] = std::move(w);
    }

    // Equipment: rows in file order, cut into runs where the key changes or RowNum starts again.
    std::vector<LegacyEquipmentRow> rows(equipment.rows.size());
    std::vector<Run> runs;
    std::map<Key, std::vector<size_t>> runsByKey;
    auto leftOut = [&](size_t r, std::string reason) {
        result.notBroughtAcross.push_back({equipment.name, static_cast<int>(r + 1),
                                           ValuesOf(equipment, equipment.rows[r]), std::move(reason)});
    };
    for (size_t r = 0; r < equipment.rows.size(); ++r) {
        const Row& row = equipment.rows[r];
        const Nullable tail = TextOf(row[eTail]);
        const auto* date = std::get_if<CalendarDate>(&row[eDate]);
        const auto rowNum = WholeNumberOf(row[eRowNum]);
        if (!tail || tail->empty() || !date || !rowNum) {
            leftOut(r, "The row has no tail number, date or whole RowNum, so it belongs to no Worksheet.");
            continue;
        }
        LegacyEquipmentRow& e = rows[r];
        e.sourceRow = static_cast<int>(r + 1);
        e.RowNum = *rowNum;
        e.Description = TextOf(row[eDescription]);
        e.Serial = TextOf(row[eSerial]);
        e.Weight = NumberOf(row[eWeight]);
        e.Arm = NumberOf(row[eArm]);
        e.Install = FlagOf(row[eInstall]).value_or(false);
        e.Remove = FlagOf(row[eRemove]).value_or(false);

        const Key key{Upper(*tail), *date};
        const bool continues = !runs.empty() && runs.back().key == key && runs.back().rows.back() + 1 == r &&
                               rows[runs.back().rows.back()].RowNum < e.RowNum;
        if (!continues) {
            runs.push_back({key, *tail, {}, false});
            runsByKey[key].push_back(runs.size() - 1);
        }
        runs.back().rows.push_back(r);
        runs.back().marked =
            runs.back().marked || e.Install || e.Remove || e.Description == kPreviousEmptyDescription;
    }

    // Tie runs to Aircraft rows of the same key. A later save of a Worksheet replaced the rows of
    // the earlier one, so the lists are matched from the last save backwards.
    auto list = [&](const Run& run) {
        std::vector<LegacyEquipmentRow> out;
        for (size_t r : run.rows)
            out.push_back(rows[r]);
        return out;
    };
    for (const auto& [key, keyRuns] : runsByKey) {
        const auto found = sheetsByKey.find(key);
        const std::vector<size_t> none;
        const std::vector<size_t>& owners = found == sheetsByKey.end() ? none : found->second;
        const std::vector<Segment> segments = SegmentsOf(runs, keyRuns, owners.size());
        for (size_t s = 0; s < segments.size(); ++s) {
            const size_t fromEnd = segments.size() - s;
            if (fromEnd <= owners.size()) {
                LegacyWorksheet& w = *sheets[owners[owners.size() - fromEnd]];
                if (segments[s].changes) w.changes = list(runs[keyRuns[*segments[s].changes]]);
                if (segments[s].list) w.equipment = list(runs[keyRuns[*segments[s].list]]);
                continue;
            }
            const Run& first = runs[keyRuns[segments[s].changes.value_or(segments[s].list.value_or(0))]];
            const std::string reason =
                owners.empty()
                    ? "No Aircraft row has the tail number and date " + Shown(first.tail, key.date) + "."
                    : "Left behind by an earlier save of " + Shown(first.tail, key.date) +
                          " that has no Aircraft row of its own.";
            for (auto index : {segments[s].changes, segments[s].list})
                if (index)
                    for (size_t r : runs[keyRuns[*index]].rows)
                        leftOut(r, reason);
        }
    }

    // Two saves with one Tail and Date: the later one is the Worksheet as it was last stored.
    for (const auto& [key, owners] : sheetsByKey) {
        const int kept = sheets[owners.back()]->sourceRow;
        for (size_t i = 0; i + 1 < owners.size(); ++i) {
            const LegacyWorksheet& w = *sheets[owners[i]];
            const std::string shown = Shown(w.Tail, w.Date);
            result.notBroughtAcross.push_back(
                {aircraft.name, w.sourceRow, ValuesOf(aircraft, aircraft.rows[owners[i]]),
                 "An earlier save of " + shown + ": Aircraft row " + std::to_string(kept) +
                     " has the same tail number and date and is brought across instead."});
            const std::pair<const std::vector<LegacyEquipmentRow>*, const char*> lists[] = {
                {&w.changes, "change list"}, {&w.equipment, "equipment list"}};
            for (const auto& [rowsOfList, listName] : lists)
                for (const LegacyEquipmentRow& e : *rowsOfList)
                    leftOut(static_cast<size_t>(e.sourceRow - 1),
                            std::string("In the ") + listName + " of Aircraft row " +
                                std::to_string(w.sourceRow) + ", an earlier save of " + shown +
                                " that is not brought across.");
            sheets[owners[i]].reset();
        }
    }
    for (auto& w : sheets)
        if (w) result.worksheets.push_back(std::move(*w));

    // CompanyInfo: the first row is the company row; the report font row is found by name.
    auto companyRow = [&](const Row& row) {
        CompanyRow out;
        Nullable* texts[] = {&out.CompName,  &out.CompAddress, &out.CompCSZ,  &out.CompPhone,
                             &out.FormTitle, &out.EquipTitle,  &out.Mechanic, &out.Cert};
        for (size_t i = 0; i < 8; ++i)
            *texts[i] = TextOf(row[cCols[i]]);
        std::optional<bool>* flags[] = {&out.PrintCo, &out.PrintCG, &out.PrintMech, &out.PrintNotes};
        for (size_t i = 0; i < 4; ++i)
            *flags[i] = FlagOf(row[cCols[8 + i]]);
        return out;
    };
    std::optional<size_t> fontRow;
    for (size_t r = 0; r < companyInfo.rows.size() && !fontRow; ++r)
        if (const auto name = TextOf(companyInfo.rows[r][cCols[0]]);
            name && SameName(*name, kReportFontMarker))
            fontRow = r;
    for (size_t r = 0; r < companyInfo.rows.size(); ++r) {
        if (r == 0) result.company = companyRow(companyInfo.rows[r]);
        if (fontRow == r) result.reportFont = companyRow(companyInfo.rows[r]);
        if (r != 0 && fontRow != r)
            result.notBroughtAcross.push_back(
                {companyInfo.name, static_cast<int>(r + 1), ValuesOf(companyInfo, companyInfo.rows[r]),
                 "Neither the company row (the first row) nor the report font row "
                 "(the first row named Reports)."});
    }
    return result;
}

std::optional<LegacySetup> BuildSetupImport(const JetTable& setup, std::string& error) {
    error.clear();
    Columns s(setup, error);
    const size_t dataPath = s("DataPath", Kind::Text), phone = s("CompanyPhone", Kind::Text);
    if (!error.empty()) return std::nullopt;
    if (setup.rows.empty()) {
        error = "Table " + setup.name + " has no row.";
        return std::nullopt;
    }
    LegacySetup result;
    ReportUnreadValues(setup, result.notBroughtAcross);
    result.DataPath = TextOf(setup.rows[0][dataPath]);
    result.CompanyPhone = TextOf(setup.rows[0][phone]);
    for (size_t r = 1; r < setup.rows.size(); ++r)
        result.notBroughtAcross.push_back({setup.name, static_cast<int>(r + 1),
                                           ValuesOf(setup, setup.rows[r]),
                                           "Only the first settings row is used."});
    return result;
}

}  // namespace wb::jet
