#include "reports/PageBlocks.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "reports/NoteLines.h"
#include "reports/Sheets.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

constexpr double kLeftLabel = 100, kLeftValue = 1800;
constexpr double kRightLabelFromEdge = 3500, kRightValueFromEdge = 1600;
constexpr double kNewValuesRight = 4000;
constexpr double kRangeLabel = 4300, kRangeValue = 6900;
constexpr double kNotesLeft = 100;
constexpr double kCompanyLineStep = 200;
constexpr double kGap = 60;             // between a label and its value, a text and a rule
constexpr int kMostTypedDecimals = 10;  // beyond, a typed number is rounded to fit its column

// The size at which text fits width in the font in force (never larger than that font).
double FittingSize(const Page& page, std::string_view text, double width) {
    PageFont font = page.Font();
    double w = page.TextWidth(text);
    if (w <= width || w <= 0) return font.size;
    // Quarter points, stepped down until the measured width fits.
    double size = std::floor(font.size * std::max(width, 0.0) / w * 4) / 4;
    while (size > 0.25) {
        font.size = size;
        if (page.WidthIn(text, font) <= width) break;
        size -= 0.25;
    }
    return std::max(size, 0.25);
}

// Prints text at (x, y) in a size that fits width; returns the end x. The font in force stays.
// Nothing is ever cut: a serial number or a weight shrinks, but keeps every character.
double PrintInWidth(Page& page, double x, double y, std::string_view text, double width) {
    const PageFont keep = page.Font();
    PageFont font = keep;
    font.size = FittingSize(page, text, width);
    page.SetFont(font);
    // A smaller text sits on the same baseline as its line (the ascent is about 0.78 of a
    // line's height), which keeps its ink inside the band of the size it replaces.
    const double drop = (page.LineHeightIn(keep) - page.LineHeightIn(font)) * 0.78;
    PrintAt(page, x, y + drop, text);
    const double end = page.CurrentX();
    page.SetFont(keep);
    return end;
}

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
        PrintCentredFitted(page, 50, *name, Ending::NewLine);
        page.SetCurrentY(page.TextHeight(*name) + 50);
        // The report font is for the name only: the italic of a chosen font goes with it.
        page.SetFont({"Arial", 12, false, false});
    }
    // A printed line takes at least its own height, so that a large font never touches the next.
    const double lineStep = std::max(kCompanyLineStep, page.TextHeight("X"));
    double y = page.CurrentY();
    for (Nullable CompanyRow::*field :
         {&CompanyRow::CompAddress, &CompanyRow::CompCSZ, &CompanyRow::CompPhone}) {
        const Nullable& text = CompanyField(in, field);
        if (text) PrintCentredFitted(page, y, *text);
        if (field != &CompanyRow::CompPhone) y += text ? lineStep : kCompanyLineStep;
    }
    page.SetCurrentY(y);
    return page.CurrentY() + 400;
}

namespace {

// One row of the aircraft header: a label and value on the left, a label and value on the right.
void HeaderRow(Page& page, double y, std::string_view leftLabel, std::string_view leftValue,
               std::string_view rightLabel, std::string_view rightValue) {
    const double width = page.PrintableWidth();
    PrintAt(page, kLeftLabel, y, leftLabel);
    PrintFitted(page, kLeftValue, y, leftValue, width - kRightLabelFromEdge - kGap);
    PrintAt(page, width - kRightLabelFromEdge, y, rightLabel);
    PrintFitted(page, width - kRightValueFromEdge, y, rightValue, std::min(width, kRuleRight));
}

}  // namespace

double ValueOf(std::string_view text) {
    return LeadingNumber(text);
}

double PrintFitted(Page& page, double x, double y, std::string_view text, double right) {
    return PrintInWidth(page, x, y, text, right - x);
}

void PrintRightFitted(Page& page, double left, double right, double y, std::string_view text) {
    const PageFont keep = page.Font();
    PageFont font = keep;
    font.size = FittingSize(page, text, right - left);
    page.SetFont(font);
    const double width = page.TextWidth(text);
    page.SetFont(keep);
    PrintInWidth(page, right - width, y, text, width);
}

void PrintCentredFitted(Page& page, double y, std::string_view text, Ending ending) {
    const PageFont keep = page.Font();
    PageFont font = keep;
    font.size = FittingSize(page, text, page.PrintableWidth());
    page.SetFont(font);
    page.SetCurrentY(y);
    PrintCentred(page, text, ending);
    page.SetFont(keep);
}

Decimal ExactValue(const Entry& entry) {
    return entry.IsNumber() ? Decimal::Of(entry.Number()) : Decimal::Read(entry.Text());
}

std::string WithTypedDecimals(const Entry& entry, int least, bool negate) {
    const Decimal value = ExactValue(entry);
    const int decimals = std::clamp(value.Decimals(), least, kMostTypedDecimals);
    return (negate ? -value : value).Formatted("#####0." + std::string(static_cast<size_t>(decimals), '0'));
}

