// What the import brings across: each Equipment row tied to its Worksheet and list, repeated
// saves, company and settings rows, and everything left out named with its reason.
#include "store/jet/LegacyImport.h"

#include <gtest/gtest.h>

#include <map>

#include "Fixtures.h"
#include "store/jet/LegacyFiles.h"

namespace wb::jet {
namespace {

using Values = std::initializer_list<std::pair<std::string_view, JetValue>>;

JetTable Table(std::string name, std::vector<std::pair<std::string, JetType>> columns) {
    JetTable t;
    t.name = std::move(name);
    for (auto& [n, type] : columns)
        t.columns.push_back({n, type, type == JetType::Text ? 40 : 0, {}});
    return t;
}

void AddRow(JetTable& t, Values values) {
    std::vector<JetValue> row(t.columns.size());
    for (const auto& [name, value] : values)
        row.at(*t.ColumnIndex(name)) = value;
    t.rows.push_back(std::move(row));
}

JetTable Aircraft(JetType numbers = JetType::Double) {
    std::vector<std::pair<std::string, JetType>> cols = {{"Tail", JetType::Text},
                                                         {"Date", JetType::DateTime}};
    for (const char* t : {"Serial", "Make", "Model", "Year"})
        cols.emplace_back(t, JetType::Text);
    for (const char* n : {"Empty", "CG", "MaxWt"})
        cols.emplace_back(n, JetType::Double);
    for (const char* t : {"Tach", "By", "Cert", "Work", "Range1", "Range2", "Range3"})
        cols.emplace_back(t, JetType::Text);
    cols.emplace_back("Memo", JetType::Memo);
    for (const char* part : {"Dsc", "Tar", "Wgt", "Arm"})
        for (int i = 1; i <= 5; ++i)
            cols.emplace_back("J" + std::to_string(i) + part, part[0] == 'D' ? JetType::Text : numbers);
    for (const char* part : {"Dsc", "Wgt", "Arm"})
        for (int i = 1; i <= 5; ++i)
            cols.emplace_back("F" + std::to_string(i) + part, part[0] == 'D' ? JetType::Text : numbers);
    return Table("Aircraft", cols);
}

JetTable Equipment() {
    return Table("Equipment", {{"Tail", JetType::Text},
                               {"Date", JetType::DateTime},
                               {"RowNum", JetType::Long},
                               {"Description", JetType::Text},
                               {"Serial", JetType::Text},
                               {"Weight", JetType::Double},
                               {"Arm", JetType::Double},
                               {"Install", JetType::Boolean},
                               {"Remove", JetType::Boolean}});
}

JetTable CompanyInfo(JetType flags = JetType::Boolean) {
    std::vector<std::pair<std::string, JetType>> cols;
    for (const char* t :
         {"CompName", "CompAddress", "CompCSZ", "CompPhone", "FormTitle", "EquipTitle", "Mechanic", "Cert"})
        cols.emplace_back(t, JetType::Text);
    for (const char* f : {"PrintCo", "PrintCG", "PrintMech", "PrintNotes"})
        cols.emplace_back(f, flags);
    return Table("CompanyInfo", cols);
}

const CalendarDate kDay1{1999, 8, 30}, kDay2{2003, 5, 21};

// Rows of one list: descriptions with their marks ("I", "R", "IR" or ""), RowNum from 0.
void AddList(JetTable& eq, const std::string& tail, CalendarDate date,
             std::vector<std::pair<std::string, std::string>> rows) {
    std::int32_t n = 0;
    for (const auto& [description, marks] : rows)
        AddRow(eq, {{"Tail", tail},
                    {"Date", date},
                    {"RowNum", n++},
                    {"Description", description},
                    {"Serial", std::string()},
                    {"Weight", 1.5},
                    {"Arm", 40.0},
                    {"Install", marks.find('I') != std::string::npos},
                    {"Remove", marks.find('R') != std::string::npos}});
}

std::vector<std::string> Descriptions(const std::vector<LegacyEquipmentRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.Description.value_or("<null>"));
    return out;
}

using Strings = std::vector<std::string>;

class Grouping : public ::testing::Test {
  protected:
    LegacyMainImport Build() {
        std::string error;
        auto result = BuildMainImport(aircraft, equipment, company, error);
        EXPECT_TRUE(result) << error;
        return result ? *result : LegacyMainImport{};
    }
    JetTable aircraft = Aircraft(), equipment = Equipment(), company = CompanyInfo();
};

TEST_F(Grouping, RowNumStartingAgainAtZeroBeginsTheEquipmentList) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay1}});
    AddList(equipment, "N4521K", kDay1,
            {{kPreviousEmptyDescription, ""}, {"GPS", "I"}, {"Loran", "R"}, {"Wire", ""}});
    AddList(equipment, "N4521K", kDay1, {{"Nav/Com", ""}, {"GPS", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 1u);
    EXPECT_EQ(Descriptions(result.worksheets[0].changes),
              (Strings{kPreviousEmptyDescription, "GPS", "Loran", "Wire"}));
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"Nav/Com", "GPS"}));
    EXPECT_EQ(result.worksheets[0].equipment[1].RowNum, 1);
    EXPECT_EQ(result.worksheets[0].equipment[1].sourceRow, 6);
    EXPECT_TRUE(result.notBroughtAcross.empty());
    EXPECT_EQ(result.Counts(), (ImportCounts{1, 4, 2, 0, 0}));
}

