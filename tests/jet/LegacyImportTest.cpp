// What the import brings across: each Equipment row tied to its Worksheet and list, repeated
// saves, company and settings rows, and everything left out named with its reason.
#include "store/jet/LegacyImport.h"

#include <gtest/gtest.h>

#include <map>

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
    using enum JetType;
    const std::vector<std::string> names{"Tail",   "Date", "RowNum",  "Description", "Serial",
                                         "Weight", "Arm",  "Install", "Remove"};
    const std::vector<JetType> types{Text, DateTime, Long, Text, Text, Double, Double, Boolean, Boolean};
    std::vector<std::pair<std::string, JetType>> cols;
    for (size_t i = 0; i < names.size(); ++i)
        cols.emplace_back(names[i], types[i]);
    return Table("Equipment", cols);
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
    for (const auto& [description, marks] : rows)  // in the column order of Equipment()
        eq.rows.push_back({tail, date, n++, description, std::string(), 1.5, 40.0,
                           marks.find('I') != std::string::npos, marks.find('R') != std::string::npos});
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

TEST_F(Grouping, UnmarkedListsAreTheEquipmentListWhenAloneOrSecond) {
    AddRow(aircraft, {{"Tail", std::string("N8127P")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Tail", std::string("C-GKLM")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Tail", std::string("N733BM")}, {"Date", kDay1}});
    AddList(equipment, "N8127P", kDay1, {{"Nav/Com", ""}, {"ELT", ""}});
    // A change list with no Previous A/C Empty row and no equipment list after it.
    AddList(equipment, "C-GKLM", kDay1, {{"Radar", "I"}, {"Strobe", ""}});
    // Two unmarked lists of one save: its change list, then its equipment list.
    AddList(equipment, "N733BM", kDay1, {{"Wire bundle", ""}});
    AddList(equipment, "N733BM", kDay1, {{"Nav/Com", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 3u);
    EXPECT_TRUE(result.worksheets[0].changes.empty());
    EXPECT_EQ(Descriptions(result.worksheets[0].equipment), (Strings{"Nav/Com", "ELT"}));
    EXPECT_EQ(Descriptions(result.worksheets[1].changes), (Strings{"Radar", "Strobe"}));
    EXPECT_TRUE(result.worksheets[1].equipment.empty());
    EXPECT_EQ(Descriptions(result.worksheets[2].changes), (Strings{"Wire bundle"}));
    EXPECT_EQ(Descriptions(result.worksheets[2].equipment), (Strings{"Nav/Com"}));
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

}  // namespace
}  // namespace wb::jet