std::string MaxWeightText(const ReportInput& in) {
    const std::string typed = Trimmed(in.Get(Field::MaxWt));
    return NumericText(typed) ? WithUnit(typed, WeightUnit(Units(in))) : typed;
}

std::string UnitsLine(const ReportInput& in) {
    const UnitSystem u = Units(in);
    return "Weights in " + std::string(WeightUnit(u)) + ", arms in " + std::string(ArmUnit(u)) +
           ", moments in " + std::string(MomentUnit(u));
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
    if (titleText) PrintCentredFitted(page, pageTop, *titleText, Ending::NewLine);
    page.SetFontBold(false);
    page.SetFontSize(11);

    auto field = [&](Field f) { return Trimmed(in.Get(f)); };
    HeaderRow(page, pageTop + 300, "Reg. Number:", field(Field::Tail), "Date:", field(Field::Date));
    HeaderRow(page, pageTop + 510, "Make/Model:", field(Field::Make) + "  " + field(Field::Model),
              in.tachCaption + ":", field(Field::Tach));
    HeaderRow(page, pageTop + 720, "Year:", field(Field::Year), "Max Weight:", MaxWeightText(in));
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
    // Without a maximum weight there is no useful load to tell, not a negative one.
    const std::optional<double> usefulLoad = UsefulLoad(in.Get(Field::MaxWt), newWeight);
    const std::array<std::string_view, 3> labels = {
        "New A/C Empty Weight:", "New A/C Empty C.G.:", "New A/C Useful Load:"};
    const UnitSystem u = Units(in);
    const UnitPatterns& p = PatternsOf(u);
    const std::array<std::string, 3> values = {
        WithUnit(Masked(newWeight, p.newWeight), WeightUnit(u)),
        WithUnit(Masked(ValueOf(in.Get(Field::Text24)), p.newArm), ArmUnit(u)),
        usefulLoad ? WithUnit(Masked(*usefulLoad, p.newWeight), WeightUnit(u)) : ""};
    for (size_t i = 0; i < 3; ++i) {
        PrintAt(page, kLeftLabel, ys[i], labels[i]);
        if (!values[i].empty())
            PrintRightFitted(page, page.CurrentX() + kGap, kNewValuesRight, ys[i], values[i]);
    }
    page.SetCurrentX(0);
    page.SetCurrentY(ys[2] + page.TextHeight("X"));
}

std::array<double, 3> PrintRanges(Page& page, const ReportInput& in, const std::array<double, 3>& ys) {
    std::array<double, 3> ends{};
    const std::array<std::string_view, 3> labels = {
        "Landing C.G. Range:", "Gear Extended C.G. Range:", "Empty Weight C.G. Range:"};
    const std::array<Field, 3> fields = {Field::Range1, Field::Range2, Field::Range3};
    for (size_t i = 0; i < 3; ++i) {
        PrintAt(page, kRangeLabel, ys[i], labels[i]);
        ends[i] = PrintFitted(page, std::max(kRangeValue, page.CurrentX() + kGap), ys[i],
                              Trimmed(in.Get(fields[i])), std::min(page.PrintableWidth(), kRuleRight));
        page.SetCurrentX(0);
        page.SetCurrentY(ys[i] + page.TextHeight("X"));
    }
    return ends;
}

void PrintSignedElectronically(Page& page, const ReportInput& in, double y) {
    if (in.signedLines.empty()) return;
    const PageFont keep = page.Font();
    page.SetFontSize(7);
    for (const std::string& line : in.signedLines) {
        PrintRightFitted(page, 4000, kRuleRight, y, line);
        y += page.TextHeight("X");
    }
    page.SetFont(keep);
}

void PrintSignatureLine(Page& page, const ReportInput& in, double y) {
    // Printed whatever the options: a signed record says so on every report of it.
    PrintSignedElectronically(page, in, y + 260);
    if (!in.options.mechanic) return;
    page.SetLineWidth(kHeavyPen);
    page.Line(8500, y, 11410, y);
    page.SetLineWidth(kThinPen);
    page.SetFontSize(8);
    PrintFitted(page, 8500, y, in.Get(Field::By) + ",  " + in.Get(Field::Cert), kRuleRight);
    page.SetCurrentX(0);
    page.SetCurrentY(y + page.TextHeight("X"));
}

void PrintNotes(SheetRun& run, const ReportInput& in, double y, double size) {
    if (!in.options.notes) return;
    Page& page = run.page();
    page.SetCurrentX(kNotesLeft);
    page.SetCurrentY(y);
    page.SetFontSize(size);
    const auto lines =
        WrapNotes(in.Get(Field::Memo), kNotesBoxWidth, [&](std::string_view s) { return page.TextWidth(s); });
    for (const std::string& line : lines) {
        // A line that would not end above the foot goes to the next sheet, so none is cut.
        if (page.CurrentY() + page.TextHeight(line) > run.Bottom()) {
            const PageFont font = page.Font();
            run.Next();
            page.SetFont(font);
            page.SetCurrentY(run.ContinuationTop());
        }
        page.SetCurrentX(kNotesLeft);
        page.Print(line, Ending::NewLine);
    }
}

}  // namespace wb