TEST_F(Grouping, AnUnmarkedListStandingAloneIsTheEquipmentList) {
    AddRow(aircraft, {{"Tail", std::string("N8127P")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Tail", std::string("C-GKLM")}, {"Date", kDay1}});
    AddList(equipment, "N8127P", kDay1, {{"Nav/Com", ""}, {"ELT", ""}});
    // A change list with no Previous A/C Empty row and no equipment list after it.
    AddList(equipment, "C-GKLM", kDay1, {{"Radar", "I"}, {"Strobe", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 2u);
    EXPECT_TRUE(result.worksheets[0].changes.empty());
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"Nav/Com", "ELT"}));
    EXPECT_EQ(Descriptions(result.worksheets[1].changes), (Strings{"Radar", "Strobe"}));
    EXPECT_TRUE(result.worksheets[1].equipment.empty());
}

TEST_F(Grouping, TwoUnmarkedListsOfOneSaveAreItsChangeAndEquipmentLists) {
    AddRow(aircraft, {{"Tail", std::string("N733BM")}, {"Date", kDay1}});
    AddList(equipment, "N733BM", kDay1, {{"Wire bundle", ""}});
    AddList(equipment, "N733BM", kDay1, {{"Nav/Com", ""}, {"ELT", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 1u);
    EXPECT_EQ(Descriptions(result.worksheets[0].changes), (Strings{"Wire bundle"}));
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"Nav/Com", "ELT"}));
}

TEST_F(Grouping, RowsAreFoundByTailAndDateIgnoringCaseNotByPosition) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay2}});
    AddList(equipment, "N4521K", kDay2, {{"Later", ""}});
    AddList(equipment, "n4521k", kDay1, {{"Earlier", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 2u);
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"Earlier"}));
    EXPECT_EQ(Descriptions(result.worksheets[1].equipment), (Strings{"Later"}));
}

TEST_F(Grouping, RepeatedSaveKeepsTheLaterRowAndListsTheEarlierWithItsRows) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay2}, {"Work", std::string("first")}});
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay2}, {"Work", std::string("second")}});
    AddList(equipment, "N4521K", kDay2, {{kPreviousEmptyDescription, ""}, {"GPS", "I"}});
    AddList(equipment, "N4521K", kDay2, {{"Old list", ""}});
    AddList(equipment, "N4521K", kDay2, {{kPreviousEmptyDescription, ""}, {"GPS", "I"}});
    AddList(equipment, "N4521K", kDay2, {{"New list", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 1u);
    EXPECT_EQ(result.worksheets[0].Work, "second");
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"New list"}));
    ASSERT_EQ(result.notBroughtAcross.size(), 4u);  // the first Aircraft row and its three rows
    const NotBroughtAcross& first = result.notBroughtAcross[0];
    EXPECT_EQ(first.table, "Aircraft");
    EXPECT_EQ(first.row, 1);
    EXPECT_EQ(first.values.size(), 52u);
    EXPECT_EQ(std::get<std::string>(first.values[12].second), "first");
    EXPECT_NE(first.reason.find("Aircraft row 2"), std::string::npos) << first.reason;
    EXPECT_EQ(result.notBroughtAcross[3].row, 3);
    EXPECT_NE(result.notBroughtAcross[3].reason.find("equipment list of Aircraft row 1"), std::string::npos);
}

