// The report font: the stored choice, the default while there is none, and what the font
// dialog may be started from.
#pragma once

#include "worksheet/Company.h"

namespace wb {

class MainDatabase;

// The font of the "Reports" row, or Arial 18 pt bold while none has been chosen (or no
// database is open, or the row cannot be read).
ReportFont StoredReportFont(MainDatabase* main);

// A font the dialog can be started from: a name and a size it can show.
bool DialogCanTake(const ReportFont& font);

// Where the font dialog starts: the stored font, or the default when the stored one cannot
// be taken (an empty name, a size of 0 or a size no font comes in).
ReportFont InitialFontChoice(MainDatabase* main);

}  // namespace wb
