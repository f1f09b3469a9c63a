// What the import brings across: each Equipment row tied to its Worksheet and list, repeated
// saves, Single values, and everything left out named with its reason; an old file of the other
// kind is refused. (Company and settings rows: ConvertTest, on the fixture files.)
#include "store/jet/LegacyImport.h"

#include <gtest/gtest.h>

#include <map>

#include "Fixtures.h"
#include "store/Scales.h"
#include "store/Schema.h"
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

// Columns the old files never had: the ballast arm, the unit system, the chord and the weighing record.
bool Newer(const std::string& column) {
    for (const auto& [name, number] : WeighingColumns())
        if (column == name) return true;
    return column == "BallastArm" || column == "Units" || column == "Lemac" || column == "Mac";
}

// The old table has the store's columns, less those it never had.
JetTable Aircraft(JetType numbers = JetType::Double) {
    std::vector<std::pair<std::string, JetType>> cols;
    for (const AircraftColumn& c : AircraftColumns())
        if (!Newer(c.name))
            cols.emplace_back(c.name, c.name == "Date"                 ? JetType::DateTime
                                      : c.kind == AircraftColumn::Text ? JetType::Text
                                                                       : numbers);
    return Table("Aircraft", cols);
}

JetTable Equipment() {
    using enum JetType;
    return Table("Equipment", {{"Tail", Text},
                               {"Date", DateTime},
                               {"RowNum", Long},
                               {"Description", Text},
                               {"Serial", Text},
                               {"Weight", Double},
                               {"Arm", Double},
                               {"Install", Boolean},
                               {"Remove", Boolean}});
}

JetTable CompanyInfo() {
    std::vector<std::pair<std::string, JetType>> cols;
    for (const char* t :
         {"CompName", "CompAddress", "CompCSZ", "CompPhone", "FormTitle", "EquipTitle", "Mechanic", "Cert"})
        cols.emplace_back(t, JetType::Text);
    for (const char* f : {"PrintCo", "PrintCG", "PrintMech", "PrintNotes"})
        cols.emplace_back(f, JetType::Boolean);
    return Table("CompanyInfo", cols);
}

const CalendarDate kDay1{1999, 8, 30};

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

// A list begins where RowNum starts again at 0; one with "Previous A/C Empty" is the change
// list, and unmarked lists are the equipment list when alone or second. Rows are found by tail
// (in any case) and date, not by position. Of a repeated save the later row is kept, and rows
// left alone belong to it: the old program removed the earlier save's rows. (Both saves with
// their lists: ConvertTest, on VELK_a/b.)
TEST_F(Grouping, ListsAreTiedToTheirWorksheetByTailDateAndRowNum) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Tail", std::string("N8127P")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Tail", std::string("C-GKLM")}, {"Date", kDay1}, {"Work", std::string("first")}});
    AddRow(aircraft, {{"Tail", std::string("C-GKLM")}, {"Date", kDay1}, {"Work", std::string("second")}});
    AddRow(aircraft, {{"Tail", std::string("N733BM")}, {"Date", kDay1}});
    AddList(equipment, "N8127P", kDay1, {{"Nav/Com", ""}, {"ELT", ""}});
    AddList(equipment, "n4521k", kDay1, {{kPreviousEmptyDescription, ""}, {"GPS", "I"}, {"Loran", "R"}});
    AddList(equipment, "N4521K", kDay1, {{"Nav/Com", ""}, {"GPS", ""}});
    AddList(equipment, "C-GKLM", kDay1, {{"Radar", "I"}, {"Strobe", ""}});  // no list after it
    AddList(equipment, "N733BM", kDay1, {{"Wire bundle", ""}});
    AddList(equipment, "N733BM", kDay1, {{"Nav/Com", ""}});
    const auto result = Build();
    ASSERT_EQ(result.worksheets.size(), 4u);
    const auto& w = result.worksheets;
    EXPECT_EQ(Descriptions(w[0].changes), (Strings{kPreviousEmptyDescription, "GPS", "Loran"}));
    EXPECT_EQ(Descriptions(w[0].equipment), (Strings{"Nav/Com", "GPS"}));
    EXPECT_TRUE(w[1].changes.empty());
    EXPECT_EQ(Descriptions(w[1].equipment), (Strings{"Nav/Com", "ELT"}));
    EXPECT_EQ(w[2].Work, "second");
    EXPECT_EQ(Descriptions(w[2].changes), (Strings{"Radar", "Strobe"}));
    EXPECT_TRUE(w[2].equipment.empty());
    EXPECT_EQ(Descriptions(w[3].changes), (Strings{"Wire bundle"}));
    EXPECT_EQ(Descriptions(w[3].equipment), (Strings{"Nav/Com"}));
    ASSERT_EQ(result.notBroughtAcross.size(), 1u);  // the earlier save of C-GKLM
    EXPECT_EQ(result.notBroughtAcross[0].row, 3);
}

