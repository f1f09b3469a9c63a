#include "store/jet/Convert.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <system_error>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "store/Audit.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/WorksheetRows.h"
#include "store/jet/LegacyFiles.h"

namespace wb::jet {
namespace {

namespace fs = std::filesystem;

// The grids hold 30 change rows and 100 equipment rows; a load shows no row beyond them.
constexpr size_t kChangeRows = 30, kEquipmentRows = 100;
constexpr size_t kReportLines = 12;

Value TextValue(const Nullable& v) {
    return v ? Value(*v) : Value();
}
Value NumberValue(const std::optional<double>& v) {
    return v ? Value(*v) : Value();
}
Value FlagValue(const std::optional<bool>& v) {
    return v ? Value(std::int64_t{*v ? 1 : 0}) : Value();
}

JetValue JetText(const Nullable& v) {
    return v ? JetValue(*v) : JetValue();
}
JetValue JetNumber(const std::optional<double>& v) {
    return v ? JetValue(*v) : JetValue();
}

fs::path WithSuffix(const fs::path& file, const std::string& suffix) {
    fs::path out = file;
    out += suffix;
    return out;
}

// `file` + `suffix`, or with ".1", ".2" ... added until the name is free.
fs::path FreeName(const fs::path& file, const std::string& suffix) {
    std::error_code ec;
    fs::path candidate = WithSuffix(file, suffix);
    for (int n = 1; fs::exists(fs::symlink_status(candidate, ec)); ++n)
        candidate = WithSuffix(file, suffix + "." + std::to_string(n));
    return candidate;
}

// Pushes a file's or a folder's contents to the disk, so that a power cut after the renames
// cannot leave the new name pointing at an empty file.
void Sync(const fs::path& path) {
#if __has_include(<unistd.h>)
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)path;
#endif
}

// The temporary database and the journal the engine may leave beside it; both go unless the
// file is kept.
class TemporaryFile {
  public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (kept_) return;
        std::error_code ec;
        fs::remove(path_, ec);
        fs::remove(WithSuffix(path_, "-journal"), ec);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const fs::path& path() const { return path_; }
    void Keep() { kept_ = true; }

