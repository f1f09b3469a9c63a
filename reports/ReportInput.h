// What the reports read at print time, copied out of the window so that a report is a pure
// drawing function: the Worksheet as shown (saved or not), the computed values, the caption of
// the tach/hobbs button, the four print options of the set-up panel, and the company rows.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "worksheet/Company.h"
#include "worksheet/RecordChain.h"
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
    // The aircraft's loading data as typed, for the calculation report's loading check.
    LoadingTexts loading;

    const std::string& Get(Field f) const { return fields[static_cast<size_t>(f)]; }
    void Set(Field f, std::string text) { fields[static_cast<size_t>(f)] = std::move(text); }

    // A store entry; rows or columns the store does not hold read as empty.
    static const Entry& At(const RowStore& store, int row, int col);
};

ReportInput MakeReportInput(const Worksheet& ws, std::string tachCaption, PrintOptions options,
                            std::optional<CompanyRow> company, std::optional<CompanyRow> reportFontRow);

}  // namespace wb
