// Metric shops through the form, on both engines: the worked examples typed in pounds and
// inches and converted to kilograms and millimetres and to kilograms and metres, a full
// Worksheet converted and back, and the unit system and the chord stored and carried over.
//
// The expected texts are the pounds-and-inches figures worked out by hand (Python's decimal
// module) and multiplied by the exact factors, rounded half away from zero to the display's
// last digit; the test checks each C.G. again with its own integer arithmetic.
#include <map>

#include "store/LoadingRows.h"
#include "store/Schema.h"
#include "store/Verify.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/LoadingSample.h"
#include "tests/worksheet/TestArithmetic.h"
#include "worksheet/Convert.h"
#include "worksheet/Format.h"
#include "worksheet/Limits.h"
#include "worksheet/Mac.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

using U = UnitSystem;

// What the screen shows of one example in one unit system.
struct Shown {
    const char *weight, *cg, *moment;  // Text23, Text24, Text27
    const char* mac;                   // % MAC, "" without a chord
    const char* ballast;               // the ballast text, "" without one
};

struct ChangeRow {
    const char *description, *weight, *arm;
};
struct ScaleReading {
    const char *tare, *weight, *arm;
};

struct Example {
    const char* name;
    const char* tail;
    const char *empty, *cg;  // typed previous empty weight and C.G.; empty with a weighing
    std::map<Control, std::string> onSpecifications;  // typed on the specifications panel
    std::vector<ScaleReading> scales;
    std::vector<ChangeRow> installed;
    Shown lbIn, kgMm, kgM;
};

// The published examples of the project's tests.
const std::vector<Example>& Examples() {
    static const std::vector<Example> examples = {
        // AC 43.13-1B's loading example: 1169 lb at +10.6 and three items installed.
        {"AC 43.13 loading",
         "N4313",
         "1169",
         "10.6",
         {},
         {},
         {{"Rear seat", "17", "-49"}, {"Baggage", "170", "16"}, {"Oil", "83", "22"}},
         {"1439.00", "11.19", "16104.4", "", ""},
         {"652.72", "284.26", "185542.8", "", ""},
         {"652.72", "0.2843", "185.543", "", ""}},
        // The ballast example of the C.G. range report: 1876 lb at +32.2, forward of +33.0.
        {"ballast",
         "N1876",
         "1876",
         "32.2",
         {{Control::Text16, "+33.0 to +42.5"}, {Control::Text30, "228"}},
         {},
         {},
         {"1876.00", "32.20", "60407.2", "",
          "Ballast needed at +228.00 in: 7.70 lb, rounded up to 8 lb; C.G. with ballast +33.03 in"},
         {"850.94", "817.88", "695966.2", "",
          "Ballast needed at +5791.2 mm: 3.49 kg, rounded up to 4 kg; C.G. with ballast +841.15 mm"},
         {"850.94", "0.8179", "695.966", "",
          "Ballast needed at +5.791 m: 3.49 kg, rounded up to 4 kg; C.G. with ballast +0.8411 m"}},
        // The weighing of the balance tests: three jacks, two with tare.
        {"weighing",
         "N1507",
         "",
         "",
         {},
         {{"2.5", "612.5", "80"}, {"2.5", "610", "80"}, {"0", "290", "30"}},
         {},
         {"1507.50", "70.38", "106100.0", "", ""},
         {"683.79", "1787.69", "1222404.2", "", ""},
         {"683.79", "1.7877", "1222.404", "", ""}},
        // The FAA handbook's transport example: C.G. 680.27 in, LEMAC 625.6, MAC 134.5.
        {"% MAC",
         "N680",
         "90000",
         "680.27",
         {{Control::Text35, "625.6"}, {Control::Text36, "134.5"}},
         {},
         {},
         {"90000.00", "680.27", "61224300.0", "40.65", ""},
         {"40823.31", "17278.86", "705380233.6", "40.65", ""},
         {"40823.31", "17.2789", "705380.234", "40.65", ""}},
    };
    return examples;
}

