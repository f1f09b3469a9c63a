#include "ReportFixture.h"

#include "tests/support/LoadingSample.h"
#include "worksheet/Balance.h"
#include "worksheet/Units.h"

namespace wb::test {

CompanyRow SampleCompany() {
    CompanyRow c;
    c.CompName = "Acme Aviation Services";
    c.CompAddress = "12 Hangar Road";
    c.CompCSZ = "Springfield, IL 62701";
    c.CompPhone = "(217) 555-0100";
    c.FormTitle = "Weight and Balance Revision";
    c.EquipTitle = "Weight and Balance Report";
    return c;
}

void SetRow(RowStore& store, int row, std::initializer_list<const char*> cells) {
    int col = 0;
    for (const char* cell : cells)
        store.At(row, col++) = cell;
}

Worksheet Figure10Worksheet() {
    Worksheet ws = SampleWorksheet();
    for (int n = 0; n < 5; ++n) {
        for (int c : {scale::Tar, scale::Wgt, scale::Arm})
            ws.ScaleRows().At(n, c) = "";
        ws.FluidRows().At(n, fluid::Wgt) = "";
    }
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < installed::Count; ++c)
            ws.InstalledList().At(r, c) = Entry();
    ws.Set(Field::Empty, "1169");
    ws.Set(Field::CG, "10.6");
    ws.Set(Field::MaxWt, "2100");
    RebuildPreviousEmptyRow(ws, Field::CG);
    ws.loading = Figure10Loading();
    return ws;
}

Worksheet SlopedWorksheet() {
    Worksheet ws = Figure10Worksheet();
    ws.Set(Field::Empty, "1450");
    ws.Set(Field::CG, "39");
    ws.Set(Field::MaxWt, "2300");
    RebuildPreviousEmptyRow(ws, Field::CG);
    ws.loading = SlopedLoading();
    return ws;
}

Worksheet SampleWorksheet() {
    Worksheet ws;
    ClearWorksheet(ws, false);
    ws.Set(Field::Tail, "N123AB");
    ws.Set(Field::Serial, "17265432");
    ws.Set(Field::Make, "Cessna");
    ws.Set(Field::Model, "172N");
    ws.Set(Field::Year, "1978");
    ws.Set(Field::Date, "03-14-2024");
    ws.Set(Field::Tach, "4521.3");
    ws.Set(Field::MaxWt, "2300");
    ws.Set(Field::Work, "WO-7781");
    ws.Set(Field::By, "J. Mechanic");
    ws.Set(Field::Cert, "A&P 1234567");
    ws.Set(Field::Range1, "35.0 - 47.3");
    ws.Set(Field::Range2, "n/a");
    ws.Set(Field::Range3, "35.0 - 40.0");
    ws.Set(Field::Memo, "Weighed with unusable fuel and full oil.");

    SetRow(ws.ScaleRows(), 0, {"Right Main", "2.5", "612.5", "80"});
    SetRow(ws.ScaleRows(), 1, {"Left Main", "2.5", "610", "80"});
    SetRow(ws.ScaleRows(), 2, {"Nose", "0", "290", "30"});
    SetRow(ws.FluidRows(), 0, {"Forward Tanks", "10", "50"});
    SetRow(ws.EquipmentList(), 0, {"Garmin GTX 327", "12345", "2.6", "14.2"});
    SetRow(ws.EquipmentList(), 1, {"ELT 406", "E-77", "3.1", ""});
    SetRow(ws.InstalledList(), 1, {"Radio KX-155", "R-1", "5.5", "15", "", "", "X"});
    SetRow(ws.InstalledList(), 2, {"Radio GNC 255", "G-9", "6.2", "15.5", "", "X", ""});
    for (int r = 1; r <= 2; ++r)
        CommitRowMoment(ws, GridId::Grid1, r);
    Recalculate(ws);
    return ws;
}

Worksheet FullWorksheet() {
    Worksheet ws = SampleWorksheet();
    for (const FieldInfo& info : AllFields())
        if (info.maxChars > 0) ws.Set(info.field, std::string(static_cast<size_t>(info.maxChars), 'M'));
    ws.Set(Field::Date, "12-31-2026");
    ws.Set(Field::Empty, "");
    ws.Set(Field::CG, "");
    for (Field f : {Field::Range1, Field::Range2})
        ws.Set(f, "35.0 to 47.3 at 2300 lb, 35.0 to 40.0 at");
    // A range that reads, so that the C.G. check and the ballast print too.
    ws.Set(Field::Range3, "+35.0 to +40.0 in aft of datum, at 2300.");
    ws.Set(Field::BallastArm, "-100.125");
    std::string memo;
    while (memo.size() < 500)
        memo += "Weighed with unusable fuel, full oil, all doors closed. ";
    ws.Set(Field::Memo, memo.substr(0, 500));
    for (int r = 0; r < 5; ++r) {
        SetRow(ws.ScaleRows(), r, {"MMMMMMMMMMMMMMMMMMMMMMMMM", "0.25", "1234567890.25", "98.5"});
        SetRow(ws.FluidRows(), r, {"MMMMMMMMMMMMMMMMMMMMMMMMM", "12.5", "48"});
    }
    // Row 0 is the weighing's previous values line; every other row is typed.
    for (int r = 1; r < 30; ++r) {
        SetRow(ws.InstalledList(), r,
               {"MMMMMMMMMMMMMMMMMMMMMMMMM", "MMMMMMMMMMM", "9876543210.55", "1234.55", "", "X", "X"});
        CommitRowMoment(ws, GridId::Grid1, r);
    }
    for (int i = 0; i < 100; ++i)
        SetRow(ws.EquipmentList(), i,
               {"MMMMMMMMMMMMMMMMMMMMMMMMM", "MMMMMMMMMMM", "9876543210.55", "1234.55"});
    Recalculate(ws);
    return ws;
}

