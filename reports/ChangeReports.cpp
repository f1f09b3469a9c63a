#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "reports/CgLimits.h"
#include "reports/PageBlocks.h"
#include "reports/Reports.h"
#include "reports/Sheets.h"
#include "worksheet/Format.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

constexpr int kChangeRows = 30;  // the list's hidden extra row is never printed

// Columns shared by both layouts: x of the texts, right edges of the numbers, the marks, and
// the rules that bound them.
constexpr double kTextX = 200, kSerialX = 4200;
constexpr double kWeightRight = 7000, kArmRight = 8500, kMomentRight = 10200;
constexpr double kInstallMarkX = 10550, kRemoveMarkX = 11100;
constexpr double kSerialRule = 4100, kWeightRule = 5800, kArmRule = 7300, kMomentRule = 8800;
constexpr double kInstallRule = 10300, kRemoveRule = 10900;
constexpr double kGap = 60;

enum class Group { Removed, Installed };

bool Marked(const ReportInput& in, int row, Group group) {
    const int col = group == Group::Removed ? installed::Remove : installed::Install;
    return ReportInput::At(in.InstalledList, row, col).Text() == "X";
}

bool IsPreviousEmpty(const ReportInput& in) {
    return ReportInput::At(in.InstalledList, 0, installed::Description).Text() == kPreviousEmpty;
}

// One printed line of the table: the numbers as printed, so that the totals are their sums.
struct TableLine {
    enum Kind { Heading, Row, Blank } kind = Blank;
    std::string description, serial, weight, arm, moment, installMark, removeMark;
    int sign = 0;  // +1 installed, -1 removed, 0 neither
    double installX = kInstallMarkX, removeX = kRemoveMarkX;
};

// A number as the computation used it, with the decimals typed (those of its cells at least):
// an empty cell stays empty (it added nothing).
std::string Used(const Entry& e, std::string_view cellPattern) {
    return e.IsEmpty() ? std::string() : WithTypedDecimals(e, PatternDecimals(cellPattern));
}

// The fewest decimals (those of a C.G. at least) with which an arm printed beside weight gives,
// multiplied out, the moment printed beside them: the arm of a weighing is a quotient without end.
std::string ArmMatching(const Decimal& weight, const Decimal& moment, const UnitPatterns& p) {
    const std::string shown = moment.Formatted(p.moment);
    std::string arm;
    for (int decimals = PatternDecimals(p.cg); decimals <= 12; ++decimals) {
        arm = moment.DividedBy(weight, decimals).Text(decimals);
        if ((weight * Decimal::Read(arm)).Formatted(p.moment) == shown) break;
    }
    return arm;
}

// The previous values the computation started from: the weighing when there is one, else
// the previous-empty row built from Empty and C.G., else nothing. Each printed exactly, so
// that weight times arm gives the moment on the same line.
TableLine PreviousLine(const ReportInput& in) {
    const UnitPatterns& p = PatternsOf(Units(in));
    TableLine line;
    line.kind = TableLine::Row;
    line.sign = 1;
    line.description = "Previous Aircraft Empty";
    line.serial = in.Get(Field::Serial);
    line.installMark = line.removeMark = "n/a";
    line.installX = 10500;
    line.removeX = 11050;
    if (in.values.ScaleArm != 0) {
        // The weighing again, digit for digit from the typed readings.
        Decimal weight, moment;
        for (int n = 0; n < 5; ++n) {
            const Decimal net = ExactValue(ReportInput::At(in.ScaleRows, n, scale::Wgt)) -
                                ExactValue(ReportInput::At(in.ScaleRows, n, scale::Tar));
            const Decimal fluid = ExactValue(ReportInput::At(in.FluidRows, n, fluid::Wgt));
            weight = weight + net - fluid;
            moment = moment + net * ExactValue(ReportInput::At(in.ScaleRows, n, scale::Arm)) -
                     fluid * ExactValue(ReportInput::At(in.FluidRows, n, fluid::Arm));
        }
        line.weight = weight.Text(std::max(PatternDecimals(p.weight), weight.Decimals()));
        line.arm = ArmMatching(weight, moment, p);
        line.moment = moment.Formatted(p.moment);
    } else if (IsPreviousEmpty(in)) {
        const Entry& weight = ReportInput::At(in.InstalledList, 0, installed::Weight);
        const Entry& arm = ReportInput::At(in.InstalledList, 0, installed::Arm);
        line.weight = WithTypedDecimals(weight, PatternDecimals(p.weight));
        line.arm = WithTypedDecimals(arm, PatternDecimals(p.cg));
        line.moment = (ExactValue(weight) * ExactValue(arm)).Formatted(p.moment);
    } else {
        line.weight = FormatNumber(0, p.weight);
        line.arm = FormatNumber(0, p.cg);
        line.moment = FormatNumber(0, p.moment);
    }
    return line;
}

