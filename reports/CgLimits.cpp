#include "reports/CgLimits.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "reports/PageBlocks.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Mac.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

// Rows of the chart, from its top.
constexpr double kPreviousRow = 170;
constexpr double kAxis = 500;
constexpr double kLimitLabels = 265;  // below the axis
constexpr double kHeight = 930;
constexpr double kSideRoom = 400;  // left and right of the axis, for the labels
constexpr double kLabelGap = 60;   // between a marker and its label
constexpr double kArrow = 100;     // arrowhead length
constexpr double kBar = 110;       // a limit bar above and below the axis
constexpr double kBand = 45;       // the range band above and below the axis
constexpr double kTick = 80;
constexpr double kTickLabels = 120;

constexpr double kTextLeft = 100;
constexpr double kChartWidth = 7000;

// The arms shown along the axis: the range with a quarter of its width either side, widened
// to take in the C.G. marks, but never so far that the range itself shrinks to a sliver; a
// mark beyond stands past a break in the axis, with its value beside it.
struct Scale {
    double low = 0, high = 1, left = 0, right = 1;
    double X(double v) const {
        if (v < low) return left - kSideRoom / 2;
        if (v > high) return right + kSideRoom / 2;
        return left + (v - low) / (high - low) * (right - left);
    }
};

// Two short slants across the axis where it is broken, at x.
void DrawBreak(Page& page, double x, double axisY) {
    for (double dx : {-25.0, 25.0})
        page.Line(x + dx - 25, axisY + 60, x + dx + 25, axisY - 60);
}

Scale MakeScale(const EmptyCgLimits& limits, double left, double width) {
    const CgRange& r = limits.range;
    double span = r.aft - r.forward;
    if (span <= 0) span = std::max(1.0, std::fabs(r.forward) * 0.02);
    Scale s;
    s.low = r.forward - span / 4;
    s.high = r.aft + span / 4;
    for (const std::optional<double>& mark : {limits.previousCg, limits.newCg}) {
        if (!mark) continue;
        if (*mark < s.low) s.low = std::max(*mark - span / 10, r.forward - 3 * span);
        if (*mark > s.high) s.high = std::min(*mark + span / 10, r.aft + 3 * span);
    }
    s.left = left + kSideRoom;
    s.right = left + width - kSideRoom;
    return s;
}

// A step of 1, 2 or 5 times a power of ten giving about five ticks.
double TickStep(double span) {
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / power;
    return (n < 1.5 ? 1 : n < 3 ? 2 : n < 7 ? 5 : 10) * power;
}

void DrawTicks(Page& page, const Scale& s, double axisY) {
    const double step = TickStep(s.high - s.low);
    if (!(step > 0) || !std::isfinite(step)) return;
    const std::string_view pattern = step >= 1 ? "#####0" : step >= 0.1 ? "#####0.0" : "#####0.00";
    page.SetFontSize(6);
    page.SetFontBold(false);
    const double first = std::ceil(s.low / step);
    for (int k = 0; k <= 20; ++k) {
        const double v = (first + k) * step;
        if (v > s.high + step / 1000) break;
        const double x = s.X(v);
        page.Line(x, axisY, x, axisY + kTick);
        const std::string label = FormatNumber(v, pattern);
        PrintAt(page, x - page.TextWidth(label) / 2, axisY + kTickLabels, label);
    }
}

// A mark: a line from its label's row down to the axis with an arrowhead, and its label
// beside it, on the side given unless the chart's edge is nearer than the label is wide.
void DrawMark(Page& page, const Scale& s, double v, double rowY, double axisY, const std::string& label,
              bool labelLeft, int pen) {
    const double x = s.X(v);
    page.SetLineWidth(pen);
    page.Line(x, rowY, x, axisY);
    page.Line(x - kArrow / 2, axisY - kArrow, x, axisY);
    page.Line(x + kArrow / 2, axisY - kArrow, x, axisY);
    const double w = page.TextWidth(label);
    const double leftX = x - kLabelGap - w, rightX = x + kLabelGap;
    if (labelLeft && leftX < s.left - kSideRoom) labelLeft = false;
    if (!labelLeft && rightX + w > s.right + kSideRoom) labelLeft = true;
    PrintAt(page, labelLeft ? leftX : rightX, rowY, label);
}

}  // namespace