// The sample's rows and header, with the figures and the names that differ.
Worksheet MetricWorksheet() {
    Worksheet ws = SampleWorksheet();
    SetUnits(ws, UnitSystem::KilogramMillimetre);
    ws.Set(Field::Tail, "D-EKMB");
    ws.Set(Field::Model, "F172N");
    ws.Set(Field::Date, "03-14-2026");
    ws.Set(Field::MaxWt, "1043");
    ws.Set(Field::Cert, "B1 1234567");
    ws.Set(Field::Range1, "889.0 - 1201.4");
    ws.Set(Field::Range3, "+889.0 to +1201.4");
    ws.Set(Field::BallastArm, "-850");
    ws.Set(Field::Lemac, "657.9");
    ws.Set(Field::Mac, "1493.5");

    SetRow(ws.ScaleRows(), 0, {"Right Main", "1.15", "277.80", "1498.6"});
    SetRow(ws.ScaleRows(), 1, {"Left Main", "1.15", "276.70", "1498.6"});
    SetRow(ws.ScaleRows(), 2, {"Nose", "0", "131.50", "-172.7"});
    SetRow(ws.FluidRows(), 0, {"Forward Tanks", "4.54", "1219.2"});
    SetRow(ws.EquipmentList(), 0, {"Garmin GTX 327", "12345", "1.18", "360.7"});
    SetRow(ws.EquipmentList(), 1, {"ELT 406", "E-77", "1.41", "3048.0"});
    SetRow(ws.InstalledList(), 1, {"Radio KX-155", "R-1", "2.49", "381.0", "", "", "X"});
    SetRow(ws.InstalledList(), 2, {"Radio GNC 255", "G-9", "2.81", "393.7", "", "X", ""});
    for (int r = 1; r <= 2; ++r)
        CommitRowMoment(ws, GridId::Grid1, r);
    Recalculate(ws);
    ShowAllRows(ws);
    return ws;
}

CompanyRow FullCompany() {
    CompanyRow c;
    const std::string forty(40, 'M');
    c.CompName = c.CompAddress = c.CompCSZ = c.CompPhone = c.FormTitle = c.EquipTitle = forty;
    return c;
}

Worksheet TypedPreviousWorksheet() {
    Worksheet ws = SampleWorksheet();
    for (int r = 0; r < 5; ++r) {
        ws.ScaleRows().At(r, scale::Wgt) = "";
        ws.FluidRows().At(r, fluid::Wgt) = "";
    }
    ws.Set(Field::Empty, "1495.65");
    ws.Set(Field::CG, "46.83");
    RebuildPreviousEmptyRow(ws, Field::CG);
    return ws;
}

Worksheet HeavyWorksheet() {
    Worksheet ws = SampleWorksheet();
    ws.Set(Field::Tail, "N747HV");
    ws.Set(Field::MaxWt, "");  // no maximum weight: no useful load
    ws.Set(Field::Range3, "+1250 to +1300");
    ws.Set(Field::BallastArm, "200");
    SetRow(ws.ScaleRows(), 0, {"Right Main", "120.25", "101234.56", "1302.125"});
    SetRow(ws.ScaleRows(), 1, {"Left Main", "118.75", "100987.65", "1302.125"});
    SetRow(ws.ScaleRows(), 2, {"Nose", "85.5", "40123.45", "312.75"});
    SetRow(ws.FluidRows(), 0, {"Forward Tanks", "1234.5", "1250.5"});
    const char* changes[][4] = {{"Galley G2", "98.55", "87.125", "X"},
                                {"Seat row 12", "612.4", "1130.375", ""},
                                {"Lavatory", "450.125", "1875.5", "X"},
                                {"IFE server", "33.333", "1402.06", ""}};
    for (int r = 0; r < 4; ++r) {
        const bool installed = *changes[r][3] != 0;
        SetRow(ws.InstalledList(), r + 1,
               {changes[r][0], "SN-00012345", changes[r][1], changes[r][2], "", installed ? "X" : "",
                installed ? "" : "X"});
        CommitRowMoment(ws, GridId::Grid1, r + 1);
    }
    for (int r = 5; r < 30; ++r)
        for (int c = 0; c < installed::Count; ++c)
            ws.InstalledList().At(r, c) = Entry();
    SetRow(ws.EquipmentList(), 2, {"Cargo loader", "CL-20011234", "1234.567", "1455.125"});
    Recalculate(ws);
    return ws;
}

ReportInput SampleInput(const Worksheet& ws) {
    return MakeReportInput(ws, "Hobbs", PrintOptions{true, true, true, true}, SampleCompany(), std::nullopt);
}

}  // namespace wb::test