// The new C.G. of an example in pounds and inches as a fraction: moment and weight in their
// hundredths of typed units, so that the C.G. in inches is moment / weight / 100.
struct Exact {
    long long weight = 0, moment = 0;  // hundredths of a pound; ten-thousandths of a lb-in
};

Exact ExactOf(const Example& e) {
    Exact x;
    if (!e.scales.empty()) {
        for (const ScaleReading& s : e.scales) {
            const long long net = test::Scaled(s.weight, 2) - test::Scaled(s.tare, 2);
            x.weight += net;
            x.moment += net * test::Scaled(s.arm, 2);
        }
        return x;
    }
    x.weight = test::Scaled(e.empty, 2);
    x.moment = x.weight * test::Scaled(e.cg, 2);
    for (const ChangeRow& r : e.installed) {
        x.weight += test::Scaled(r.weight, 2);
        x.moment += test::Scaled(r.weight, 2) * test::Scaled(r.arm, 2);
    }
    return x;
}

// The C.G. in the unit system to `decimals` decimals, from the exact pounds-and-inches figures:
// inches x 1, millimetres x 25.4, metres x 0.0254.
std::string ExactCg(const Exact& x, U units, int decimals, bool leadingZero) {
    long long n = x.moment, d = x.weight * 100;  // inches (the examples stay within 64 bits)
    if (units == U::KilogramMillimetre) n *= 254, d *= 10;
    if (units == U::KilogramMetre) n *= 254, d *= 10000;
    for (int k = 0; k < decimals; ++k)
        n *= 10;
    const bool negative = (n < 0) != (d < 0);
    const long long q = test::RoundedQuotient(std::llabs(n), std::llabs(d));
    return test::Written(negative ? -q : q, decimals, leadingZero);
}

class MetricTest : public test::BothEnginesTest {
  protected:
    // A box typed as the mechanic types it and left.
    void Type(Control c, const std::string& text) {
        form.FocusTo(c);
        form.TextChanged(c, text);
    }
    // Cells of a grid row typed key by key; moving on commits them.
    void TypeRow(Control grid, int row, std::vector<std::pair<int, std::string>> cells) {
        form.FocusTo(grid);
        for (const auto& [col, text] : cells) {
            form.GridMoveCurrent(grid, row, col);
            for (char ch : text)
                form.KeyTyped(grid, static_cast<unsigned char>(ch));
        }
    }
    void OpenSpecifications() { form.Clicked(Control::Command3D23); }
    // Convert units, answering the question with the `pick`th system offered.
    void Convert(size_t pick) {
        OpenSpecifications();
        dialogs.choices.push_back(pick);
        form.Clicked(Control::Command3D50);
        OpenSpecifications();
    }
    void TypeExample(const Example& e) {
        New();
        Type(Control::Text1, e.tail);
        Type(Control::Text7, "03-15-2026");
        if (*e.empty) {
            Type(Control::Text9, e.empty);
            Type(Control::Text10, e.cg);
        }
        OpenSpecifications();
        for (const auto& [box, text] : e.onSpecifications)
            Type(box, text);
        for (size_t n = 0; n < e.scales.size(); ++n)
            TypeRow(Control::Grid2, static_cast<int>(n),
                    {{scale::Tar, e.scales[n].tare},
                     {scale::Wgt, e.scales[n].weight},
                     {scale::Arm, e.scales[n].arm}});
        form.FocusTo(Control::Text14);  // the last row typed lands
        OpenSpecifications();
        for (size_t n = 0; n < e.installed.size(); ++n)
            TypeRow(Control::Grid1, static_cast<int>(n) + 1,
                    {{installed::Description, e.installed[n].description},
                     {installed::Weight, e.installed[n].weight},
                     {installed::Arm, e.installed[n].arm},
                     {installed::Install, "X"}});
        form.FocusTo(Control::Text12);
    }
    void ExpectShown(const Example& e, U units, const Shown& shown) {
        SCOPED_TRACE(std::string(e.name) + " in " + std::string(UnitsName(units)));
        EXPECT_EQ(form.Units(), units);
        EXPECT_EQ(form.Text(Control::Text23), shown.weight);
        EXPECT_EQ(form.Text(Control::Text24), shown.cg);
        EXPECT_EQ(form.Text(Control::Text27), shown.moment);
        EXPECT_EQ(form.PercentMacText(), shown.mac);
        const std::optional<EmptyCgLimits> limits = EvaluateEmptyCg(form.ws);
        EXPECT_EQ(limits ? BallastText(*limits) : "", shown.ballast);
        // The C.G. in each unit agrees with the exact one to the display's last digit.
        const int decimals = PatternDecimals(PatternsOf(units).newArm);
        EXPECT_EQ(form.Text(Control::Text24),
                  ExactCg(ExactOf(e), units, decimals, units == U::KilogramMetre));
    }
};