double EmptyCgChartHeight() {
    return kHeight;
}

double DrawEmptyCgChart(Page& page, const EmptyCgLimits& limits, double left, double top, double width) {
    const Scale s = MakeScale(limits, left, width);
    if (!std::isfinite(s.high - s.low) || !(s.high > s.low)) return 0;
    const PageFont font = page.Font();
    const int pen = page.LineWidth();
    page.SetFontName("Arial");
    const double axisY = top + kAxis;
    const double lo = s.X(limits.range.forward), hi = s.X(limits.range.aft);

    page.SetLineWidth(kThinPen);
    page.Line(s.left, axisY, s.right, axisY);
    DrawTicks(page, s, axisY);
    page.SetLineWidth(kThinPen);
    for (const std::optional<double>& mark : {limits.previousCg, limits.newCg}) {
        if (mark && *mark < s.low) {
            page.Line(s.left - kSideRoom / 2, axisY, s.left, axisY);
            DrawBreak(page, s.left - kSideRoom / 4, axisY);
        }
        if (mark && *mark > s.high) {
            page.Line(s.right, axisY, s.right + kSideRoom / 2, axisY);
            DrawBreak(page, s.right + kSideRoom / 4, axisY);
        }
    }
    // The range as a solid band: the page draws lines, not fills.
    page.SetLineWidth(kHeavyPen);
    for (double y = axisY - kBand; y <= axisY + kBand; y += 10)
        page.Line(lo, y, hi, y);
    page.Line(lo, axisY - kBar, lo, axisY + kBar);
    page.Line(hi, axisY - kBar, hi, axisY + kBar);

    // The limits as typed, under their bars; pushed apart where the range is narrow.
    page.SetFontSize(7);
    page.SetFontBold(true);
    const std::string& loText = limits.range.forwardText;
    const std::string& hiText = limits.range.aftText;
    const double loW = page.TextWidth(loText), hiW = page.TextWidth(hiText);
    double loX = lo - loW / 2, hiX = hi - hiW / 2;
    if (loX + loW + kLabelGap > hiX) {
        const double middle = (lo + hi) / 2;
        loX = middle - kLabelGap / 2 - loW;
        hiX = middle + kLabelGap / 2;
    }
    PrintAt(page, loX, axisY + kLimitLabels, loText);
    PrintAt(page, hiX, axisY + kLimitLabels, hiText);

    // The new C.G. on the top row, heavy; the previous one below it, its label on the side
    // away from the new mark so that the new mark's line never crosses it.
    page.SetFontBold(false);
    const std::string_view unit = ArmUnit(limits.units);
    if (limits.newCg)
        DrawMark(page, s, *limits.newCg, top, axisY,
                 "New " + WithUnit(SignedCg(*limits.newCg, limits.units), unit), false, kHeavyPen);
    if (limits.previousCg) {
        const bool leftOfNew = limits.newCg && *limits.newCg >= *limits.previousCg;
        DrawMark(page, s, *limits.previousCg, top + kPreviousRow, axisY,
                 "Previous " + WithUnit(SignedCg(*limits.previousCg, limits.units), unit), leftOfNew,
                 kThinPen);
    }
    page.SetLineWidth(pen);
    page.SetFont(font);
    return kHeight;
}

