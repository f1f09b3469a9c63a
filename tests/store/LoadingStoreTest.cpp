// The loading data on both engines: stored with its Worksheet, loaded back as typed, carried
// into the tail's next Worksheet as the equipment list is, kept with an earlier version when a
// save replaces it, and never stored when the reading refuses it.
#include "store/LoadingRows.h"
#include "store/Recover.h"
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/LoadingSample.h"

namespace wb {
namespace {

class LoadingStoreTest : public test::BothEnginesTest {
  protected:
    // The figures' aircraft with a utility category and every box typed.
    static LoadingTexts Typed() {
        LoadingTexts t = test::Figure10Loading();
        t.utility[0] = {"1000", "9.5"};
        t.utility[1] = {"1800", "9.5"};
        t.utility[2] = {"1800", "15"};
        t.utility[3] = {"1000", "15"};
        t.maxLanding = "2000";
        t.fuelWeight = "6";
        t.oilWeight = "7.5";
        t.occupant = "190";
        return t;
    }
    void StoreWith(const std::string& tail, const std::string& date, const LoadingTexts& loading) {
        New();
        Set(Control::Text1, tail);
        Set(Control::Text7, date);
        Item(0, "Battery", "25", "10");
        form.ws.loading = loading;
        Save();
        ASSERT_EQ(form.ScreenSaved, 1) << tail << " " << date;
    }
};

TEST_P(LoadingStoreTest, StoredLoadedCarriedOverAndKeptWithTheEarlierVersion) {
    const LoadingTexts typed = Typed();
    StoreWith("N1", "01-05-2000", typed);
    // One 'aircraft' row, five stations and four points of each category.
    EXPECT_EQ(Count("SELECT count(*) FROM Loading"), 1 + 5 + 4 + 4);
    EXPECT_EQ(Count("SELECT count(*) FROM Loading WHERE List = 'station' AND Kind = 'pilot' AND Arm = 16"),
              1);

    // Browsed back: every cell as typed.
    New();
    ClearCriteria();
    Next();
    ASSERT_EQ(OnScreen(), "N1 01-05-2000");
    EXPECT_EQ(form.ws.loading, typed);

    // A fresh Worksheet of the tail takes it with the equipment list; another tail does not.
    New();
    Set(Control::Text1, "n1");
    form.Clicked(Control::Command3D23);
    EXPECT_EQ(form.ws.loading, typed);
    form.Clicked(Control::Command3D23);
    New();
    Set(Control::Text1, "N2");
    form.Clicked(Control::Command3D23);
    EXPECT_TRUE(form.ws.loading.Empty());
    form.Clicked(Control::Command3D23);

    // Replaced: the earlier version keeps its loading rows, the new one stores its own.
    New();
    ClearCriteria();
    Next();
    form.ws.loading.metoHp = "180";
    Save();
    ASSERT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM LoadingRevision"), 1 + 5 + 4 + 4);
    EXPECT_EQ(Count("SELECT count(*) FROM LoadingRevision WHERE List = 'aircraft' AND MetoHp = 165"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Loading WHERE List = 'aircraft' AND MetoHp = 180"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Loading"), 1 + 5 + 4 + 4);

    // The tail "0" deletes it, its rows with it.
    Set(Control::Text1, "0");
    Save();
    EXPECT_EQ(Count("SELECT count(*) FROM Loading"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM LoadingRevision"), 2 * (1 + 5 + 4 + 4));
}

TEST_P(LoadingStoreTest, RefusedDataIsNeverStored) {
    StoreWith("N1", "01-05-2000", Typed());
    const std::vector<std::string> before = test::Dump(db(), {"Aircraft", "Equipment", "Loading"});
    LoadingTexts crossing = Typed();
    crossing.normal[1] = {"2100", "21.9"};
    crossing.normal[2] = {"2100", "8.5"};

    // At the store: the save throws with the reasons and writes nothing.
    Worksheet ws = form.ws;
    ws.loading = crossing;
    SaveRequest replace;
    replace.replaces = form.records->OnScreen();
    try {
        SaveWorksheet(db(), ws, replace);
        ADD_FAILURE() << "a crossing envelope was stored";
    } catch (const LoadingRefused& e) {
        ASSERT_EQ(e.reasons().size(), 1u);
        EXPECT_NE(e.reasons()[0].find("crosses itself"), std::string::npos);
    }
    EXPECT_EQ(test::Dump(db(), {"Aircraft", "Equipment", "Loading"}), before);

    // At the Save button: told, with the reason and where to correct it.
    form.ws.loading = crossing;
    dialogs.Clear();
    Save();
    EXPECT_EQ(form.ScreenSaved, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Worksheet not saved");
    EXPECT_NE(
        dialogs.shown[0].text.find("The loading data is refused:\n- The normal category's envelope crosses "
                                   "itself"),
        std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find("Correct it on the loading panel"), std::string::npos);
    EXPECT_EQ(test::Dump(db(), {"Aircraft", "Equipment", "Loading"}), before);
    EXPECT_EQ(Count("SELECT count(*) FROM LoadingRevision"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, LoadingStoreTest, test::BothEngines(), test::EngineName);

// A recovery reads the loading rows with their Worksheets, and the earlier versions' with them.
TEST(LoadingRecovery, TheLoadingDataIsRecoveredWithItsWorksheet) {
    test::TempFolder temp;
    const auto file = temp.path / "VELK.MDB";
    {
        Database db = OpenDatabaseFile(file, MainTables());
        Worksheet ws;
        ClearWorksheet(ws, false);
        ws.Set(Field::Tail, "N1");
        ws.Set(Field::Date, "06-10-2001");
        ws.loading = test::Figure10Loading();
        const SaveOutcome first = SaveWorksheet(db, ws, SaveRequest{});
        ws.loading.metoHp = "180";
        SaveRequest replace;
        replace.replaces = first.added;
        SaveWorksheet(db, ws, replace);
    }
    const Recovery r = RecoverInto(file, temp.path / "recovered.MDB");
    EXPECT_EQ(r.loadingRowsLost, 0);
    EXPECT_EQ(r.revisionRowsLost, 0);
    Database recovered = OpenDatabaseFile(temp.path / "recovered.MDB", MainTables());
    LoadingTexts expected = test::Figure10Loading();
    expected.metoHp = "180";
    EXPECT_EQ(ReadLoadingRows(recovered, "N1", "2001-06-10"), expected);
    Statement kept =
        recovered.Prepare("SELECT count(*) FROM LoadingRevision WHERE List = 'aircraft' AND MetoHp = 165");
    ASSERT_TRUE(kept.Step());
    EXPECT_EQ(kept.Int(0), 1);
}

}  // namespace
}  // namespace wb
