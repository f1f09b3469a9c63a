#include <algorithm>

#include "reports/PageBlocks.h"
#include "reports/Reports.h"
#include "worksheet/Format.h"

namespace wb {
namespace {

constexpr int kChangeRows = 30;  // the list's hidden extra row is never printed

// Columns shared by both layouts: x of the texts, right edges of the numbers, the marks.
constexpr double kTextX = 200, kSerialX = 4200;
constexpr double kWeightRight = 7000, kArmRight = 8500, kMomentRight = 10200;
constexpr double kInstallMarkX = 10550, kRemoveMarkX = 11100;

enum class Group { Removed, Installed };

bool Marked(const ReportInput& in, int row, Group group) {
    const int col = group == Group::Removed ? installed::Remove : installed::Install;
    return ReportInput::At(in.InstalledList, row, col).Text() == "X";
}

void PrintPreviousValues(Page& page, const ReportInput& in, double y) {
    const double weight = ValueOf(in.Get(Field::Empty));
    const double arm = ValueOf(in.Get(Field::CG));
    PrintAt(page, kTextX, y, "Previous Aircraft Empty");
    PrintAt(page, kSerialX, y, in.Get(Field::Serial));
    PrintRightAligned(page, kWeightRight, Masked(weight, pattern::Weight));
    PrintRightAligned(page, kArmRight, Masked(arm, pattern::Weight));
    PrintRightAligned(page, kMomentRight, Masked(weight * arm, pattern::Moment));
    PrintAt(page, 10500, y, "n/a");
    PrintAt(page, 11050, y, "n/a");
}

void PrintChangeRow(Page& page, const ReportInput& in, int row, double y) {
    auto entry = [&](int col) -> const Entry& { return ReportInput::At(in.InstalledList, row, col); };
    PrintAt(page, kTextX, y, entry(installed::Description).Text());
    PrintAt(page, kSerialX, y, entry(installed::Serial).Text());
    PrintRightAligned(page, kWeightRight, entry(installed::Weight).Formatted(pattern::Weight));
    PrintRightAligned(page, kArmRight, entry(installed::Arm).Formatted(pattern::Weight));
    PrintRightAligned(page, kMomentRight, entry(installed::Moment).Formatted(pattern::NoLead1));
    PrintAt(page, kInstallMarkX, y, entry(installed::Install).Text());
    PrintAt(page, kRemoveMarkX, y, entry(installed::Remove).Text());
}

// Prints the two groups in the given order, a heading line each, one line per marked row and
// an empty line after each group. Line k is at firstY + step * k.
void PrintGroups(Page& page, const ReportInput& in, const Group (&order)[2], double firstY, double step) {
    int line = 0;
    for (Group group : order) {
        page.SetFontBold(true);
        PrintAt(page, kTextX, firstY + step * line, group == Group::Removed ? "Removed" : "Installed");
        // Bold ends with the heading, so that neither the rows nor the totals take it.
        page.SetFontBold(false);
        ++line;
        for (int r = 0; r < kChangeRows; ++r) {
            if (!Marked(in, r, group)) continue;
            PrintChangeRow(page, in, r, firstY + step * line);
            ++line;
        }
        ++line;
    }
}

void PrintTotals(Page& page, const ReportInput& in, double y, float moment) {
    page.SetCurrentY(y);
    PrintRightAligned(page, kWeightRight, FormatSingle(in.values.NewWeight, pattern::NewWeight));
    PrintRightAligned(page, kArmRight, FormatSingle(in.values.NewArm, pattern::NewWeight));
    PrintRightAligned(page, kMomentRight, FormatSingle(moment, pattern::NoLead1));
}

// The compact report's one-line company header and title; returns where the body starts.
double PrintCompactTop(Page& page, const ReportInput& in) {
    page.SetUnitsTwips();
    const CompanyRow noCompany;
    const CompanyRow& company = in.company ? *in.company : noCompany;
    if (in.options.company) {
        page.SetFont({"Arial", 8, true, false});
        page.SetCurrentX(100);
        page.SetCurrentY(50);
        if (company.CompName) page.Print(*company.CompName + "  ", Ending::Stay);
        page.SetFontBold(false);
        if (company.CompAddress) page.Print(*company.CompAddress + "  ", Ending::Stay);
        if (company.CompCSZ) page.Print(*company.CompCSZ + "  ", Ending::Stay);
        if (company.CompPhone) page.Print(*company.CompPhone + std::string(14, ' '), Ending::Stay);
    } else {
        page.SetCurrentY(100);
    }
    page.SetFontBold(true);
    if (company.FormTitle) {
        // Centred, unless that would print it over long company details: then it follows them.
        const double afterCompany = page.CurrentX();
        const double centred = (page.PrintableWidth() - page.TextWidth(*company.FormTitle)) / 2;
        page.SetCurrentX(in.options.company ? std::max(centred, afterCompany) : centred);
        page.Print(*company.FormTitle, Ending::NewLine);
    } else
        page.Print("", Ending::NewLine);
    page.SetFontBold(false);
    page.SetFontSize(8);

    auto field = [&](Field f) { return Trimmed(in.Get(f)); };
    page.SetCurrentX(100);
    page.Print("Reg. Number: " + field(Field::Tail) + " /Make/Model: " + field(Field::Make) + " " +
                   field(Field::Model) + " /Year: " + field(Field::Year) +
                   " /Serial: " + field(Field::Serial),
               Ending::NewLine);
    page.SetCurrentX(100);
    page.Print("Date: " + field(Field::Date) + " /" + in.tachCaption + ": " + field(Field::Tach) +
                   " /Max. Weight: " + field(Field::MaxWt) + " /Work Order: " + field(Field::Work),
               Ending::NewLine);
    return page.CurrentY();
}

}  // namespace

void PrintFullChangeReport(const ReportInput& in, Page& page) {
    const double pageTop = PrintCommonTop(page, in, TitleField::FormTitle);
    constexpr double kFrameBottom = 12900, kTotalsLine = 12700, kTotalsY = 12685;

    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, pageTop + 1000, kRuleRight, kFrameBottom);
    page.Line(kRuleLeft, kTotalsLine, kRuleRight, kTotalsLine);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, pageTop + 1300, kRuleRight, pageTop + 1300);
    page.Line(4100, pageTop + 1300, 4100, kTotalsLine);
    for (double x : {5800.0, 7300.0, 8800.0, 10300.0})
        page.Line(x, pageTop + 1300, x, kFrameBottom);
    page.Line(10900, pageTop + 1300, 10900, kTotalsLine);

    PrintAt(page, 1200, pageTop + 1030, "Description");
    PrintAt(page, 4200, pageTop + 1030, "Serial Number");
    PrintAt(page, 6200, pageTop + 1030, "Weight");
    PrintAt(page, 7800, pageTop + 1030, "Arm");
    PrintAt(page, 9200, pageTop + 1030, "Moment");
    page.SetFontSize(8);
    PrintAt(page, 10300, pageTop + 1010, "Installed");
    PrintAt(page, 10865, pageTop + 1090, "Removed");
    page.SetFontSize(12);
    PrintAt(page, 1200, kTotalsY, "New Aircraft Values");
    page.SetFontSize(11);

    PrintPreviousValues(page, in, pageTop + 1370);
    PrintGroups(page, in, {Group::Removed, Group::Installed}, pageTop + 1770, 200);
    PrintTotals(page, in, kTotalsY, in.values.NewWeight * in.values.NewArm);
    PrintSignatureLine(page, in, 13500);
    PrintNotes(page, in, 13000, 8);
    page.EndDocument();
}