TEST_F(Grouping, RowsLeftByARepeatedSaveBelongToTheLaterRow) {
    // The old program removed the earlier save's rows when it stored the same Tail and Date again.
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay2}});
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay2}});
    AddList(equipment, "N4521K", kDay2, {{kPreviousEmptyDescription, ""}});
    AddList(equipment, "N4521K", kDay2, {{"Nav/Com", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 1u);
    EXPECT_EQ(result.worksheets[0].sourceRow, 2);
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"Nav/Com"}));
    ASSERT_EQ(result.notBroughtAcross.size(), 1u);
    EXPECT_EQ(result.notBroughtAcross[0].row, 1);
}

TEST_F(Grouping, RowsWithoutAWorksheetAreListedNotDropped) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Date", kDay1}});                     // no tail number
    AddRow(aircraft, {{"Tail", std::string("N8127P")}});     // no date
    AddList(equipment, "N9999X", kDay1, {{"Orphan", "I"}});  // no such Worksheet
    AddRow(equipment,
           {{"Tail", std::string("N4521K")}, {"Date", kDay1}, {"Description", std::string("No RowNum")}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 1u);
    ASSERT_EQ(result.notBroughtAcross.size(), 4u);
    std::map<std::string, std::string> reasons;
    for (const auto& n : result.notBroughtAcross) {
        reasons[n.table + std::to_string(n.row)] = n.reason;
        EXPECT_EQ(n.values.size(), n.table == "Equipment" ? 9u : 52u);
    }
    EXPECT_NE(reasons["Aircraft2"].find("no tail number"), std::string::npos);
    EXPECT_NE(reasons["Aircraft3"].find("no date"), std::string::npos);
    EXPECT_NE(reasons["Equipment1"].find("No Aircraft row has the tail number and date N9999X 1999-08-30"),
              std::string::npos);
    EXPECT_NE(reasons["Equipment2"].find("whole RowNum"), std::string::npos);
}

TEST_F(Grouping, UnreadableValuesAreReportedWhereTheyWere) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay1}});
    aircraft.problems.push_back({1, "Memo", "some fault"});
    const auto result = Build();
    ASSERT_EQ(result.notBroughtAcross.size(), 1u);
    EXPECT_EQ(result.notBroughtAcross[0].row, 1);
    EXPECT_NE(result.notBroughtAcross[0].reason.find("Memo could not be read (some fault)"),
              std::string::npos);
}

TEST_F(Grouping, MissingColumnOrWrongKindOfValueIsAnError) {
    std::string error;
    JetTable noCert = Aircraft();
    noCert.columns.erase(noCert.columns.begin() + *noCert.ColumnIndex("Cert"));
    EXPECT_FALSE(BuildMainImport(noCert, equipment, company, error));
    EXPECT_EQ(error, "Table Aircraft has no column Cert.");

    JetTable textRowNum = Equipment();
    textRowNum.columns[*textRowNum.ColumnIndex("RowNum")].type = JetType::Text;
    EXPECT_FALSE(BuildMainImport(aircraft, textRowNum, company, error));
    EXPECT_EQ(error, "Table Equipment column RowNum holds Text values where a number is expected.");
}

TEST(SingleValues, BecomeTheDecimalThatWasTyped) {
    JetTable aircraft = Aircraft(JetType::Single), equipment = Equipment(), company = CompanyInfo();
    AddRow(aircraft, {{"Tail", std::string("C-GKLM")},
                      {"Date", kDay1},
                      {"J1Arm", -6.8f},
                      {"F2Arm", 33.333333f},
                      {"F1Wgt", 0.0f}});
    std::string error;
    const auto result = BuildMainImport(aircraft, equipment, company, error);
    ASSERT_TRUE(result) << error;
    const LegacyWorksheet& w = result->worksheets.at(0);
    EXPECT_EQ(w.scale[0].Arm, -6.8);
    EXPECT_EQ(w.fluid[1].Arm, 33.333332);
    EXPECT_EQ(w.fluid[0].Wgt, 0.0);
    EXPECT_EQ(w.fluid[0].Arm, std::nullopt);
}