// One table: each published example typed in pounds and inches, stored, and converted to
// kilograms and millimetres and to kilograms and metres through the Convert units button.
TEST_P(MetricTest, TheWorkedExamplesInEachUnitSystem) {
    for (const Example& e : Examples()) {
        TypeExample(e);
        ExpectShown(e, U::PoundInch, e.lbIn);
        Save();
        ASSERT_EQ(form.ScreenSaved, 1) << e.name;

        LoadBySearch(e.tail);
        ExpectShown(e, U::PoundInch, e.lbIn);
        Convert(0);  // to kg and mm
        ExpectShown(e, U::KilogramMillimetre, e.kgMm);

        dialogs.answers.push_back(true);  // leave the converted screen unsaved
        LoadBySearch(e.tail);
        Convert(1);  // to kg and m
        ExpectShown(e, U::KilogramMetre, e.kgM);
    }
    for (const test::Shown& s : dialogs.shown)
        EXPECT_TRUE(s.kind == test::Shown::Question || s.kind == test::Shown::Choice)
            << s.title << ": " << s.text;
}

// Everything the screen shows: every box and every cell of the four grids.
struct Screen {
    std::map<std::string, std::string> boxes;
    std::vector<std::string> cells;
};

Screen Displayed(const MainForm& form) {
    Screen s;
    for (const FieldInfo& f : AllFields())
        if (!f.control.empty()) s.boxes[std::string(f.control)] = form.ws.Get(f.field);
    for (GridId id : kAllGrids)
        s.cells.insert(s.cells.end(), form.ws.grid(id).cells.begin(), form.ws.grid(id).cells.end());
    return s;
}

// A full Worksheet converted to kilograms and millimetres (and metres), stored, converted back
// and stored: every displayed text as it was, the note naming where it came from.
TEST_P(MetricTest, AFullWorksheetConvertedAndBackShowsItsTexts) {
    for (size_t metric : {0u, 1u}) {
        SCOPED_TRACE(metric == 0 ? "kg and mm" : "kg and m");
        New();
        FillWorksheet();
        const std::string tail = metric == 0 ? "N1" : "N2";
        Set(Control::Text1, tail);
        Set(Control::Text10, "69.88");
        Set(Control::Text15, "Normal 35.0 - 47.3 @ 1950 lb");
        Set(Control::Text16, "+68.5 to +72.25 in");
        Set(Control::Text30, "-12.5");
        Set(Control::Text35, "58.2");
        Set(Control::Text36, "61.35");
        Item(2, "Strobe", "1.25", "315.75");
        Scale(3, "Tail stand", "0.75", "12.5", "150.25");
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);
        LoadBySearch(tail);
        const Screen original = Displayed(form);
        ASSERT_NE(form.PercentMacText(), "");
        const std::string percentMac = form.PercentMacText();

        Convert(metric);
        EXPECT_EQ(form.Units(), metric == 0 ? U::KilogramMillimetre : U::KilogramMetre);
        EXPECT_EQ(form.PercentMacText(), percentMac);  // the same on the chord in any unit
        EXPECT_NE(Displayed(form).cells, original.cells);
        dialogs.answers.push_back(true);  // replace the stored Worksheet of this tail and date
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);
        LoadBySearch(tail);
        EXPECT_EQ(form.PercentMacText(), percentMac);

        Convert(0);  // back to lb and in
        dialogs.answers.push_back(true);
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);
        LoadBySearch(tail);
        EXPECT_EQ(form.Units(), U::PoundInch);
        const Screen back = Displayed(form);
        for (const auto& [box, text] : original.boxes) {
            if (box == "Text13") continue;  // the notes, with the conversion's note
            EXPECT_EQ(back.boxes.at(box), text) << box;
        }
        EXPECT_EQ(back.cells, original.cells);
        const std::string& notes = back.boxes.at("Text13");
        EXPECT_EQ(notes.substr(0, original.boxes.at("Text13").size()), original.boxes.at("Text13"));
        const std::string from = metric == 0 ? "kg and mm" : "kg and m";
        EXPECT_NE(notes.find("\nConverted from " + from + ": the Worksheet " + tail +
                             " of 06-10-2001 (stored record "),
                  std::string::npos)
            << notes;
        // One conversion's note, the latest.
        EXPECT_EQ(notes.find("Converted from lb and in"), std::string::npos) << notes;
    }
}

