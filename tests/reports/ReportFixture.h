// A Worksheet as a shop would print it, taken into a report input the way the window does.
#pragma once

#include "reports/ReportInput.h"
#include "worksheet/Worksheet.h"

namespace wb::test {

// Company row with every field filled.
CompanyRow SampleCompany();

// A weighed aircraft with fluids, list items and changes, recalculated; every print option on.
Worksheet SampleWorksheet();

ReportInput SampleInput(const Worksheet& ws = SampleWorksheet());

// Everything at its largest: every box at its limit, every row filled and marked both ways.
Worksheet FullWorksheet();
// A company row with every field 40 characters long.
CompanyRow FullCompany();
// An airliner weighed with arms typed to three decimals, changes with odd decimals, no
// maximum weight.
Worksheet HeavyWorksheet();
// Not weighed: the previous empty weight and C.G. typed, with changes.
Worksheet TypedPreviousWorksheet();

// A shop's Worksheet typed in kilograms and millimetres: weighed, with fluids, changes, an
// equipment list, a C.G. range, a ballast arm and the wing's mean aerodynamic chord.
Worksheet MetricWorksheet();
// The aircraft of AC 43.13-1B figures 10-10 and 10-11 on the sample Worksheet: 1169 lb at
// +10.6 typed as the previous empty weight and C.G., no weighing and no changes, maximum weight
// 2100 lb, and its loading data.
Worksheet Figure10Worksheet();
// The same Worksheet as the four-seater of SlopedLoading(): 1450 lb at +39.0, maximum 2300 lb.
Worksheet SlopedWorksheet();

// Sets a row of a store from texts.
void SetRow(RowStore& store, int row, std::initializer_list<const char*> cells);

}  // namespace wb::test
