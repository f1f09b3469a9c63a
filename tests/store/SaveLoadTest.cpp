// Saving a Worksheet and showing it again: the round trip, the checks and messages, the
// search path with its replacement, the atomic save and the Null rules.
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Dump;
using Shown = test::Shown;

constexpr const char* kTooLong =
    "Description(s) more than 25 characters long. Check decriptions and save again";

class SaveLoadTest : public test::BothEnginesTest {
  protected:
    // The header fields, the typed texts of both lists and the lists as shown.
    std::vector<std::string> Snapshot() const {
        std::vector<std::string> texts;
        for (const FieldInfo& f : AllFields())
            texts.push_back(form.ws.Get(f.field));
        for (GridId id : {GridId::Grid1, GridId::Grid3}) {
            const RowStore& s = form.ws.store(id);
            for (int r = 0; r < ShapeOf(id).rows; ++r)
                for (int c = 0; c < s.cols; ++c)
                    if (c != ShapeOf(id).computedCol) texts.push_back(s.At(r, c).Text());
            const auto& cells = form.ws.grid(id).cells;
            texts.insert(texts.end(), cells.begin(), cells.end());
        }
        return texts;
    }
    void BrowseAllFirst() {
        New();
        ClearCriteria();
        Next();
    }
};

TEST_P(SaveLoadTest, ASavedWorksheetLoadsBackTheSame) {
    FillWorksheet();
    ASSERT_EQ(form.Text(Control::Text23), "1484.50");
    Set(Control::Text7, "06-10-2001");  // the one date form a Worksheet is shown in
    auto before = Snapshot();
    Set(Control::Text7, "6/10/2001");
    Save();
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(form.SpecsPending, 0);

    BrowseAllFirst();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Snapshot(), before);
    // Moments are worked out afresh; the rows show in the load's patterns.
    EXPECT_DOUBLE_EQ(form.ws.ScaleRows().At(0, scale::Mom).Number(), 48800.0);
    const Grid& fluids = form.ws.grid(GridId::Grid4);
    EXPECT_EQ(std::vector<std::string>(fluids.cells.begin(), fluids.cells.begin() + 4),
              (std::vector<std::string>{"Forward Tanks", "30.00", "95.00", "2850.0"}));
    EXPECT_EQ(form.ws.grid(GridId::Grid2).Cell(3, scale::Wgt), "0.00");
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE \"Date\" = '2001-06-10' AND Tail = 'O''NEIL'"), 1);
}

TEST_P(SaveLoadTest, TheDateAndTailAreCheckedBeforeAnythingIsStored) {
    for (const char* date : {"", "02-30-2001"}) {
        Set(Control::Text1, "N1");
        Set(Control::Text7, date);
        Save();
    }
    Set(Control::Text7, "06-10-2001");
    Set(Control::Text1, "");
    Save();
    EXPECT_EQ(dialogs.Titles(),
              (std::vector<std::string>{"No date entered", "No date entered", "No tail number entered"}));
    EXPECT_EQ(dialogs.shown.back(),
              (Shown{Shown::Notice, "No tail number entered", "Press OK to continue", Icon::Critical}));
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 0);
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_FALSE(form.Hourglass());
}

TEST_P(SaveLoadTest, LongDescriptionsWarnAndAreCutToTwentyFiveCharactersAndRowsAreRenumbered) {
    Set(Control::Text1, "N1");
    Change(0, "Previous A/C Empty", "1200", "35", "", "");
    Change(1, std::string(26, 'a'), "1", "1", "X", "");
    Change(3, "\u00e9" + std::string(39, 'b'), "1", "1", "X", "");  // 40 characters, 41 bytes
    Item(2, std::string(30, 'c'), "1", "1");
    Save();
    EXPECT_EQ(dialogs.shown,
              (std::vector<Shown>(2, {Shown::Notice, "Too many characters", kTooLong, Icon::Critical})));
    Statement s = db().Prepare("SELECT RowNum, Description, List FROM Equipment ORDER BY Id");
    std::vector<std::string> rows;
    while (s.Step())
        rows.push_back(*s.Text(0) + " " + *s.Text(1) + " " + *s.Text(2));
    EXPECT_EQ(rows, (std::vector<std::string>{"0 Previous A/C Empty changes",
                                              "1 " + std::string(25, 'a') + " changes",
                                              "2 \u00e9" + std::string(24, 'b') + " changes",
                                              "0 " + std::string(25, 'c') + " equipment"}));
}