// Stored with the Worksheet on either engine: the unit system (Null for pounds and inches, as
// before) and the chord; loaded back with the rows in the system's patterns.
TEST_P(MetricTest, TheUnitSystemAndTheChordAreStored) {
    New();
    Set(Control::Text1, "N1");
    Set(Control::Text7, "03-15-2026");
    OpenSpecifications();
    form.ChooseUnits(U::KilogramMillimetre);
    Type(Control::Text35, "1580.5");
    Type(Control::Text36, "1473.2");
    OpenSpecifications();
    Item(0, "Battery", "11.34", "-1041.45");
    Save();
    Store("N2", "03-15-2026");
    Statement s = db().Prepare("SELECT Tail, Units, Lemac, Mac FROM Aircraft ORDER BY Tail");
    ASSERT_TRUE(s.Step());
    EXPECT_EQ(s.Text(1), "kg-mm");
    EXPECT_EQ(s.Real(2), 1580.5);
    EXPECT_EQ(s.Real(3), 1473.2);
    ASSERT_TRUE(s.Step());
    EXPECT_TRUE(s.IsNull(1));
    EXPECT_TRUE(s.IsNull(2));
    EXPECT_TRUE(s.IsNull(3));

    LoadBySearch("N1");
    EXPECT_EQ(form.Units(), U::KilogramMillimetre);
    EXPECT_EQ(form.Text(Control::Text35), "1580.5");
    EXPECT_EQ(form.Text(Control::Text36), "1473.2");
    EXPECT_EQ(form.ws.grid(GridId::Grid3).Cell(0, equipment::Arm), "-1041.5");    // 0.1 mm
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Arm).Text(), "-1041.45");  // as typed
    // A superseded version keeps its units too.
    Set(Control::Text3, "Cessna");
    Save();
    Statement kept = db().Prepare("SELECT Units, Lemac, Mac FROM AircraftRevision");
    ASSERT_TRUE(kept.Step());
    EXPECT_EQ(kept.Text(0), "kg-mm");
    EXPECT_EQ(kept.Real(2), 1473.2);
}

// A new Worksheet of a tail takes the unit system of the tail's last Worksheet, as soon as the
// tail number is typed, and its equipment list comes over in it; a system the mechanic chose
// stays.
TEST_P(MetricTest, ANewWorksheetTakesTheTailsLastUnitSystem) {
    Store("N1", "01-05-2020");  // Battery, 25 lb at 10 in
    // Converted to metres and stored beside it, without an equipment list.
    LoadBySearch("N1");
    Convert(1);
    Set(Control::Text7, "03-15-2026");
    OpenSpecifications();
    form.FocusTo(Control::Grid3);
    form.DeleteKey(Control::Grid3);
    OpenSpecifications();
    Save();
    ASSERT_EQ(form.ScreenSaved, 1);
    ASSERT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Units = 'kg-m'"), 1);

    New();
    EXPECT_EQ(form.Units(), U::PoundInch);
    form.FocusTo(Control::Text1);
    form.TextChanged(Control::Text1, "n1");
    form.FocusTo(Control::Text2);
    EXPECT_EQ(form.Units(), U::KilogramMetre);
    // The latest list is the one typed in pounds and inches: it comes over in metres.
    OpenSpecifications();
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Weight).Text(), "11.33980925");
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Arm).Text(), "0.2540");
    EXPECT_EQ(form.ws.grid(GridId::Grid3).Cell(0, equipment::Arm), "0.254");
    OpenSpecifications();

    // Chosen by the mechanic: kept, whatever the tail typed after.
    New();
    form.TextChanged(Control::Text1, "N2");
    OpenSpecifications();
    form.ChooseUnits(U::KilogramMillimetre);
    OpenSpecifications();
    form.FocusTo(Control::Text1);
    form.TextChanged(Control::Text1, "N1");
    form.FocusTo(Control::Text2);
    EXPECT_EQ(form.Units(), U::KilogramMillimetre);
}