  private:
    fs::path path_;
    bool kept_ = false;
};

std::string Name(const fs::path& file) {
    return file.filename().string();
}

// Writes the new file beside the old one, then swaps the names. `fill` writes the rows into
// the fresh tables, within the one transaction that creates them.
template <class Fill>
void Convert(const fs::path& jetFile, const std::vector<TableLayout>& tables, const Fill& fill,
             const ConversionCheckpoint& checkpoint, ConversionReport& report) {
    auto step = [&](ConversionStep s) {
        if (checkpoint) checkpoint(s);
    };
    const fs::path folder = jetFile.has_parent_path() ? jetFile.parent_path() : fs::path(".");
    const std::string unchanged = " Nothing has been changed: " + Name(jetFile) + " is where it was.";
    TemporaryFile temp(FreeName(jetFile, ".converting"));
    try {
        {
            Database db(temp.path(), Database::Mode::CreateIfMissing);
            Transaction tx(db);
            WriteTables(db, tables);
            fill(db);
            step(ConversionStep::RowsWritten);
            tx.Commit();
        }
        Sync(temp.path());
        step(ConversionStep::FileClosed);
    } catch (const WorkCancelled&) {
        throw;
    } catch (const std::exception& e) {
        throw ConversionError("The new database could not be written in " + folder.string() + ": " +
                              e.what() + "." + unchanged);
    }

    report.keptAs = KeptName(jetFile);
    std::error_code ec;
    fs::rename(jetFile, report.keptAs, ec);
    if (ec)
        throw ConversionError("The old file could not be renamed to " + Name(report.keptAs) + ": " +
                              ec.message() + "." + unchanged);
    try {
        step(ConversionStep::OldFileMoved);
        fs::rename(temp.path(), jetFile);
    } catch (const std::exception& e) {
        std::error_code back;
        fs::rename(report.keptAs, jetFile, back);
        if (back)
            throw ConversionError("The new database could not take the name " + Name(jetFile) + ": " +
                                  e.what() + ". The old file is kept unchanged as " + report.keptAs.string() +
                                  "; rename it back to " + Name(jetFile) + ".");
        throw ConversionError("The new database could not take the name " + Name(jetFile) + ": " + e.what() +
                              "." + unchanged);
    }
    temp.Keep();
    Sync(folder);
    report.database = jetFile;
}

std::vector<std::pair<std::string, JetValue>> EquipmentValues(const LegacyWorksheet& w,
                                                              const LegacyEquipmentRow& e) {
    return {{"Tail", w.Tail},
            {"Date", w.Date},
            {"RowNum", static_cast<std::int32_t>(e.RowNum)},
            {"Description", JetText(e.Description)},
            {"Serial", JetText(e.Serial)},
            {"Weight", JetNumber(e.Weight)},
            {"Arm", JetNumber(e.Arm)},
            {"Install", e.Install},
            {"Remove", e.Remove}};
}

std::vector<Value> AircraftValues(const LegacyWorksheet& w) {
    std::map<std::string, Value, std::less<>> byName = {{"Tail", w.Tail},
                                                        {"Date", IsoDate(w.Date)},
                                                        {"Serial", TextValue(w.Serial)},
                                                        {"Make", TextValue(w.Make)},
                                                        {"Model", TextValue(w.Model)},
                                                        {"Year", TextValue(w.Year)},
                                                        {"Empty", NumberValue(w.Empty)},
                                                        {"CG", NumberValue(w.CG)},
                                                        {"MaxWt", NumberValue(w.MaxWt)},
                                                        {"Tach", TextValue(w.Tach)},
                                                        {"By", TextValue(w.By)},
                                                        {"Cert", TextValue(w.Cert)},
                                                        {"Work", TextValue(w.Work)},
                                                        {"Range1", TextValue(w.Range1)},
                                                        {"Range2", TextValue(w.Range2)},
                                                        {"Range3", TextValue(w.Range3)},
                                                        {"Memo", TextValue(w.Memo)},
                                                        // old files have none of these: pounds
                                                        // and inches, no ballast arm, no chord
                                                        {"BallastArm", Value()},
                                                        {"Units", Value()},
                                                        {"Lemac", Value()},
                                                        {"Mac", Value()}};
    for (size_t i = 0; i < 5; ++i) {
        const std::string j = "J" + std::to_string(i + 1), f = "F" + std::to_string(i + 1);
        byName[j + "Dsc"] = TextValue(w.scale[i].Dsc);
        byName[j + "Tar"] = NumberValue(w.scale[i].Tar);
        byName[j + "Wgt"] = NumberValue(w.scale[i].Wgt);
        byName[j + "Arm"] = NumberValue(w.scale[i].Arm);
        byName[f + "Dsc"] = TextValue(w.fluid[i].Dsc);
        byName[f + "Wgt"] = NumberValue(w.fluid[i].Wgt);
        byName[f + "Arm"] = NumberValue(w.fluid[i].Arm);
    }
    std::vector<Value> values;
    // Columns old files have no counterpart of (the weighing record) stay Null.
    for (const AircraftColumn& c : AircraftColumns()) {
        const auto found = byName.find(c.name);
        values.push_back(found == byName.end() ? Value() : found->second);
    }
    return values;
}

std::vector<Value> CompanyValues(const CompanyRow& row) {
    return {TextValue(row.CompName),  TextValue(row.CompAddress), TextValue(row.CompCSZ),
            TextValue(row.CompPhone), TextValue(row.FormTitle),   TextValue(row.EquipTitle),
            TextValue(row.Mechanic),  TextValue(row.Cert),        FlagValue(row.PrintCo),
            FlagValue(row.PrintCG),   FlagValue(row.PrintMech),   FlagValue(row.PrintNotes)};
}

// Stores the rows as a save of each Worksheet would: both lists under the Worksheet's own Tail
// and Date, RowNum counting 0, 1, 2 ... in each list. A row without a description is one a save
// never writes, and a row past the grid's last one could never be shown; both are reported.
void WriteMain(Database& db, const LegacyMainImport& import, ConversionReport& report, Progress& progress) {
    Statement aircraft = db.Prepare(AircraftInsertSql());
    Statement equipment = db.Prepare(
        "INSERT INTO Equipment (Tail, \"Date\", RowNum, Description, Serial, Weight, Arm, Install, Remove, "
        "List) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    ImportCounts& counts = report.counts;
    const auto total = static_cast<std::int64_t>(import.worksheets.size());
    for (const LegacyWorksheet& w : import.worksheets) {
        // Stopped here, the new file is never committed and goes: the old one is untouched.
        progress.Report(counts.worksheets, total, "Converting Worksheets");
        StopIfCancelled(progress);
        aircraft.BindAll(AircraftValues(w));
        aircraft.Run();
        aircraft.Reset();
        ++counts.worksheets;
        const std::string date = IsoDate(w.Date);
        auto store = [&](const std::vector<LegacyEquipmentRow>& rows, std::string_view list, size_t capacity,
                         int& counted) {
            std::int64_t rowNum = 0;
            for (const LegacyEquipmentRow& e : rows) {
                std::string reason;
                if (!e.Description || e.Description->empty())
                    reason = "The row has no description; the program keeps no such row.";
                else if (static_cast<size_t>(rowNum) >= capacity)
                    reason = "The " + std::string(list == kChangesList ? "change" : "equipment") +
                             " list of " + w.Tail + " " + date + " is longer than the " +
                             std::to_string(capacity) + " rows the program shows.";
                if (!reason.empty()) {
                    report.notBroughtAcross.push_back(
                        {"Equipment", e.sourceRow, EquipmentValues(w, e), reason});
                    continue;
                }
                equipment.BindAll({w.Tail, date, rowNum++, *e.Description, TextValue(e.Serial),
                                   NumberValue(e.Weight), NumberValue(e.Arm), std::int64_t{e.Install ? 1 : 0},
                                   std::int64_t{e.Remove ? 1 : 0}, std::string(list)});
                equipment.Run();
                equipment.Reset();
                ++counted;
            }
        };
        store(w.changes, kChangesList, kChangeRows, counts.changeRows);
        store(w.equipment, kEquipmentList, kEquipmentRows, counts.equipmentRows);
    }
    // The folded texts the finds by tail number and the search read, as a save writes them.
    FillFoldedColumns(db);

    // The new file already has its company row (Id 1); the old values go into it, and the
    // report font row follows it, as the program itself would append one.
    if (import.company) {
        Statement s = db.Prepare(
            "UPDATE CompanyInfo SET CompName = ?, CompAddress = ?, CompCSZ = ?, CompPhone = ?, FormTitle = "
            "?, "
            "EquipTitle = ?, Mechanic = ?, Cert = ?, PrintCo = ?, PrintCG = ?, PrintMech = ?, PrintNotes = ? "
            "WHERE Id = (SELECT min(Id) FROM CompanyInfo)");
        s.BindAll(CompanyValues(*import.company));
        s.Run();
        counts.companyRows = 1;
    }
    // A company row named "Reports" is itself the report font row; it is not written twice.
    if (import.reportFont && !(import.company && *import.company == *import.reportFont)) {
        Statement s = db.Prepare(
            "INSERT INTO CompanyInfo (CompName, CompAddress, CompCSZ, CompPhone, FormTitle, EquipTitle, "
            "Mechanic, Cert, PrintCo, PrintCG, PrintMech, PrintNotes) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?)");
        s.BindAll(CompanyValues(*import.reportFont));
        s.Run();
        counts.reportFontRows = 1;
    } else if (import.reportFont) {
        counts.reportFontRows = 1;
    }
}

std::string Plural(int n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Shown(const JetValue& v) {
    struct {
        std::string operator()(std::monostate) const { return "Null"; }
        std::string operator()(const std::string& s) const { return "\"" + s + "\""; }
        std::string operator()(double d) const {
            char text[32];
            const auto r = std::to_chars(text, text + sizeof text, d);
            return std::string(text, r.ptr);
        }
        std::string operator()(float f) const {
            char text[32];
            const auto r = std::to_chars(text, text + sizeof text, f);
            return std::string(text, r.ptr);
        }
        std::string operator()(std::int32_t i) const { return std::to_string(i); }
        std::string operator()(bool b) const { return b ? "Yes" : "No"; }
        std::string operator()(const CalendarDate& d) const { return IsoDate(d); }
    } visitor;
    return std::visit(visitor, v);
}

// The values that tell the mechanic which row is meant: tail number, date and description
// where the table has them, otherwise the first two values that are not Null.
std::string KeyValues(const NotBroughtAcross& row, bool withDescription) {
    std::vector<std::string> parts;
    for (const auto& [name, value] : row.values)
        if (SameName(name, "Tail") || SameName(name, "Date") ||
            (withDescription && SameName(name, "Description")))
            parts.push_back(name + " " + Shown(value));
    if (parts.empty())
        for (const auto& [name, value] : row.values)
            if (!IsNull(value) && parts.size() < 2) parts.push_back(name + " " + Shown(value));
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : ", ") + p;
    return out;
}

}  // namespace

fs::path KeptName(const fs::path& jetFile) {
    return FreeName(jetFile, ".jet");
}

ConversionReport ConvertMainDatabase(const fs::path& jetFile, const ConversionCheckpoint& checkpoint,
                                     const TableReader& reader, Progress& progress) {
    std::string error;
    progress.Report(0, 0, "Reading the old file");
    const auto import = ReadLegacyMain(jetFile, error, reader);
    if (!import) throw ConversionError(error + " Nothing has been changed.");
    StopIfCancelled(progress);
    ConversionReport report;
    report.notBroughtAcross = import->notBroughtAcross;
    Convert(
        jetFile, MainTables(),
        [&](Database& db) {
            WriteMain(db, *import, report, progress);
            AuditEveryWorksheet(db, audit::kConvert);
        },
        checkpoint, report);
    const ImportCounts& c = report.counts;
    report.broughtAcross = {Plural(c.worksheets, "Worksheet", "Worksheets"),
                            Plural(c.changeRows, "change list row", "change list rows"),
                            Plural(c.equipmentRows, "equipment list row", "equipment list rows"),
                            Plural(c.companyRows, "company row", "company rows"),
                            Plural(c.reportFontRows, "report font row", "report font rows")};
    return report;
}

ConversionReport ConvertSettingsDatabase(const fs::path& jetFile, const ConversionCheckpoint& checkpoint,
                                         const TableReader& reader) {
    std::string error;
    const auto import = ReadLegacySetup(jetFile, error, reader);
    if (!import) throw ConversionError(error + " Nothing has been changed.");
    ConversionReport report;
    report.notBroughtAcross = import->notBroughtAcross;
    Nullable dataPath = import->DataPath;
    std::error_code ec;
    if (dataPath && !(!dataPath->empty() && fs::is_directory(*dataPath, ec))) {
        if (!dataPath->empty())
            report.notBroughtAcross.push_back(
                {"Setup",
                 1,
                 {{"DataPath", *dataPath}},
                 "The data folder " + *dataPath +
                     " does not exist on this computer; choose the data folder when the program starts."});
        dataPath.reset();
    }
    Convert(
        jetFile, SettingsTables(),
        [&](Database& db) {
            Statement s = db.Prepare(
                "UPDATE Setup SET DataPath = ?, CompanyPhone = ? WHERE Id = (SELECT min(Id) FROM Setup)");
            s.BindAll({TextValue(dataPath), TextValue(import->CompanyPhone)});
            s.Run();
        },
        checkpoint, report);
    if (import->CompanyPhone) report.broughtAcross.push_back("the company telephone number");
    if (dataPath) report.broughtAcross.push_back("the data folder " + *dataPath);
    return report;
}

std::string ReportText(const ConversionReport& report) {
    std::string text = Name(report.database) +
                       " has been converted for this program. The old file is kept "
                       "unchanged as " +
                       Name(report.keptAs) + ".\n\nBrought across:";
    if (report.broughtAcross.empty()) text += "\n- nothing (the old file held no values to keep)";
    for (const std::string& line : report.broughtAcross)
        text += "\n- " + line;
    if (report.notBroughtAcross.empty()) return text + "\n\nEverything was brought across.";

    // Whole Worksheets first: they matter most and there are few of them.
    std::vector<const NotBroughtAcross*> rows;
    for (const auto& r : report.notBroughtAcross)
        rows.push_back(&r);
    std::stable_partition(rows.begin(), rows.end(),
                          [](const NotBroughtAcross* r) { return SameName(r->table, "Aircraft"); });

    std::vector<std::string> lines;
    for (size_t i = 0; i < rows.size();) {
        size_t end = i + 1;
        while (end < rows.size() && rows[end]->table == rows[i]->table &&
               rows[end]->reason == rows[i]->reason && rows[end]->row == rows[end - 1]->row + 1 &&
               rows[i]->row > 0)
            ++end;
        const NotBroughtAcross& first = *rows[i];
        std::string where = first.table;
        if (first.row == 0)
            where += " (a whole column)";
        else if (end - i == 1)
            where += " row " + std::to_string(first.row);
        else
            where += " rows " + std::to_string(first.row) + "-" + std::to_string(rows[end - 1]->row);
        const std::string keys = KeyValues(first, end - i == 1);
        lines.push_back(where + (keys.empty() ? "" : " (" + keys + ")") + ": " + first.reason);
        i = end;
    }
    text += "\n\nNot brought across (" +
            Plural(static_cast<int>(report.notBroughtAcross.size()), "row", "rows") +
            "; the old file still holds them):";
    for (size_t i = 0; i < lines.size() && i < kReportLines; ++i)
        text += "\n- " + lines[i];
    if (lines.size() > kReportLines)
        text += "\n- ... and " + std::to_string(lines.size() - kReportLines) + " more.";
    return text;
}

}  // namespace wb::jet