std::vector<TableLine> GroupLines(const ReportInput& in, const Group (&order)[2]) {
    const UnitPatterns& p = PatternsOf(Units(in));
    std::vector<TableLine> lines;
    for (Group group : order) {
        TableLine heading;
        heading.kind = TableLine::Heading;
        heading.description = group == Group::Removed ? "Removed" : "Installed";
        lines.push_back(heading);
        for (int r = 0; r < kChangeRows; ++r) {
            // The previous-empty row is the previous values line, never a change.
            if (!Marked(in, r, group) || (r == 0 && IsPreviousEmpty(in))) continue;
            auto entry = [&](int col) -> const Entry& { return ReportInput::At(in.InstalledList, r, col); };
            TableLine line;
            line.kind = TableLine::Row;
            line.sign = group == Group::Removed ? -1 : 1;
            line.description = entry(installed::Description).Text();
            if (static_cast<size_t>(r) < in.negligible.size() && in.negligible[static_cast<size_t>(r)])
                line.description += " (negligible)";
            line.serial = entry(installed::Serial).Text();
            line.weight = Used(entry(installed::Weight), p.weight);
            line.arm = Used(entry(installed::Arm), p.arm);
            // The moment the computation added: weight times arm, exactly.
            line.moment = (ExactValue(entry(installed::Weight)) * ExactValue(entry(installed::Arm)))
                              .Formatted(p.newMoment);
            line.installMark = entry(installed::Install).Text();
            line.removeMark = entry(installed::Remove).Text();
            lines.push_back(line);
        }
        lines.emplace_back();
    }
    return lines;
}

// What differs between the full and the compact table.
struct TableLayout {
    double rowSize, labelSize, headingSize, markSize;
    double headBand;                              // column headings band under the frame's top
    double headingY;                              // column headings, below the frame's top
    double installY, removeY, installX, removeX;  // the mark column headings
    std::array<double, 5> headingX;               // Description, Serial Number, Weight, Arm, Moment
    double previousY;                             // the previous values row, below the frame's top
    double firstY;                                // the first group line, below the frame's top
    double pitch;
    double totalsY;  // the totals rule on a sheet with room to spare
    double totalsBand;
};

void PrintHeadings(Page& page, const ReportInput& in, const TableLayout& l, double top) {
    page.SetFontBold(false);
    const PageFont font = page.Font();
    if (l.headingSize > 0) page.SetFontSize(l.headingSize);
    const UnitSystem u = Units(in);
    const std::string texts[] = {"Description", "Serial Number", Captioned("Weight", WeightUnit(u)),
                                 Captioned("Arm", ArmUnit(u)), Captioned("Moment", MomentUnit(u))};
    static constexpr double kStarts[] = {kRuleLeft, kSerialRule, kWeightRule, kArmRule, kMomentRule};
    static constexpr double kEnds[] = {kSerialRule, kWeightRule, kArmRule, kMomentRule, kInstallRule};
    for (size_t i = 0; i < 5; ++i) {
        // A heading with its unit starts early enough to end inside its column.
        const double x =
            std::max(kStarts[i] + 40, std::min(l.headingX[i], kEnds[i] - 40 - page.TextWidth(texts[i])));
        PrintFitted(page, x, top + l.headingY, texts[i], kEnds[i] - 40);
    }
    // Each mark heading within its own column.
    page.SetFontSize(l.markSize);
    PrintFitted(page, l.installX, top + l.installY, "Installed", kRemoveRule - 20);
    PrintFitted(page, l.removeX, top + l.removeY, "Removed", kRuleRight - 30);
    page.SetFont(font);
}

