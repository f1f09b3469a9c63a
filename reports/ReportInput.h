// What the reports read at print time, copied out of the window so that a report is a pure
// drawing function: the Worksheet as shown (saved or not), the computed values, the caption of
// the tach/hobbs button, the four print options of the set-up panel, and the company rows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/Company.h"
#include "worksheet/RecordChain.h"
#include "worksheet/UnitSystem.h"
#include "worksheet/Weighing.h"
#include "worksheet/Worksheet.h"

namespace wb {

// The set-up panel's check boxes, read as they stand when the button is pressed.
struct PrintOptions {
    bool company = false;   // Check3D1 " Print company info"
    bool ranges = false;    // Check3D2 "Print aircraft CG ranges"
    bool mechanic = false;  // Check3D3 "Print mechanic's name"
    bool notes = false;     // Check3D4 "Print notes"
};

struct ReportInput {
    std::array<std::string, kFieldCount> fields;
    RowStore ScaleRows, FluidRows, InstalledList, EquipmentList;
    Computed values;
    std::string tachCaption = "Tach";  // or "Hobbs"
    PrintOptions options;
    // The first CompanyInfo row; absent when the table is empty.
    std::optional<CompanyRow> company;
    // The CompanyInfo row whose CompName is "Reports"; absent until a font has been chosen.
    std::optional<CompanyRow> reportFontRow;
    // The tail's weight and balance record, for the record report; empty for the others.
    RecordChain history;
    // The calculation report's weighing section: the scales, conditions, warnings, reweigh
    // advice and next due date; empty when nothing is recorded.
    std::vector<WeighingLine> weighingLines;
    // Per InstalledList row: a change whose effect on the empty weight and C.G. is negligible,
    // marked so in the change lists.
    std::vector<bool> negligible;
    // The aircraft due for reweighing, for that list's report.
    std::vector<DueLine> dueList;
    // A signed Worksheet's "Signed electronically by ..." and its record hash; empty otherwise.
    std::vector<std::string> signedLines;
    // The tail's audit trail as printable lines, for the record report.
    std::vector<std::string> auditLines;
    // The aircraft's loading data as typed, for the calculation report's loading check.
    LoadingTexts loading;

    const std::string& Get(Field f) const { return fields[static_cast<size_t>(f)]; }
    void Set(Field f, std::string text) { fields[static_cast<size_t>(f)] = std::move(text); }

    // A store entry; rows or columns the store does not hold read as empty.
    static const Entry& At(const RowStore& store, int row, int col);
};

// The unit system of the Worksheet printed.
UnitSystem Units(const ReportInput& in);

ReportInput MakeReportInput(const Worksheet& ws, std::string tachCaption, PrintOptions options,
                            std::optional<CompanyRow> company, std::optional<CompanyRow> reportFontRow);

}  // namespace wb