TEST(CompanyRows, FirstRowIsTheCompanyAndReportsIsTheFontRow) {
    JetTable aircraft = Aircraft(), equipment = Equipment(), company = CompanyInfo(JetType::Integer);
    AddRow(
        company,
        {{"CompName", std::string("O'Hara")}, {"PrintCo", std::int32_t{-1}}, {"PrintCG", std::int32_t{0}}});
    AddRow(company, {{"CompName", std::string("Old name")}});
    AddRow(company, {{"CompName", std::string("reports")},
                     {"CompAddress", std::string("Times New Roman")},
                     {"CompCSZ", std::string("14")},
                     {"CompPhone", std::string("False")},
                     {"FormTitle", std::string("-1")}});
    AddRow(company, {{"CompName", std::string("Reports")}});
    std::string error;
    const auto result = BuildMainImport(aircraft, equipment, company, error);
    ASSERT_TRUE(result) << error;
    ASSERT_TRUE(result->company);
    EXPECT_EQ(result->company->CompName, "O'Hara");
    EXPECT_EQ(result->company->PrintCo, true);
    EXPECT_EQ(result->company->PrintCG, false);
    EXPECT_EQ(result->company->PrintMech, std::nullopt);
    ASSERT_TRUE(result->reportFont);
    EXPECT_EQ(ReportFontFromRow(*result->reportFont), (ReportFont{"Times New Roman", 14, false, true}));
    ASSERT_EQ(result->notBroughtAcross.size(), 2u);
    EXPECT_EQ(result->notBroughtAcross[0].row, 2);
    EXPECT_EQ(result->notBroughtAcross[1].row, 4);
    EXPECT_EQ(result->Counts(), (ImportCounts{0, 0, 0, 1, 1}));
}

TEST(SetupRow, FirstRowWithNullKept) {
    JetTable setup = Table("Setup", {{"DataPath", JetType::Text}, {"CompanyPhone", JetType::Text}});
    std::string error;
    EXPECT_FALSE(BuildSetupImport(setup, error));
    EXPECT_EQ(error, "Table Setup has no row.");
    AddRow(setup, {{"CompanyPhone", std::string()}});
    AddRow(setup, {{"DataPath", std::string("D:\\OTHER")}});
    const auto result = BuildSetupImport(setup, error);
    ASSERT_TRUE(result) << error;
    EXPECT_EQ(result->DataPath, std::nullopt);
    EXPECT_EQ(result->CompanyPhone, "");
    ASSERT_EQ(result->notBroughtAcross.size(), 1u);
    EXPECT_EQ(result->notBroughtAcross[0].row, 2);
}

// The fixtures: every Equipment row where EXPECTED.json says it belongs.
class FixtureImport : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureImport, EveryEquipmentRowLandsInItsWorksheetAndList) {
    WB_NEED_JET_FIXTURES();
    std::string error;
    const auto result = ReadLegacyMain(testing::FixtureDir() / GetParam(), error);
    ASSERT_TRUE(result) << error;
    const auto& expected = testing::Expected()["files"][GetParam()]["tables"];

    std::map<int, std::pair<int, std::string>> placed;  // Equipment row -> Aircraft row, list
    for (const LegacyWorksheet& w : result->worksheets) {
        for (const auto& e : w.changes)
            placed[e.sourceRow] = {w.sourceRow, "changes"};
        for (const auto& e : w.equipment)
            placed[e.sourceRow] = {w.sourceRow, "equipment"};
    }
    std::map<int, std::string> leftOut;
    for (const auto& n : result->notBroughtAcross)
        if (n.table == "Equipment") leftOut[n.row] = n.reason;

    // Worksheet 8 is the earlier of two saves of N4521K on 2003-05-21.
    for (const auto& row : expected["Equipment"]["rows"]) {
        const int r = row["row"].get<int>(), sheet = row["worksheet"].get<int>();
        const std::string list = row["list"].get<std::string>();
        if (sheet == 8) {
            const std::string where = list == "changes" ? "change list" : "equipment list";
            EXPECT_NE(leftOut[r].find("In the " + where + " of Aircraft row 8"), std::string::npos)
                << "Equipment row " << r << ": " << leftOut[r];
        } else {
            EXPECT_EQ(placed[r], std::make_pair(sheet, list)) << "Equipment row " << r;
        }
    }
    ASSERT_EQ(result->notBroughtAcross.size(), 21u);
    EXPECT_EQ(result->notBroughtAcross[0].table, "Aircraft");
    EXPECT_EQ(result->notBroughtAcross[0].row, 8);

