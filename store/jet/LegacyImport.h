// What the import brings across from the old database files, built from tables already read.
// Every value keeps Null apart from "". Rows that cannot be brought across are listed with
// their values and the reason, so nothing is dropped without a word.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/jet/JetTable.h"
#include "worksheet/Company.h"
#include "worksheet/Dates.h"

namespace wb::jet {

inline constexpr const char* kPreviousEmptyDescription = "Previous A/C Empty";

struct LegacyEquipmentRow {
    int sourceRow = 0;  // 1-based row of Equipment in file order
    int RowNum = 0;
    Nullable Description, Serial;
    std::optional<double> Weight, Arm;
    bool Install = false, Remove = false;
    bool operator==(const LegacyEquipmentRow&) const = default;
};

struct LegacyScaleRow {
    Nullable Dsc;
    std::optional<double> Tar, Wgt, Arm;
    bool operator==(const LegacyScaleRow&) const = default;
};

struct LegacyFluidRow {
    Nullable Dsc;
    std::optional<double> Wgt, Arm;
    bool operator==(const LegacyFluidRow&) const = default;
};

// One Aircraft row with its two lists. Numbers from Single columns are the double nearest the
// shortest decimal that reads back as the stored float (-6.8, not -6.8000001907...), which is
// what the mechanic typed.
struct LegacyWorksheet {
    int sourceRow = 0;  // 1-based row of Aircraft in file order
    std::string Tail;
    CalendarDate Date;
    Nullable Serial, Make, Model, Year;
    std::optional<double> Empty, CG, MaxWt;
    Nullable Tach, By, Cert, Work, Range1, Range2, Range3, Memo;
    std::array<LegacyScaleRow, 5> scale{};      // J1..J5
    std::array<LegacyFluidRow, 5> fluid{};      // F1..F5
    std::vector<LegacyEquipmentRow> changes;    // the installed/removed list, in RowNum order
    std::vector<LegacyEquipmentRow> equipment;  // the aircraft's equipment list, in RowNum order
    bool operator==(const LegacyWorksheet&) const = default;
};

struct NotBroughtAcross {
    std::string table;
    int row = 0;                                           // 1-based row in file order; 0 for a whole column
    std::vector<std::pair<std::string, JetValue>> values;  // the row as read, column by column
    std::string reason;
};

struct ImportCounts {
    int worksheets = 0, changeRows = 0, equipmentRows = 0, companyRows = 0, reportFontRows = 0;
    bool operator==(const ImportCounts&) const = default;
};

struct LegacyMainImport {
    std::vector<LegacyWorksheet> worksheets;  // in Aircraft file order
    std::optional<CompanyRow> company;        // the first CompanyInfo row
    std::optional<CompanyRow> reportFont;     // the first row whose CompName is "Reports"
    std::vector<NotBroughtAcross> notBroughtAcross;
    ImportCounts Counts() const;
};

struct LegacySetup {
    Nullable DataPath, CompanyPhone;
    std::vector<NotBroughtAcross> notBroughtAcross;
};

// Empty with a message when a table lacks a column the program stores, or a column holds a
// kind of value its field cannot take.
std::optional<LegacyMainImport> BuildMainImport(const JetTable& aircraft, const JetTable& equipment,
                                                const JetTable& companyInfo, std::string& error);
std::optional<LegacySetup> BuildSetupImport(const JetTable& setup, std::string& error);

}  // namespace wb::jet