void PrintLine(Page& page, const TableLine& line, double y) {
    if (line.kind == TableLine::Blank) return;
    if (line.kind == TableLine::Heading) {
        page.SetFontBold(true);
        PrintFitted(page, kTextX, y, line.description, kSerialRule - kGap);
        page.SetFontBold(false);
        return;
    }
    PrintFitted(page, kTextX, y, line.description, kSerialRule - kGap);
    PrintFitted(page, kSerialX, y, line.serial, kWeightRule - kGap);
    PrintRightFitted(page, kWeightRule + kGap, kWeightRight, y, line.weight);
    PrintRightFitted(page, kArmRule + kGap, kArmRight, y, line.arm);
    PrintRightFitted(page, kMomentRule + kGap, kMomentRight, y, line.moment);
    PrintFitted(page, line.installX, y, line.installMark, kRemoveRule - 20);
    PrintFitted(page, line.removeX, y, line.removeMark, kRuleRight - 30);
}

void Frame(Page& page, double top, double headRule, double bottom, std::optional<double> totalsRule) {
    const double inner = totalsRule.value_or(bottom);
    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, top, kRuleRight, bottom);
    if (totalsRule) page.Line(kRuleLeft, *totalsRule, kRuleRight, *totalsRule);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, headRule, kRuleRight, headRule);
    for (double x : {kSerialRule, kRemoveRule})
        page.Line(x, headRule, x, inner);
    for (double x : {kWeightRule, kArmRule, kMomentRule, kInstallRule})
        page.Line(x, headRule, x, bottom);
}

// The table from its frame's top on this sheet: headings, previous values, the groups
// (continued on fresh sheets under repeated headings where a sheet is full) and the totals,
// each total the sum of its printed column. Returns the frame's bottom on the last sheet.
double PrintTable(SheetRun& run, const ReportInput& in, const TableLayout& l, double top,
                  const Group (&order)[2], double reserveBelow) {
    Page& page = run.page();
    const TableLine previous = PreviousLine(in);
    const std::vector<TableLine> lines = GroupLines(in, order);

    // The totals are the sums of the columns as printed.
    Decimal weight = Decimal::Read(previous.weight), moment = Decimal::Read(previous.moment);
    for (const TableLine& line : lines) {
        if (line.kind != TableLine::Row) continue;
        const Decimal w = Decimal::Read(line.weight), m = Decimal::Read(line.moment);
        weight = line.sign < 0 ? weight - w : weight + w;
        moment = line.sign < 0 ? moment - m : moment + m;
    }

    // The rule under the headings clears the feet of the tallest heading; the rows move down
    // with it.
    const PageFont inForce = page.Font();
    const double headingHeight =
        page.LineHeightIn({inForce.name, l.headingSize > 0 ? l.headingSize : inForce.size, false, false});
    const double markHeight = page.LineHeightIn({inForce.name, l.markSize, false, false});
    const double headBand = std::max({l.headBand, l.headingY + headingHeight + kRuleClearance,
                                      std::max(l.installY, l.removeY) + markHeight + kRuleClearance});
    const double shift = headBand - l.headBand;

    page.SetFontSize(l.rowSize);
    const double rowHeight = page.TextHeight("X");
    page.SetFontSize(l.labelSize);
    const double band = std::max(l.totalsBand, page.TextHeight("X") + kRuleClearance);
    const double pitch = l.pitch;
    // Lines of this sheet must end above room for the totals band and what follows it.
    auto limit = [&] { return run.Bottom() - band - reserveBelow - kRuleClearance; };

    PrintHeadings(page, in, l, top);
    page.SetFontSize(l.rowSize);
    PrintLine(page, previous, top + l.previousY + shift);
    double y = top + l.firstY + shift;
    for (const TableLine& line : lines) {
        if (y + rowHeight > limit()) {
            const double bottom = std::max(y - pitch + rowHeight + kRuleClearance, top + l.firstY + shift);
            Frame(page, top, top + headBand, bottom, std::nullopt);
            const PageFont font = page.Font();
            run.Next();
            page.SetFont(font);
            top = run.ContinuationTop();
            PrintHeadings(page, in, l, top);
            page.SetFontSize(l.rowSize);
            y = top + l.previousY + shift;
        }
        PrintLine(page, line, y);
        y += pitch;
    }

    const double totalsY = std::max(l.totalsY, y + rowHeight - pitch + kRuleClearance);
    const double bottom = totalsY + band;
    page.SetFontSize(l.labelSize);
    PrintFitted(page, 1200, totalsY, "New Aircraft Values", kSerialRule - kGap);
    page.SetFontSize(l.rowSize);
    const UnitPatterns& p = PatternsOf(Units(in));
    PrintRightFitted(page, kWeightRule + kGap, kWeightRight, totalsY, weight.Formatted(p.newWeight));
    PrintRightFitted(page, kArmRule + kGap, kArmRight, totalsY, FormatNumber(in.values.NewArm, p.newArm));
    PrintRightFitted(page, kMomentRule + kGap, kMomentRight, totalsY, moment.Formatted(p.newMoment));
    Frame(page, top, top + headBand, bottom, totalsY);
    return bottom;
}

