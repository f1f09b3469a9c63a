// The printed record that goes into a tail's record package: the reports of the tail read
// from the store and bound into one PDF/A file. Needs a QGuiApplication, not a window.
#pragma once

#include <filesystem>
#include <string>

#include "store/Sqlite.h"
#include "worksheet/Dates.h"
#include "worksheet/Progress.h"

namespace wb::gui {

// A RecordPdfWriter (package/RecordPackage.h) with `today` where a report needs the date.
// Throws std::runtime_error naming the file when it cannot be written, WorkCancelled when
// asked to stop; no file is left behind either way.
void WriteRecordPdf(Database& db, const std::string& tail, const std::filesystem::path& pdf,
                    Progress& progress, CalendarDate today);

}  // namespace wb::gui