// Convert units works from a stored Worksheet, and asks first; Cancel changes nothing.
TEST_P(MetricTest, ConvertUnitsAsksFirstAndNeedsAStoredWorksheet) {
    New();
    Set(Control::Text1, "N1");
    Set(Control::Text7, "03-15-2026");
    Set(Control::Text9, "1169");
    OpenSpecifications();
    dialogs.Clear();
    form.Clicked(Control::Command3D50);
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Convert units"});
    EXPECT_NE(dialogs.shown.back().text.find("save the Worksheet on the screen first"), std::string::npos);
    EXPECT_EQ(form.Text(Control::Text9), "1169");
    OpenSpecifications();
    Save();
    dialogs.Clear();
    OpenSpecifications();
    form.Clicked(Control::Command3D50);  // Cancel: the last choice
    ASSERT_EQ(dialogs.offered.size(), 1u);
    EXPECT_EQ(dialogs.offered[0], (std::vector<std::string>{"To kg and mm", "To kg and m", "Cancel"}));
    EXPECT_EQ(form.Text(Control::Text9), "1169");
    EXPECT_NE(form.ScreenSaved, 0);  // still the stored Worksheet
    EXPECT_EQ(form.Units(), U::PoundInch);
}

// A store of version 3 on either engine is upgraded: its Worksheets kept, in pounds and inches,
// each given one audit entry, and what version 4 added stored from then on.
TEST_P(MetricTest, AVersionThreeStoreIsUpgraded) {
    Store("N1", "03-15-2026");
    Store("N2", "07-11-2002");
    form.records.reset();
    if (engine() == test::Engine::File)
        Database(MainFile(), Database::Mode::OpenExisting).Exec(test::VersionThreeSql(engine()));
    else
        ConnectServer(test::TestServerAddress()).Exec(test::VersionThreeSql(engine()));
    dialogs.Clear();
    form.Activate();
    ASSERT_TRUE(form.records);
    for (const std::string& title : dialogs.Titles())
        EXPECT_NE(title, "Records changed");
    const bool file = engine() == test::Engine::File;
    EXPECT_EQ(Count(file ? "PRAGMA user_version" : "SELECT max(Version) FROM SchemaVersion"), kSchemaVersion);
    if (file) {
        EXPECT_TRUE(std::filesystem::exists(DataFolder() / "VELK.MDB.v3"));
    }
    Statement audit = db().Prepare("SELECT Event, Tail FROM AuditTrail ORDER BY Id");
    std::vector<std::string> entries;
    while (audit.Step())
        entries.push_back(audit.Text(0).value_or("") + " " + audit.Text(1).value_or(""));
    EXPECT_EQ(entries, (std::vector<std::string>{"upgrade N1", "upgrade N2"}));
    EXPECT_TRUE(VerifyRecords(db()).Passed()) << FindingsText(VerifyRecords(db()));

    LoadBySearch("N1");
    EXPECT_EQ(form.Units(), U::PoundInch);
    OpenSpecifications();
    form.ChooseUnits(U::KilogramMillimetre);
    OpenSpecifications();
    form.ws.loading = test::Figure10Loading();
    Save();
    ASSERT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Units = 'kg-mm'"), 1);
    EXPECT_EQ(ReadLoadingRows(db(), "N1", "2026-03-15"), test::Figure10Loading());
}

INSTANTIATE_TEST_SUITE_P(Engines, MetricTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
