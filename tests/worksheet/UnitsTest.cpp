// The unit systems: the patterns of each, the exact conversion of figures and texts, and the
// C.G. in percent of the mean aerodynamic chord. Expected values are worked out by hand from the
// exact factors (1 lb = 0.45359237 kg, 1 in = 25.4 mm).
#include <gtest/gtest.h>

#include "worksheet/Balance.h"
#include "worksheet/Convert.h"
#include "worksheet/Format.h"
#include "worksheet/GridEditing.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"
#include "worksheet/Mac.h"
#include "worksheet/RecordChain.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

using U = UnitSystem;
using Q = Quantity;

// A kilogram to 0.01, an arm to 0.1 mm or 0.001 m, a C.G. to 0.01 mm or 0.0001 m, a moment to
// 0.1 kg-mm or 0.001 kg-m.
TEST(UnitPatterns, MetricPrecision) {
    struct Case {
        U units;
        std::string_view pattern;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {U::KilogramMillimetre, PatternsOf(U::KilogramMillimetre).weight, 652.71942043, "652.72"},
        {U::KilogramMillimetre, PatternsOf(U::KilogramMillimetre).arm, 269.24, "269.2"},
        {U::KilogramMillimetre, PatternsOf(U::KilogramMillimetre).newArm, 284.26112578, "284.26"},
        {U::KilogramMillimetre, PatternsOf(U::KilogramMillimetre).newMoment, 185542.75727107, "185542.8"},
        {U::KilogramMetre, PatternsOf(U::KilogramMetre).weight, 652.71942043, "652.72"},
        {U::KilogramMetre, PatternsOf(U::KilogramMetre).arm, 0.26924, "0.269"},
        {U::KilogramMetre, PatternsOf(U::KilogramMetre).newArm, 0.28426112578, "0.2843"},
        {U::KilogramMetre, PatternsOf(U::KilogramMetre).cg, 0.28426112578, "0.2843"},
        {U::KilogramMetre, PatternsOf(U::KilogramMetre).newMoment, 185.54275727107, "185.543"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.shown) << c.pattern;
}

TEST(UnitSystemCodes, StoredAndNamed) {
    for (U u : kAllUnitSystems)
        EXPECT_EQ(UnitsFromCode(UnitsCode(u)), u);
    EXPECT_EQ(UnitsCode(U::PoundInch), "");  // stored as Null, as before
    EXPECT_EQ(UnitsFromCode("something else"), U::PoundInch);
    EXPECT_EQ(UnitsName(U::KilogramMillimetre), "kg and mm");
    EXPECT_EQ(MomentUnit(U::KilogramMetre), "kg-m");
}

struct NumberCase {
    const char* text;
    Q q;
    U from, to;
    const char* converted;
};

// Towards kilograms and millimetres exact, with the decimals the product has; back the fewest
// decimals that multiply back exactly, never fewer than the figure came with.
TEST(ConvertNumber, ExactBothWays) {
    const NumberCase cases[] = {
        {"1169", Q::Weight, U::PoundInch, U::KilogramMillimetre, "530.24948053"},
        {"1439", Q::Weight, U::PoundInch, U::KilogramMetre, "652.71942043"},
        {"1170", Q::Weight, U::PoundInch, U::KilogramMillimetre, "530.70307290"},
        {"10.6", Q::Arm, U::PoundInch, U::KilogramMillimetre, "269.24"},
        {"10.60", Q::Arm, U::PoundInch, U::KilogramMillimetre, "269.240"},
        {"-49", Q::Arm, U::PoundInch, U::KilogramMillimetre, "-1244.6"},
        {"+10.6", Q::Arm, U::PoundInch, U::KilogramMillimetre, "+269.24"},
        {" 16 ", Q::Arm, U::PoundInch, U::KilogramMillimetre, "406.4"},
        {"0", Q::Weight, U::PoundInch, U::KilogramMillimetre, "0"},
        {"10.6", Q::Arm, U::PoundInch, U::KilogramMetre, "0.26924"},
        {"269.24", Q::Arm, U::KilogramMillimetre, U::PoundInch, "10.6"},
        {"269.240", Q::Arm, U::KilogramMillimetre, U::PoundInch, "10.60"},
        {"530.24948053", Q::Weight, U::KilogramMillimetre, U::PoundInch, "1169"},
        {"530.7030729", Q::Weight, U::KilogramMillimetre, U::PoundInch, "1170"},
        {"0.26924", Q::Arm, U::KilogramMetre, U::PoundInch, "10.6"},
        {"0.26924", Q::Arm, U::KilogramMetre, U::KilogramMillimetre, "269.24"},
        {"269.24", Q::Arm, U::KilogramMillimetre, U::KilogramMetre, "0.26924"},
        {"12.5", Q::Weight, U::KilogramMillimetre, U::KilogramMetre, "12.5"},
        // Never a conversion: no exact counterpart, 15 significant digits.
        {"500", Q::Weight, U::KilogramMillimetre, U::PoundInch, "1102.31131092439"},
        {"1000", Q::Arm, U::KilogramMillimetre, U::PoundInch, "39.3700787401575"},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(ConvertNumber(c.text, c.q, c.from, c.to), c.converted) << c.text;
    EXPECT_FALSE(ConvertNumber("12 kg", Q::Weight, U::PoundInch, U::KilogramMillimetre));
}

// Typed figures of up to 7 significant digits go over, are stored (a stored number keeps 15
// significant digits) and come back as the same text, in either metric system.
TEST(ConvertNumber, ARoundTripThroughTheStoreGivesTheTypedText) {
    const char* typed[] = {"1169",     "10.6", "-49",      "0.25",  "2.5",      "612.5",   "1302.45",
                           "99999.99", "0.01", "12345.67", "-0.07", "352345.6", "1287.35", "80"};
    const auto stored = [](const std::string& text) { return NumberText(LeadingNumber(text), 15); };
    for (U metric : {U::KilogramMillimetre, U::KilogramMetre})
        for (Q q : {Q::Weight, Q::Arm})
            for (const char* t : typed) {
                const std::string there = stored(*ConvertNumber(t, q, U::PoundInch, metric));
                EXPECT_EQ(ConvertNumber(there, q, metric, U::PoundInch), t) << t << " via " << there;
            }
}

TEST(ConvertText, FiguresAmongWordsAndWhatIsLeftAsTyped) {
    struct Case {
        const char* text;
        Q q;
        const char* converted;  // nullptr: left as typed
    };
    const Case cases[] = {
        {"+35.0 to +42.5", Q::Arm, "+889.00 to +1079.50"},
        {"35.0-42.5 in", Q::Arm, "889.00-1079.50 mm"},
        {"35 to 38 at 1800 lb", Q::Arm, "889.0 to 965.2 at 816.46626600 kg"},
        {"Normal 35.0 - 47.3 @ 1950 lb", Q::Arm, "Normal 889.00 - 1201.42 @ 884.50512150 kg"},
        {"\xE2\x88\x92"
         "2.1 to +4.0",
         Q::Arm,
         "\xE2\x88\x92"
         "53.34 to +101.60"},
        {"2300 lb", Q::Weight, "1043.26245100 kg"},
        {"2300", Q::Weight, "1043.26245100"},
        {"n/a", Q::Arm, "n/a"},
        {"15% to 30% MAC", Q::Arm, "15% to 30% MAC"},
        {"N733BM", Q::Arm, "N733BM"},
        {"35,0 - 42,5", Q::Arm, nullptr},           // decimal commas
        {"2,300", Q::Weight, nullptr},              // a thousands separator: read as 2
        {"1 169", Q::Weight, nullptr},              // read as 1169, written as two figures
        {"12 kg", Q::Weight, nullptr},              // another system's unit
        {"16 to 30 % MAC at 80", Q::Arm, nullptr},  // a figure of the chord without its sign
        {"12,.4", Q::Weight, nullptr},              // a comma against a figure
        {"35 ..42", Q::Arm, nullptr},               // a point against a figure
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<std::string> converted =
            ConvertText(c.text, c.q, U::PoundInch, U::KilogramMillimetre);
        if (c.converted == nullptr) {
            EXPECT_FALSE(converted) << *converted;
            continue;
        }
        ASSERT_TRUE(converted);
        EXPECT_EQ(*converted, c.converted);
        // Back, the text typed.
        EXPECT_EQ(ConvertText(*converted, c.q, U::KilogramMillimetre, U::PoundInch), c.text);
    }
    // Found by the fuzzer: a figure after a figure's point ends, and a word after the inch mark
    // stays a word.
    EXPECT_TRUE(ConvertText(".6.6", Q::Weight, U::PoundInch, U::KilogramMillimetre));
    EXPECT_EQ(ConvertText("45\"D", Q::Arm, U::PoundInch, U::KilogramMillimetre), "1143.0 mm D");
    // The inch mark becomes the unit's word: back, "in".
    EXPECT_EQ(ConvertText("32.0\" to 36.5\"", Q::Arm, U::PoundInch, U::KilogramMillimetre),
              "812.80 mm to 927.10 mm");
    // A range in metres is read as one; the C.G. range check reads it.
    const std::string metres = *ConvertText("+35.0 to +42.5 in", Q::Arm, U::PoundInch, U::KilogramMetre);
    EXPECT_EQ(metres, "+0.88900 to +1.07950 m");
    ASSERT_TRUE(ReadCgRange(metres));
    EXPECT_EQ(ReadCgRange(metres)->aft, 1.0795);
}

// The FAA handbook's transport example: C.G. 680.27 in, LEMAC 625.6 in, MAC 134.5 in.
TEST(PercentMac, OfTheHandbookExampleAndRefusedWithoutAChord) {
    EXPECT_EQ(
        PercentMacText(*PercentMac(Decimal::Read("680.27"), Decimal::Read("625.6"), Decimal::Read("134.5"))),
        "40.65");
    EXPECT_NEAR(*PercentMac(680.27, 625.6, 134.5), 40.6468, 1e-4);
    EXPECT_EQ(CgPercentMac("680.27", "625.6", "134.5"), "40.65");
    // The same chord in millimetres gives the same percentage.
    EXPECT_EQ(CgPercentMac("17278.86", "15890.24", "3416.3"), "40.65");
    EXPECT_EQ(CgPercentMac("600.00", "625.6", "134.5"), "-19.03");  // forward of the leading edge
    for (const char* mac : {"0", "-134.5", "", "n/a"})
        EXPECT_EQ(CgPercentMac("680.27", "625.6", mac), "") << mac;
    EXPECT_FALSE(PercentMac(680.27, 625.6, 0));
    EXPECT_TRUE(MacNotPositive("0"));
    EXPECT_TRUE(MacNotPositive("-1 mm"));
    EXPECT_FALSE(MacNotPositive(""));
    EXPECT_FALSE(MacNotPositive("134.5"));
}

// A Worksheet typed in pounds and inches, converted: every figure exact, the chord's percentage
// the same. (The results in each unit system, and back the texts it had: MetricTest.)
TEST(ConvertWorksheet, EveryFigureAndBack) {
    Worksheet ws;
    ClearWorksheet(ws, false);
    ws.Set(Field::Empty, "1169");
    ws.Set(Field::CG, "10.6");
    ws.Set(Field::MaxWt, "2300 lb");
    ws.Set(Field::Range3, "+8.0 to +12.5");
    ws.Set(Field::BallastArm, "-30");
    ws.Set(Field::Lemac, "0");
    ws.Set(Field::Mac, "58");
    ws.Set(Field::Memo, "Weighed with unusable fuel.");
    RebuildPreviousEmptyRow(ws, Field::CG);
    const char* rows[][3] = {{"17", "-49", "X"}, {"170", "16", "X"}, {"83", "22", "X"}};
    for (int r = 0; r < 3; ++r) {
        ws.InstalledList().At(r + 1, installed::Description) = "Item";
        ws.InstalledList().At(r + 1, installed::Weight) = rows[r][0];
        ws.InstalledList().At(r + 1, installed::Arm) = rows[r][1];
        ws.InstalledList().At(r + 1, installed::Install) = rows[r][2];
    }
    ws.EquipmentList().At(0, equipment::Description) = "Battery";
    ws.EquipmentList().At(0, equipment::Weight) = "25";
    ws.EquipmentList().At(0, equipment::Arm) = "-41";
    Recalculate(ws);
    ShowAllRows(ws);

    const ConversionResult result =
        ConvertWorksheet(ws, U::KilogramMillimetre, "Converted from lb and in: test.");
    EXPECT_TRUE(result.leftAsTyped.empty());
    EXPECT_EQ(Units(ws), U::KilogramMillimetre);
    EXPECT_EQ(ws.Get(Field::Empty), "530.24948053");
    EXPECT_EQ(ws.Get(Field::MaxWt), "1043.26245100 kg");
    EXPECT_EQ(ws.Get(Field::Range3), "+203.20 to +317.50");
    EXPECT_EQ(ws.Get(Field::Mac), "1473.2");
    EXPECT_EQ(ws.Get(Field::Lemac), "0");
    EXPECT_EQ(ws.Get(Field::Memo), "Weighed with unusable fuel.\nConverted from lb and in: test.");
    EXPECT_EQ(NewCgPercentMac(ws), "19.30");
    EXPECT_EQ(ws.grid(GridId::Grid1).Cell(1, installed::Arm), "-1244.6");
    EXPECT_EQ(ws.grid(GridId::Grid3).Cell(0, equipment::Weight), "11.34");
}

TEST(ConvertWorksheet, NamesWhatItLeavesAsTyped) {
    Worksheet ws;
    ClearWorksheet(ws, false);
    ws.Set(Field::MaxWt, "2,300");
    ws.Set(Field::Range1, "35,0 - 42,5");
    ws.EquipmentList().At(2, equipment::Description) = "Radio";
    ws.EquipmentList().At(2, equipment::Weight) = "3 1/2";
    const ConversionResult result = ConvertWorksheet(ws, U::KilogramMetre, "Converted from lb and in.");
    EXPECT_EQ(result.leftAsTyped,
              (std::vector<std::string>{"Max Wgt", "C.G. range landing", "Equipment list row 3, weight"}));
    EXPECT_EQ(ws.Get(Field::MaxWt), "2,300");
}

}  // namespace
}  // namespace wb