namespace {

std::optional<EmptyCgLimits> Evaluate(const ReportInput& in) {
    return EvaluateEmptyCg(in.Get(Field::Range3), in.Get(Field::CG), in.values.NewWeight, in.values.NewArm,
                           in.Get(Field::BallastArm), Units(in));
}

// "New A/C Empty C.G. +680.27 in".
std::string NewCgText(const ReportInput& in, double cg) {
    return "New A/C Empty C.G. " + WithUnit(SignedCg(cg, Units(in)), ArmUnit(Units(in)));
}

std::vector<std::string> LinesOf(const ReportInput& in, const EmptyCgLimits& limits) {
    std::vector<std::string> lines;
    if (limits.newCg) lines.push_back(NewCgText(in, *limits.newCg) + ": " + IndicationText(limits));
    if (limits.ballast) lines.push_back(BallastText(limits));
    return lines;
}

}  // namespace

std::vector<std::string> EmptyCgLines(const ReportInput& in) {
    const std::optional<EmptyCgLimits> limits = Evaluate(in);
    return limits ? LinesOf(in, *limits) : std::vector<std::string>{};
}

std::string MacLine(const ReportInput& in) {
    if (in.values.NewWeight == 0) return {};
    const std::string mac = CgPercentMac(in.values.NewArm, in.Get(Field::Lemac), in.Get(Field::Mac));
    if (mac.empty()) return {};
    const UnitSystem u = Units(in);
    const std::string_view unit = ArmUnit(u);
    return NewCgText(in, LeadingNumber(in.Get(Field::Text24))) + " = " + mac + " % MAC, with LEMAC " +
           WithUnit(SignedCg(LeadingNumber(in.Get(Field::Lemac)), u), unit) + " and MAC " +
           WithUnit(FormatNumber(LeadingNumber(in.Get(Field::Mac)), PatternsOf(u).cg), unit);
}

double PrintEmptyCgLines(SheetRun& run, const ReportInput& in, double top, double size) {
    const std::vector<std::string> lines = EmptyCgLines(in);
    if (lines.empty()) return top;
    Page& page = run.page();
    const PageFont font = page.Font();
    page.SetFont(PageFont{"Arial", size, true, false});
    if (top + static_cast<double>(lines.size()) * page.TextHeight("X") > run.Bottom()) {
        run.Next();
        top = run.ContinuationTop();
    }
    double y = top;
    for (size_t i = 0; i < lines.size(); ++i) {
        page.SetFontBold(i == 0);
        PrintFitted(page, kTextLeft, y, lines[i], kRuleRight);
        y += page.TextHeight("X");
    }
    page.SetFont(font);
    return y;
}

double PrintEmptyCgLimits(SheetRun& run, const ReportInput& in, double top, double bottom) {
    Page& page = run.page();
    const std::optional<EmptyCgLimits> limits = Evaluate(in);
    // The C.G. on the chord first, then where it stands against the range; the first line of
    // each in bold.
    struct Line {
        std::string text;
        bool bold;
    };
    std::vector<Line> lines;
    if (const std::string mac = MacLine(in); !mac.empty()) lines.push_back({mac, true});
    if (limits) {
        const std::vector<std::string> range = LinesOf(in, *limits);
        for (size_t i = 0; i < range.size(); ++i)
            lines.push_back({range[i], i == 0});
    }
    if (lines.empty() && !limits) return top;
    const PageFont font = page.Font();
    page.SetFont(PageFont{"Arial", 10, true, false});
    const double height = static_cast<double>(lines.size()) * page.TextHeight("X") + (limits ? kHeight : 0);
    if (top + height > bottom) {
        run.Next();
        top = run.ContinuationTop();
    }
    page.SetCurrentY(top);
    for (const Line& line : lines) {
        page.SetFontBold(line.bold);
        page.SetCurrentX(kTextLeft);
        page.Print(line.text, Ending::NewLine);
    }
    const double chartTop = page.CurrentY();
    if (limits) DrawEmptyCgChart(page, *limits, kTextLeft, chartTop, kChartWidth);
    page.SetFont(font);
    return chartTop + (limits ? kHeight : 0);
}

}  // namespace wb