TEST_P(SaveLoadTest, AChangeRowWithoutMarksIsNeitherShownNorTakenForAnEquipmentItem) {
    Set(Control::Text1, "N1");
    Change(0, "Previous A/C Empty", "1200", "35", "", "");
    Change(1, "Unmarked tow bar", "9", "100", "", "");
    Item(0, "Battery", "25", "10");
    Save();
    BrowseAllFirst();
    EXPECT_EQ(form.ws.InstalledList().At(1, installed::Description).Text(), "");
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Description).Text(), "Battery");
    EXPECT_EQ(form.ws.EquipmentList().At(1, equipment::Description).Text(), "");
    EXPECT_EQ(form.Text(Control::Text23), "1200.00");
}

TEST_P(SaveLoadTest, ASecondWorksheetUnderTheSameTailAndDateIsStoredOnlyWhenTheMechanicAgrees) {
    Store("N1", "06-10-2001", "Battery");
    Store("N2", "06-10-2001", "Strobe");
    New();
    Set(Control::Text1, "N1");
    Set(Control::Text7, "06-10-2001");
    Item(0, "ELT", "3", "200");
    dialogs.Clear();
    Save();  // answered No
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet already stored"});
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Description = 'Battery'"), 1);
    dialogs.answers = {true};
    Save();
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 2);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Tail = 'N1' AND Description = 'ELT'"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Tail = 'N1'"), 1);
}

// A rule of the local file alone.
class SaveLoadFileTest : public SaveLoadTest {
  protected:
    test::Engine engine() const override { return test::Engine::File; }
};

TEST_F(SaveLoadFileTest, AFailingStepLeavesTheDatabaseExactlyAsItWas) {
    Store("N1", "06-10-2001");
    LoadBySearch("N1", "06-10-2001");  // so that the save would replace it
    Item(1, "Strobe", "2", "150");
    Item(2, "Refused", "1", "1");
    Set(Control::Text3, "Cessna");
    db().Exec(
        "CREATE TRIGGER refuse BEFORE INSERT ON Equipment WHEN NEW.Description = 'Refused' "
        "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const auto before = Dump(db());
    dialogs.Clear();
    Save();
    EXPECT_EQ(Dump(db()), before);
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet not saved"});
    EXPECT_NE(dialogs.shown[0].text.find("disk full"), std::string::npos);
    form.FocusTo(Control::Text2);  // leaving Save does not make the screen count as stored
    EXPECT_EQ(form.ScreenSaved, 0);

    // Nothing moved in the sets either: with the step fixed, the save replaces the row.
    db().Exec("DROP TRIGGER refuse");
    Save();
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Make = 'Cessna'"),
              Count("SELECT count(*) FROM Aircraft"));
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment"), 3);
}

TEST_P(SaveLoadTest, TheSearchPathReplacesTheLoadedWorksheetAndANewOneDeletesNothing) {
    Store("N1", "06-10-2001");
    Store("N7", "01-05-2000");
    LoadBySearch("N1");
    Set(Control::Text1, "N2");
    ASSERT_EQ(form.ws.ScaleRows().At(3, scale::Wgt).Text(), "0");
    form.ws.ScaleRows().At(3, scale::Wgt) = "";
    Save();
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'N1'"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Tail = 'N1'"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Tail = 'N2'"), 1);
    // The search path keeps empty numbers empty; the other path writes them as 0.
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'N2' AND J4Wgt IS NULL"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'N7' AND J4Wgt = 0"), 1);

    // On the other path the tail "0" deletes nothing stored.
    New();
    Set(Control::Text1, "0");
    Save();
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 2);
}

TEST_P(SaveLoadTest, NullColumnsShowTheirDefaults) {
    db().Exec(
        "INSERT INTO Aircraft (Tail, \"Date\", J2Dsc, F1Wgt, F1Arm) VALUES ('N1', '2001-06-10', 'Left', "
        "12.5, 40);"
        "INSERT INTO Equipment (Tail, \"Date\", RowNum, Description, Weight, Arm, Install, Remove, List) "
        "VALUES ('N1', '2001-06-10', 0, 'Previous A/C Empty', 1200, 35, FALSE, FALSE, 'changes')");
    BrowseAllFirst();
    EXPECT_EQ(form.Text(Control::Text6), "J. Smith");
    EXPECT_EQ(form.Text(Control::Text11), "");
    const Grid& scaleGrid = form.ws.grid(GridId::Grid2);
    EXPECT_EQ(scaleGrid.Cell(0, scale::Dsc) + "|" + scaleGrid.Cell(1, scale::Dsc), "Right Main|Left");
    const Grid& fluidGrid = form.ws.grid(GridId::Grid4);
    EXPECT_EQ(fluidGrid.Cell(0, fluid::Wgt) + " " + fluidGrid.Cell(0, fluid::Arm) + " " +
                  fluidGrid.Cell(0, fluid::Mom),
              "12.50 40.00 500.0");
    EXPECT_EQ(form.ws.grid(GridId::Grid1).Cell(0, installed::Remove), "//////");
}

INSTANTIATE_TEST_SUITE_P(Engines, SaveLoadTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
