// The first opening of the specifications panel on a new Worksheet brings the aircraft's
// latest equipment list forward and resets the scale and fluid rows.
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

class CarryOverTest : public test::BothEnginesTest {
  protected:
    void StoreTwoDates() {
        New();
        Set(Control::Text1, "N1");
        Set(Control::Text7, "01-05-2000");
        Change(0, "Previous A/C Empty", "1200", "35", "", "");
        Change(1, "Radio", "12", "40", "X", "");
        Item(0, "Old battery", "25", "10");
        Item(1, "Old ELT", "3", "200");
        Item(2, "Old strobe", "2", "150");
        Save();
        New();
        Set(Control::Text1, "N1");
        Set(Control::Text7, "06-10-2001");
        Change(1, "Unmarked", "9", "100", "", "");
        Change(2, "Removed ADF", "5", "60", "", "X");
        Item(0, "Battery", "25.5", "10");
        Item(1, "ELT", "3", "200");
        Item(2, "Previous A/C Empty", "1", "1");
        Save();
        ASSERT_EQ(Count("SELECT count(*) FROM Aircraft"), 2);
        Store("N2", "07-04-2005", "Other aircraft");
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> rows;
        const Grid& g = form.ws.grid(GridId::Grid3);
        for (int r = 0; r < 100 && !g.Cell(r, 0).empty(); ++r)
            rows.push_back(g.Cell(r, 0) + "|" + g.Cell(r, 1) + "|" + g.Cell(r, 2) + "|" + g.Cell(r, 3) + "|" +
                           g.Cell(r, 4));
        return rows;
    }
    void PressSpecsButton() { form.Clicked(Control::Command3D23); }
};

TEST_P(CarryOverTest, OnlyTheLatestEquipmentListIsCopiedOncePerNewWorksheet) {
    StoreTwoDates();
    New();
    Set(Control::Text1, "N1");
    Scale(0, "Typed jack", "1", "500", "80");
    PressSpecsButton();
    EXPECT_EQ(Items(),
              (std::vector<std::string>{"Battery|E0|25.50|10.00|255.0", "ELT|E1|3.00|200.00|600.0"}));
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Weight).Text(), "25.5");
    const Grid& scaleGrid = form.ws.grid(GridId::Grid2);
    EXPECT_EQ(scaleGrid.Cell(0, scale::Dsc) + "|" + scaleGrid.Cell(0, scale::Tar) + "|" +
                  scaleGrid.Cell(0, scale::Wgt),
              "Right Main||0.00");
    EXPECT_TRUE(form.ws.ScaleRows().At(0, scale::Wgt).IsEmpty());
    EXPECT_EQ(form.ws.grid(GridId::Grid4).Cell(1, fluid::Dsc), "Aft Tanks");

    // Closed and opened again: nothing is copied again, the edited rows stay.
    PressSpecsButton();
    Scale(0, "Edited", "", "600", "80");
    Item(0, "Replaced", "1", "1");
    PressSpecsButton();
    EXPECT_EQ(form.ws.grid(GridId::Grid2).Cell(0, scale::Dsc), "Edited");
    EXPECT_EQ(form.ws.grid(GridId::Grid3).Cell(0, equipment::Description), "Replaced");
}

INSTANTIATE_TEST_SUITE_P(Engines, CarryOverTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
