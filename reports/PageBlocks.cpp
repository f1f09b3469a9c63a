#include "reports/PageBlocks.h"

#include "reports/NoteLines.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

namespace wb {
namespace {

constexpr double kLeftLabel = 100, kLeftValue = 1800;
constexpr double kRightLabelFromEdge = 3500, kRightValueFromEdge = 1600;
constexpr double kNewValuesRight = 4000;
constexpr double kRangeLabel = 4300, kRangeValue = 6900;
constexpr double kNotesLeft = 100, kNotesNewSheetTop = 2000;

const Nullable& NullField() {
    static const Nullable kNull;
    return kNull;
}

// A company field; every field is Null when the table has no company row.
const Nullable& CompanyField(const ReportInput& in, Nullable CompanyRow::*field) {
    return in.company ? (*in.company).*field : NullField();
}

}  // namespace

double PrintCompanyBlock(Page& page, const ReportInput& in) {
    page.SetFont(ReportHeaderFont(in));
    if (const Nullable& name = CompanyField(in, &CompanyRow::CompName)) {
        page.SetCurrentY(50);
        PrintCentred(page, *name, Ending::NewLine);
        page.SetCurrentY(page.TextHeight(*name) + 50);
        // The report font is for the name only: the italic of a chosen font goes with it.
        page.SetFont({"Arial", 12, false, false});
    }
    if (const Nullable& address = CompanyField(in, &CompanyRow::CompAddress)) PrintCentred(page, *address);
    page.SetCurrentY(page.CurrentY() + 200);
    if (const Nullable& csz = CompanyField(in, &CompanyRow::CompCSZ)) PrintCentred(page, *csz);
    page.SetCurrentY(page.CurrentY() + 200);
    if (const Nullable& phone = CompanyField(in, &CompanyRow::CompPhone)) PrintCentred(page, *phone);
    return page.CurrentY() + 400;
}

namespace {

// One row of the aircraft header: a label and value on the left, a label and value on the right.
void HeaderRow(Page& page, double y, std::string_view leftLabel, std::string_view leftValue,
               std::string_view rightLabel, std::string_view rightValue) {
    const double width = page.PrintableWidth();
    PrintAt(page, kLeftLabel, y, leftLabel);
    page.SetCurrentX(kLeftValue);
    page.Print(leftValue, Ending::NewLine);
    PrintAt(page, width - kRightLabelFromEdge, y, rightLabel);
    page.SetCurrentX(width - kRightValueFromEdge);
    page.Print(rightValue, Ending::NewLine);
}

}  // namespace

double ValueOf(std::string_view text) {
    return LeadingNumber(text);
}

std::string Masked(double value, std::string_view mask) {
    return FormatNumber(value, mask);
}

std::string Trimmed(std::string_view text) {
    size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    size_t e = text.find_last_not_of(' ');
    return std::string(text.substr(b, e - b + 1));
}

PageFont ReportHeaderFont(const ReportInput& in) {
    if (!in.reportFontRow) return {"Arial", 18, true, false};
    ReportFont f = ReportFontFromRow(*in.reportFontRow);
    PageFont font{f.name, f.size, f.bold, f.italic};
    // A row without a usable name or size would print the name invisibly or in no font.
    if (font.name.empty()) font.name = "Arial";
    if (!(font.size > 0)) font.size = 18;
    return font;
}

double PrintCommonTop(Page& page, const ReportInput& in, TitleField title) {
    page.SetUnitsTwips();
    double pageTop = in.options.company ? PrintCompanyBlock(page, in) : 100;

    page.SetCurrentY(pageTop);
    page.SetFont({"Arial", 12, true, false});
    const Nullable& titleText =
        CompanyField(in, title == TitleField::EquipTitle ? &CompanyRow::EquipTitle : &CompanyRow::FormTitle);
    if (titleText) PrintCentred(page, *titleText, Ending::NewLine);
    page.SetFontBold(false);
    page.SetFontSize(11);

    auto field = [&](Field f) { return Trimmed(in.Get(f)); };
    HeaderRow(page, pageTop + 300, "Reg. Number:", field(Field::Tail), "Date:", field(Field::Date));
    HeaderRow(page, pageTop + 510, "Make/Model:", field(Field::Make) + "  " + field(Field::Model),
              in.tachCaption + ":", field(Field::Tach));
    HeaderRow(page, pageTop + 720, "Year:", field(Field::Year), "Max Weight:", field(Field::MaxWt));
    HeaderRow(page, pageTop + 930, "Serial Number:", field(Field::Serial), "Work Order:", field(Field::Work));

    pageTop += 1300;
    page.SetLineWidth(kHeavyPen);
    page.Line(kRuleLeft, pageTop, kRuleRight, pageTop);
    page.Line(4100, pageTop, 4100, pageTop + 1000);
    page.SetLineWidth(kThinPen);

    const std::array<double, 3> ys = {pageTop + 100, pageTop + 400, pageTop + 700};
    PrintNewValues(page, in, ys);
    if (in.options.ranges) {
        page.SetFontSize(10);
        PrintRanges(page, in, ys);
        page.SetFontSize(12);
    }
    return pageTop;
}

void PrintNewValues(Page& page, const ReportInput& in, const std::array<double, 3>& ys) {
    const double newWeight = ValueOf(in.Get(Field::Text23));
    const double usefulLoad = ValueOf(in.Get(Field::MaxWt)) - newWeight;
    PrintAt(page, kLeftLabel, ys[0], "New A/C Empty Weight:");
    PrintRightAligned(page, kNewValuesRight, Masked(newWeight, pattern::NewWeight));
    PrintAt(page, kLeftLabel, ys[1], "New A/C Empty C.G.:");
    PrintRightAligned(page, kNewValuesRight, Masked(ValueOf(in.Get(Field::Text24)), pattern::NewWeight));
    PrintAt(page, kLeftLabel, ys[2], "New A/C Useful Load:");
    PrintRightAligned(page, kNewValuesRight, Masked(usefulLoad, pattern::NewWeight), Ending::NewLine);
}

void PrintRanges(Page& page, const ReportInput& in, const std::array<double, 3>& ys) {
    const std::array<std::string_view, 3> labels = {
        "Landing C.G. Range:", "Gear Extended C.G. Range:", "Empty Weight C.G. Range:"};
    const std::array<Field, 3> fields = {Field::Range1, Field::Range2, Field::Range3};
    for (size_t i = 0; i < 3; ++i) {
        PrintAt(page, kRangeLabel, ys[i], labels[i]);
        page.SetCurrentX(kRangeValue);
        page.Print(Trimmed(in.Get(fields[i])), Ending::NewLine);
    }
}

void PrintSignatureLine(Page& page, const ReportInput& in, double y) {
    if (!in.options.mechanic) return;
    page.SetLineWidth(kHeavyPen);
    page.Line(8500, y, 11410, y);
    page.SetLineWidth(kThinPen);
    page.SetFontSize(8);
    PrintAt(page, 8500, y, in.Get(Field::By) + ",  " + in.Get(Field::Cert), Ending::NewLine);
}

void PrintNotes(Page& page, const ReportInput& in, double y, double size) {
    if (!in.options.notes) return;
    page.SetCurrentX(kNotesLeft);
    page.SetCurrentY(y);
    page.SetFontSize(size);
    const auto lines =
        WrapNotes(in.Get(Field::Memo), kNotesBoxWidth, [&](std::string_view s) { return page.TextWidth(s); });
    const double bottom = page.PrintableTop() + page.PrintableHeight();
    for (const std::string& line : lines) {
        // A line that would not end on this sheet goes to the next, so none is cut at the foot.
        if (page.CurrentY() + page.TextHeight(line) > bottom) {
            page.NewSheet();
            page.SetCurrentY(page.PrintableTop() + kNotesNewSheetTop);
        }
        page.SetCurrentX(kNotesLeft);
        page.Print(line, Ending::NewLine);
    }
}

}  // namespace wb
