// The shop's own details as stored: the company row and the report font row of CompanyInfo.
// A Null column is an empty optional; the reports and the set-up panel tell Null from "".
#pragma once

#include <optional>
#include <string>

namespace wb {

using Nullable = std::optional<std::string>;

struct CompanyRow {
    Nullable CompName, CompAddress, CompCSZ, CompPhone, FormTitle, EquipTitle, Mechanic, Cert;
    std::optional<bool> PrintCo, PrintCG, PrintMech, PrintNotes;
    bool operator==(const CompanyRow&) const = default;
};

// The font that heads every report with the company name.
struct ReportFont {
    std::string name = "Arial";
    double size = 18;
    bool bold = true;
    bool italic = false;
    bool operator==(const ReportFont&) const = default;
};

inline constexpr const char* kReportFontMarker = "Reports";

// The report font row reuses the company columns: CompAddress holds the name, CompCSZ the
// size as text, CompPhone the bold flag and FormTitle the italic flag.
ReportFont ReportFontFromRow(const CompanyRow& row);
CompanyRow ReportFontRow(const ReportFont& font);

// A stored flag as text: "True", "False", "-1", "0", "1" ... (anything that is not a false
// word or a zero number counts as true; Null and empty text count as false).
bool FlagFromText(const Nullable& text);

}  // namespace wb