void PrintCompactChangeReport(const ReportInput& in, Page& page) {
    double pageTop = PrintCompactTop(page, in);

    page.SetLineWidth(kHeavyPen);
    page.Line(kRuleLeft, pageTop, 11400, pageTop);
    page.Line(4100, pageTop, 4100, pageTop + 550);
    if (in.options.mechanic) {
        page.SetFontSize(6);
        PrintAt(page, 8500, pageTop, in.Get(Field::By) + ",  " + in.Get(Field::Cert), Ending::NewLine);
        page.SetFontSize(8);
    }
    page.SetLineWidth(kThinPen);
    const std::array<double, 3> ys = {pageTop, pageTop + 200, pageTop + 400};
    PrintNewValues(page, in, ys);
    if (in.options.ranges) PrintRanges(page, in, ys);

    pageTop = page.CurrentY();
    const double half = page.PrintableHeight() / 2;
    const double totalsY = half - 400;
    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, pageTop, kRuleRight, half - 200);
    page.Line(kRuleLeft, totalsY, kRuleRight, totalsY);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, pageTop + 200, kRuleRight, pageTop + 200);
    for (double x : {4100.0, 10900.0})
        page.Line(x, pageTop + 200, x, totalsY);
    for (double x : {5800.0, 7300.0, 8800.0, 10300.0})
        page.Line(x, pageTop + 200, x, half - 200);

    PrintAt(page, 1200, pageTop, "Description");
    PrintAt(page, 4350, pageTop, "Serial Number");
    PrintAt(page, 6300, pageTop, "Weight");
    PrintAt(page, 7900, pageTop, "Arm");
    PrintAt(page, 9300, pageTop, "Moment");
    page.SetFontSize(6);
    PrintAt(page, 10350, pageTop, "Installed");
    PrintAt(page, 10915, pageTop + 80, "Removed");
    page.SetFontSize(8);
    PrintAt(page, 1200, totalsY, "New Aircraft Values");

    PrintPreviousValues(page, in, pageTop + 200);
    PrintGroups(page, in, {Group::Installed, Group::Removed}, pageTop + 400, 150);
    PrintTotals(page, in, totalsY, in.values.NewMoment);
    PrintNotes(page, in, 5650, 6);
    page.EndDocument();
}

}  // namespace wb
