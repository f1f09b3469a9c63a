#include "store/MainDatabase.h"

#include "store/Schema.h"

namespace wb {
namespace {

constexpr const char* kCompanyColumns =
    "CompName, CompAddress, CompCSZ, CompPhone, FormTitle, EquipTitle, Mechanic, Cert, "
    "PrintCo, PrintCG, PrintMech, PrintNotes";

Value Text(const Nullable& v) {
    return v ? Value(*v) : Value();
}
Value Flag(const std::optional<bool>& v) {
    return v ? Value(std::int64_t{*v ? 1 : 0}) : Value();
}

std::optional<bool> FlagAt(const Statement& s, int col) {
    if (s.IsNull(col)) return std::nullopt;
    return s.Int(col) != 0;
}

}  // namespace

MainDatabase::MainDatabase(const std::filesystem::path& file) : db_(OpenDatabaseFile(file, MainTables())) {}

std::int64_t MainDatabase::CompanyRowId() {
    Statement first = db_.Prepare("SELECT Id FROM CompanyInfo ORDER BY Id LIMIT 1");
    if (first.Step()) return first.Int(0);
    db_.Exec("INSERT INTO CompanyInfo DEFAULT VALUES");
    return db_.LastInsertRowid();
}

CompanyRow MainDatabase::ReadCompanyRow() {
    CompanyRowId();
    return FindCompanyRow().value_or(CompanyRow{});
}

std::optional<CompanyRow> MainDatabase::FindCompanyRow() {
    return wb::FindCompanyRow(db_);
}

std::optional<CompanyRow> FindCompanyRow(Database& db) {
    Statement s =
        db.Prepare(std::string("SELECT ") + kCompanyColumns + " FROM CompanyInfo ORDER BY Id LIMIT 1");
    if (!s.Step()) return std::nullopt;
    CompanyRow row;
    row.CompName = s.Text(0);
    row.CompAddress = s.Text(1);
    row.CompCSZ = s.Text(2);
    row.CompPhone = s.Text(3);
    row.FormTitle = s.Text(4);
    row.EquipTitle = s.Text(5);
    row.Mechanic = s.Text(6);
    row.Cert = s.Text(7);
    row.PrintCo = FlagAt(s, 8);
    row.PrintCG = FlagAt(s, 9);
    row.PrintMech = FlagAt(s, 10);
    row.PrintNotes = FlagAt(s, 11);
    return row;
}

void MainDatabase::WriteCompanyRow(const CompanyRow& row) {
    const std::int64_t id = CompanyRowId();
    Statement s = db_.Prepare(
        "UPDATE CompanyInfo SET CompName = ?, CompAddress = ?, CompCSZ = ?, CompPhone = ?, FormTitle = ?, "
        "EquipTitle = ?, Mechanic = ?, Cert = ?, PrintCo = ?, PrintCG = ?, PrintMech = ?, PrintNotes = ? "
        "WHERE Id = ?");
    s.BindAll({Text(row.CompName), Text(row.CompAddress), Text(row.CompCSZ), Text(row.CompPhone),
               Text(row.FormTitle), Text(row.EquipTitle), Text(row.Mechanic), Text(row.Cert),
               Flag(row.PrintCo), Flag(row.PrintCG), Flag(row.PrintMech), Flag(row.PrintNotes), Value(id)});
    s.Run();
}

std::optional<ReportFont> MainDatabase::ReadReportFont() {
    return wb::ReadReportFont(db_);
}

std::optional<ReportFont> ReadReportFont(Database& db) {
    Statement s = db.Prepare(
        "SELECT CompName, CompAddress, CompCSZ, CompPhone, FormTitle FROM CompanyInfo "
        "WHERE CompName = ? ORDER BY Id LIMIT 1");
    s.Bind(1, std::string(kReportFontMarker));
    if (!s.Step()) return std::nullopt;
    CompanyRow row;
    row.CompName = s.Text(0);
    row.CompAddress = s.Text(1);
    row.CompCSZ = s.Text(2);
    row.CompPhone = s.Text(3);
    row.FormTitle = s.Text(4);
    return ReportFontFromRow(row);
}

void MainDatabase::WriteReportFont(const ReportFont& font) {
    const CompanyRow row = ReportFontRow(font);
    // The company row must stay first: make sure it exists before a font row is appended.
    CompanyRowId();
    Statement find = db_.Prepare("SELECT Id FROM CompanyInfo WHERE CompName = ? ORDER BY Id LIMIT 1");
    find.Bind(1, std::string(kReportFontMarker));
    if (find.Step()) {
        Statement s = db_.Prepare(
            "UPDATE CompanyInfo SET CompName = ?, CompAddress = ?, CompCSZ = ?, CompPhone = ?, FormTitle = ? "
            "WHERE Id = ?");
        s.BindAll({Text(row.CompName), Text(row.CompAddress), Text(row.CompCSZ), Text(row.CompPhone),
                   Text(row.FormTitle), Value(find.Int(0))});
        s.Run();
        return;
    }
    Statement s = db_.Prepare(
        "INSERT INTO CompanyInfo (CompName, CompAddress, CompCSZ, CompPhone, FormTitle) VALUES (?, ?, ?, ?, "
        "?)");
    s.BindAll({Text(row.CompName), Text(row.CompAddress), Text(row.CompCSZ), Text(row.CompPhone),
               Text(row.FormTitle)});
    s.Run();
}

}  // namespace wb