// Every row that cannot be brought across is listed with its values and why.
TEST_F(Grouping, RowsWithoutAWorksheetOrUnreadableAreListedNotDropped) {
    AddRow(aircraft, {{"Tail", std::string("N4521K")}, {"Date", kDay1}});
    AddRow(aircraft, {{"Date", kDay1}});                     // no tail number
    AddRow(aircraft, {{"Tail", std::string("N8127P")}});     // no date
    AddList(equipment, "N9999X", kDay1, {{"Orphan", "I"}});  // no such Worksheet
    AddRow(equipment,
           {{"Tail", std::string("N4521K")}, {"Date", kDay1}, {"Description", std::string("No RowNum")}});
    aircraft.problems.push_back({1, "Memo", "some fault"});
    const auto result = Build();
    EXPECT_EQ(result.worksheets.size(), 1u);  // an unreadable value is told; the rest comes across
    std::map<std::string, std::string> reasons;
    for (const auto& n : result.notBroughtAcross) {
        reasons[n.table + std::to_string(n.row)] = n.reason;
        if (n.reason.find("could not be read") == std::string::npos) {
            EXPECT_EQ(n.values.size(), n.table == "Equipment" ? 9u : 52u);
        }
    }
    EXPECT_EQ(reasons.size(), 5u);
    EXPECT_NE(reasons["Aircraft1"].find("Memo could not be read (some fault)"), std::string::npos);
    EXPECT_NE(reasons["Aircraft2"].find("no tail number"), std::string::npos);
    EXPECT_NE(reasons["Aircraft3"].find("no date"), std::string::npos);
    EXPECT_NE(reasons["Equipment1"].find("No Aircraft row has the tail number and date N9999X 1999-08-30"),
              std::string::npos);
    EXPECT_NE(reasons["Equipment2"].find("whole RowNum"), std::string::npos);
}

TEST_F(Grouping, SingleValuesBecomeTheDecimalThatWasTyped) {
    aircraft = Aircraft(JetType::Single);
    AddRow(aircraft, {{"Tail", std::string("C-GKLM")},
                      {"Date", kDay1},
                      {"J1Arm", -6.8f},
                      {"F2Arm", 33.333333f},
                      {"F1Wgt", 0.0f}});
    const LegacyWorksheet w = Build().worksheets.at(0);
    EXPECT_EQ(w.scale[0].Arm, -6.8);
    EXPECT_EQ(w.fluid[1].Arm, 33.333332);
    EXPECT_EQ(w.fluid[0].Wgt, 0.0);
    EXPECT_EQ(w.fluid[0].Arm, std::nullopt);
}

// Files are told by their tables, not their name: start-up reads only a Jet file as an old one
// (FormatOfHeader), and one of the other kind is refused with the reason.
TEST(OtherKindOfFile, IsRefusedWithTheReason) {
    WB_NEED_JET_FIXTURES();
    std::string error;
    EXPECT_FALSE(ReadLegacyMain(testing::FixtureDir() / "setup-configured/SetupVELKF.MDB", error));
    EXPECT_NE(error.find("has no table Aircraft"), std::string::npos) << error;
    EXPECT_FALSE(ReadLegacySetup(testing::FixtureDir() / "VELK_a.MDB", error));
    EXPECT_NE(error.find("has no table Setup"), std::string::npos) << error;
}

}  // namespace
}  // namespace wb::jet