// The compact report's company line(s) and title; returns where the aircraft header starts.
double PrintCompactTop(Page& page, const ReportInput& in) {
    page.SetUnitsTwips();
    const CompanyRow noCompany;
    const CompanyRow& company = in.company ? *in.company : noCompany;
    const double right = std::min(page.PrintableWidth(), kRuleRight);
    double y = 100;
    if (in.options.company) {
        page.SetFont({"Arial", 8, true, false});
        y = 50;
        page.SetCurrentX(100);
        page.SetCurrentY(y);
        // The fields on one line, each moved to a line of its own where it would not fit.
        auto field = [&](const Nullable& text, std::string tail) {
            if (!text) return;
            const std::string shown = *text + tail;
            if (page.CurrentX() > 100 && page.CurrentX() + page.TextWidth(*text) > right) {
                y += page.TextHeight("X");
                page.SetCurrentX(100);
            }
            page.SetCurrentX(PrintFitted(page, page.CurrentX(), y, shown, right));
        };
        field(company.CompName, "  ");
        page.SetFontBold(false);
        field(company.CompAddress, "  ");
        field(company.CompCSZ, "  ");
        field(company.CompPhone, std::string(14, ' '));
    } else {
        page.SetCurrentY(100);
    }
    page.SetFontBold(true);
    if (company.FormTitle) {
        // Centred, unless that would print it over the company details: then after them,
        // or on a line of its own where it would run off the page.
        const double afterCompany = in.options.company ? page.CurrentX() : 0;
        const double width = page.TextWidth(*company.FormTitle);
        const double centred = (page.PrintableWidth() - width) / 2;
        double x = std::max(centred, afterCompany);
        if (x + width > right && afterCompany > 100) {
            y += page.TextHeight("X");
            x = std::max(centred, 100.0);
        }
        PrintFitted(page, x, y, *company.FormTitle, right);
    }
    page.SetCurrentY(y + page.TextHeight("X"));
    page.SetFontBold(false);
    page.SetFontSize(8);
    return page.CurrentY();
}

void FullBody(const ReportInput& in, SheetRun& run) {
    Page& page = run.page();
    const double pageTop = PrintCommonTop(page, in, TitleField::FormTitle);
    TableLayout l{};
    l.rowSize = 11;
    l.labelSize = 12;
    l.headingSize = 0;  // the font in force
    l.markSize = 8;
    l.headBand = 300;
    l.headingY = 30;
    l.installX = 10330;
    l.installY = 10;
    l.removeX = 10930;
    l.removeY = 90;
    l.headingX = {1200, 4200, 6200, 7800, 9200};
    l.previousY = 370;
    l.firstY = 770;
    l.pitch = 200;
    l.totalsY = 12700;
    l.totalsBand = 200;
    page.SetFontSize(11);
    const double lineHeight8 = page.LineHeightIn({page.Font().name, 8, false, false});
    const double reserve = in.options.mechanic ? 2 * kGap + lineHeight8 : 0;
    const double bottom = PrintTable(run, in, l, pageTop + 1000, {Group::Removed, Group::Installed}, reserve);
    // Where the new empty C.G. stands, under the new values it follows from.
    const int tableSheet = run.Sheet();
    const double checkEnd = PrintEmptyCgLines(run, in, bottom + kGap, 10);
    const double below = run.Sheet() == tableSheet ? std::max(bottom, checkEnd) : bottom;
    PrintSignatureLine(page, in, std::max(13500.0, below + 2 * kGap));
    PrintNotes(run, in, run.Sheet() == tableSheet ? std::max(13000.0, below + kGap) : checkEnd + kGap, 8);
    run.Finish();
}