    int changes = 0, lists = 0;
    for (const auto& ws : testing::Expected()["files"][GetParam()]["worksheets"])
        if (ws["worksheet"] != 8) {
            changes += ws["change_rows"].get<int>();
            lists += ws["equipment_rows"].get<int>();
        }
    const int fontRows = expected["CompanyInfo"]["row_count"].get<int>() - 1;
    EXPECT_EQ(result->Counts(), (ImportCounts{13, changes, lists, 1, fontRows}));
}

TEST_P(FixtureImport, HeaderValuesMatchExpectedWithSinglesAsTyped) {
    WB_NEED_JET_FIXTURES();
    std::string error;
    const auto result = ReadLegacyMain(testing::FixtureDir() / GetParam(), error);
    ASSERT_TRUE(result) << error;
    const auto& rows = testing::Expected()["files"][GetParam()]["tables"]["Aircraft"]["rows"];
    auto text = [](const nlohmann::json& v) {
        return v.is_null() ? Nullable() : Nullable(v.get<std::string>());
    };
    auto number = [](const nlohmann::json& v) {
        return v.is_null() ? std::optional<double>() : v.get<double>();
    };
    for (const LegacyWorksheet& w : result->worksheets) {
        SCOPED_TRACE("Aircraft row " + std::to_string(w.sourceRow));
        const auto& v = rows[w.sourceRow - 1]["values"];
        EXPECT_EQ(w.Tail, v["Tail"].get<std::string>());
        EXPECT_EQ(IsoDate(w.Date), v["Date"].get<std::string>());
        EXPECT_EQ(w.Memo, text(v["Memo"]));
        EXPECT_EQ(w.Range3, text(v["Range3"]));
        EXPECT_EQ(w.Cert, text(v["Cert"]));
        EXPECT_EQ(w.Empty, number(v["Empty"]));
        for (size_t i = 0; i < 5; ++i) {
            const std::string j = "J" + std::to_string(i + 1), f = "F" + std::to_string(i + 1);
            EXPECT_EQ(w.scale[i], (LegacyScaleRow{text(v[j + "Dsc"]), number(v[j + "Tar"]),
                                                  number(v[j + "Wgt"]), number(v[j + "Arm"])}));
            EXPECT_EQ(w.fluid[i],
                      (LegacyFluidRow{text(v[f + "Dsc"]), number(v[f + "Wgt"]), number(v[f + "Arm"])}));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MainFiles, FixtureImport, ::testing::Values("VELK_a.MDB", "VELK_b.MDB"),
                         [](const auto& info) { return info.param.substr(0, 6); });

TEST(FixtureImports, BothMainFilesBringAcrossTheSameWorksheets) {
    WB_NEED_JET_FIXTURES();
    std::string error;
    const auto a = ReadLegacyMain(testing::FixtureDir() / "VELK_a.MDB", error);
    ASSERT_TRUE(a) << error;
    auto b = ReadLegacyMain(testing::FixtureDir() / "VELK_b.MDB", error);
    ASSERT_TRUE(b) << error;
    ASSERT_EQ(a->worksheets.size(), b->worksheets.size());
    // The one Single that does not hold its typed decimal: 33.333333 stored as float32.
    for (auto& w : b->worksheets)
        if (w.Tail == "C-GKLM" && w.fluid[1].Arm == 33.333332) w.fluid[1].Arm = 33.333333;
    for (size_t i = 0; i < a->worksheets.size(); ++i)
        EXPECT_EQ(a->worksheets[i], b->worksheets[i]) << i;

    EXPECT_EQ(a->company->CompName, "O'Hara Aircraft Maintenance");
    EXPECT_EQ(a->company->PrintMech, false);
    EXPECT_FALSE(a->reportFont);
    EXPECT_EQ(b->company->Mechanic, "J. M\xC3\xBCller");
    EXPECT_EQ(
        (std::array{b->company->PrintCo, b->company->PrintCG, b->company->PrintMech, b->company->PrintNotes}),
        (std::array<std::optional<bool>, 4>{true, false, true, true}));
    ASSERT_TRUE(b->reportFont);
    EXPECT_EQ(b->reportFont->EquipTitle, std::nullopt);
    EXPECT_EQ(ReportFontFromRow(*b->reportFont), (ReportFont{"Times New Roman", 14, false, true}));
}

}  // namespace
}  // namespace wb::jet