namespace wb {
namespace {

// A record that goes on in kilograms after a Worksheet in pounds: the end of the one before is
// compared in the new units, so a start converted from it is no break, and the change since the
// weighing is told in the latest Worksheet's units.
TEST(RecordChainUnits, ALineInOtherUnitsStartsWhereTheOneBeforeEnded) {
    RecordChain chain;
    ChainLine weighed;
    weighed.entry.date = "03-15-2026";
    weighed.entry.weighed = true;
    weighed.entry.newWeight = 1439;
    weighed.entry.newArm = 16104.4 / 1439;
    weighed.entry.startWeight = "1400.00";
    weighed.entry.startArm = "11.00";
    ChainLine metric;
    metric.entry.date = "04-01-2026";
    metric.entry.units = UnitSystem::KilogramMillimetre;
    metric.entry.startWeight = ChainWeight(1439 * 0.45359237, UnitSystem::KilogramMillimetre);
    metric.entry.startArm = ChainArm(16104.4 / 1439 * 25.4, UnitSystem::KilogramMillimetre);
    metric.entry.newWeight = 662.72;
    metric.entry.newArm = 290.00;
    chain.lines = {weighed, metric};
    LinkChain(chain);
    EXPECT_EQ(metric.entry.startWeight, "652.72");
    EXPECT_EQ(metric.entry.startArm, "284.26");
    EXPECT_FALSE(chain.lines[1].breaks);
    EXPECT_EQ(chain.units, UnitSystem::KilogramMillimetre);
    // 39 lb and 0.19 in over the weighed start, in kg and mm, then 10.00 kg and 5.74 mm.
    EXPECT_EQ(ChainSummary(chain), "Since the weighing of 03-15-2026: weight +27.69 kg, C.G. +10.57 mm");
    // A start that is not where the one before ended, in any units, is one.
    chain.lines[1].entry.startWeight = "652.73";
    LinkChain(chain);
    EXPECT_TRUE(chain.lines[1].breaks);
    EXPECT_EQ(chain.lines[1].endBeforeWeight, "652.72");
}

// A change-list row deleted above rows converted at full precision leaves them at it.
TEST(ConvertWorksheet, ADeleteAboveKeepsTheFiguresBelowAtFullPrecision) {
    Worksheet ws;
    ClearWorksheet(ws, false);
    const char* rows[][2] = {{"17", "-49"}, {"170", "16"}};
    for (int r = 0; r < 2; ++r) {
        ws.InstalledList().At(r + 1, installed::Description) = "Item";
        ws.InstalledList().At(r + 1, installed::Weight) = rows[r][0];
        ws.InstalledList().At(r + 1, installed::Arm) = rows[r][1];
        ws.InstalledList().At(r + 1, installed::Install) = "X";
    }
    ShowAllRows(ws);
    ConvertWorksheet(ws, UnitSystem::KilogramMillimetre, "Converted from lb and in.");
    ws.grid(GridId::Grid1).row = 1;
    GridDeleteKey(ws, GridId::Grid1);
    EXPECT_EQ(ws.InstalledList().At(1, installed::Weight).Text(), "77.11070290");
    EXPECT_EQ(ws.grid(GridId::Grid1).Cell(1, installed::Weight), "77.11");
}

}  // namespace
}  // namespace wb
