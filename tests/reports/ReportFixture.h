// A Worksheet as a shop would print it, taken into a report input the way the window does.
#pragma once

#include "reports/ReportInput.h"
#include "worksheet/Worksheet.h"

namespace wb::test {

// Company row with every field filled.
CompanyRow SampleCompany();

// A weighed aircraft: header fields, the three scale rows of the worked example, a fuel row,
// two equipment-list rows and two change rows, recalculated. Every print option is on.
Worksheet SampleWorksheet();

ReportInput SampleInput(const Worksheet& ws = SampleWorksheet());

// Everything at its largest: every box filled to its limit, 40-character C.G. ranges, all
// thirty change rows marked both ways, a hundred list items, 500 characters of notes and
// 10-digit weights.
Worksheet FullWorksheet();
// A company row with every field 40 characters long.
CompanyRow FullCompany();
// Not weighed: the previous empty weight and C.G. typed, with changes.
Worksheet TypedPreviousWorksheet();

// Sets a row of a store from texts.
void SetRow(RowStore& store, int row, std::initializer_list<const char*> cells);

}  // namespace wb::test