void CompactBody(const ReportInput& in, SheetRun& run) {
    Page& page = run.page();
    double pageTop = PrintCompactTop(page, in);
    const double right = std::min(page.PrintableWidth(), kRuleRight);

    page.SetCurrentX(100);
    const std::string line1 = "Reg. Number: " + Trimmed(in.Get(Field::Tail)) +
                              " /Make/Model: " + Trimmed(in.Get(Field::Make)) + " " +
                              Trimmed(in.Get(Field::Model)) + " /Year: " + Trimmed(in.Get(Field::Year)) +
                              " /Serial: " + Trimmed(in.Get(Field::Serial));
    const std::string line2 = "Date: " + Trimmed(in.Get(Field::Date)) + " /" + in.tachCaption + ": " +
                              Trimmed(in.Get(Field::Tach)) + " /Max. Weight: " + MaxWeightText(in) +
                              " /Work Order: " + Trimmed(in.Get(Field::Work));
    const double step = page.TextHeight("X");
    PrintFitted(page, 100, pageTop, line1, right);
    PrintFitted(page, 100, pageTop + step, line2, right);
    pageTop += 2 * step + kRuleClearance;

    page.SetLineWidth(kHeavyPen);
    page.Line(kRuleLeft, pageTop, 11400, pageTop);
    page.Line(4100, pageTop, 4100, pageTop + 550);
    page.SetLineWidth(kThinPen);
    const std::array<double, 3> ys = {pageTop, pageTop + 200, pageTop + 400};
    PrintNewValues(page, in, ys);
    double rangeEnd = 0;
    if (in.options.ranges) rangeEnd = PrintRanges(page, in, ys)[0];
    double blockEnd = page.CurrentY();
    if (in.options.mechanic) {
        page.SetFontSize(6);
        const std::string name = in.Get(Field::By) + ",  " + in.Get(Field::Cert);
        // Beside the landing range, or on a line of its own under the blocks where that
        // range reaches too far.
        if (rangeEnd + kGap <= 8500 && 8500 + page.TextWidth(name) <= right) {
            PrintAt(page, 8500, pageTop, name);
        } else {
            PrintRightFitted(page, 4100 + kGap, right, blockEnd, name);
            blockEnd += page.TextHeight("X");
        }
        page.SetFontSize(8);
    }

    pageTop = blockEnd + kRuleClearance;
    TableLayout l{};
    l.rowSize = 8;
    l.labelSize = 8;
    l.headingSize = 8;
    l.markSize = 6;
    l.headBand = 200;
    l.headingY = 0;
    l.installX = 10350;
    l.installY = 0;
    l.removeX = 10915;
    l.removeY = 60;  // clear of the rule under the headings
    l.headingX = {1200, 4350, 6300, 7900, 9300};
    l.previousY = 200;
    l.firstY = 400;
    l.pitch = 150;
    l.totalsY = page.PrintableHeight() / 2 - 400;
    l.totalsBand = 200;
    page.SetFontSize(8);
    const double bottom = PrintTable(run, in, l, pageTop, {Group::Installed, Group::Removed}, 0);
    // Where the new empty C.G. stands, then the notes, under the frame, never inside it.
    double checkEnd = PrintEmptyCgLines(run, in, bottom + kGap, 8);
    if (!in.signedLines.empty()) {
        PrintSignedElectronically(page, in, std::max(checkEnd, bottom) + kGap);
        checkEnd = std::max(checkEnd, bottom) + kGap + 400;
    }
    PrintNotes(run, in, checkEnd > bottom + kGap ? checkEnd + kGap : std::max(5650.0, bottom + 100), 6);
    run.Finish();
}

}  // namespace

void PrintFullChangeReport(const ReportInput& in, Page& page) {
    PrintInSheets(in, page, FullBody);
}

void PrintCompactChangeReport(const ReportInput& in, Page& page) {
    PrintInSheets(in, page, CompactBody);
}

}  // namespace wb
