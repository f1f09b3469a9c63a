#include "worksheet/Company.h"

#include <algorithm>
#include <cctype>

#include "worksheet/LeadingNumber.h"

namespace wb {

bool FlagFromText(const Nullable& text) {
    if (!text) return false;
    std::string t;
    for (char c : *text)
        if (c != ' ' && c != '\t') t.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (t.empty() || t == "false" || t == "no" || t == "off") return false;
    if (t == "true" || t == "yes" || t == "on") return true;
    return NumericText(t) ? LeadingNumber(t) != 0 : false;
}

ReportFont ReportFontFromRow(const CompanyRow& row) {
    ReportFont font;
    font.name = row.CompAddress.value_or("");
    font.size = LeadingNumber(row.CompCSZ.value_or(""));
    font.bold = FlagFromText(row.CompPhone);
    font.italic = FlagFromText(row.FormTitle);
    return font;
}

CompanyRow ReportFontRow(const ReportFont& font) {
    CompanyRow row;
    row.CompName = kReportFontMarker;
    row.CompAddress = font.name;
    row.CompCSZ = NumberText(font.size);
    row.CompPhone = font.bold ? "True" : "False";
    row.FormTitle = font.italic ? "True" : "False";
    return row;
}

}  // namespace wb
