#include "ReportFixture.h"

#include "worksheet/Balance.h"

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

ReportInput SampleInput(const Worksheet& ws) {
    return MakeReportInput(ws, "Hobbs", PrintOptions{true, true, true, true}, SampleCompany(), std::nullopt);
}

}  // namespace wb::test
