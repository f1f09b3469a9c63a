#include "reports/LoadingCheck.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "reports/PageBlocks.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"

namespace wb {
namespace {

// ---- the chart ----------------------------------------------------------------------------

constexpr double kTick = 60;        // tick marks outside the frame
constexpr double kTickGap = 100;    // between a tick mark's frame side and its label
constexpr double kMarkSize = 70;    // half the width of a loading's mark
constexpr double kSample = 300;     // a legend's line sample
constexpr double kLegendGap = 80;   // between a sample and its words
constexpr double kEntryGap = 300;   // between legend entries
const PageFont kTickFont{"Arial", 7, false, false};
const PageFont kChartFont{"Arial", 8, false, false};

enum class Shape { Square, Diamond, Triangle, Cross, Plus };

struct Mark {
    Shape shape;
    std::string label;
    double weight = 0, cg = 0;
};

std::vector<Mark> MarksOf(const LoadingEvaluation& e) {
    std::vector<Mark> marks;
    if (e.forward) marks.push_back({Shape::Square, "Forward extreme", e.forward->weight, e.forward->cgValue});
    if (e.aft) marks.push_back({Shape::Diamond, "Rearward extreme", e.aft->weight, e.aft->cgValue});
    constexpr Shape kCases[] = {Shape::Triangle, Shape::Cross, Shape::Plus};
    constexpr const char* kNames[] = {"(a) full fuel", "(b) most passengers", "(c) most baggage"};
    for (size_t i = 0; i < e.schedule.size() && i < 3; ++i)
        marks.push_back({kCases[i], kNames[i], e.schedule[i].weightValue, e.schedule[i].cgValue});
    return marks;
}

void DrawShape(Page& page, Shape shape, double x, double y) {
    const double r = kMarkSize;
    switch (shape) {
        case Shape::Square:
            page.Rectangle(x - r, y - r, x + r, y + r);
            break;
        case Shape::Diamond:
            page.Line(x - r, y, x, y - r);
            page.Line(x, y - r, x + r, y);
            page.Line(x + r, y, x, y + r);
            page.Line(x, y + r, x - r, y);
            break;
        case Shape::Triangle:
            page.Line(x - r, y + r, x, y - r);
            page.Line(x, y - r, x + r, y + r);
            page.Line(x + r, y + r, x - r, y + r);
            break;
        case Shape::Cross:
            page.Line(x - r, y - r, x + r, y + r);
            page.Line(x - r, y + r, x + r, y - r);
            break;
        case Shape::Plus:
            page.Line(x - r, y, x + r, y);
            page.Line(x, y - r, x, y + r);
            break;
    }
}

// A line drawn as dashes of `dash` with gaps of `gap`.
void Dashed(Page& page, double x1, double y1, double x2, double y2, double dash, double gap) {
    const double length = std::hypot(x2 - x1, y2 - y1);
    if (!(length > 0)) return;
    const double dx = (x2 - x1) / length, dy = (y2 - y1) / length;
    for (double at = 0; at < length; at += dash + gap) {
        const double end = std::min(length, at + dash);
        page.Line(x1 + dx * at, y1 + dy * at, x1 + dx * end, y1 + dy * end);
    }
}

// A step of 1, 2 or 5 times a power of ten giving about five ticks.
double TickStep(double span) {
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / power;
    return (n < 1.5 ? 1 : n < 3 ? 2 : n < 7 ? 5 : 10) * power;
}

std::string_view TickPattern(double step) {
    return step >= 1 ? "#####0" : step >= 0.1 ? "#####0.0" : "#####0.00";
}

struct Range {
    double low = 0, high = 0;
    bool any = false;
    void Take(double v) {
        if (!std::isfinite(v)) return;
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
    // Widened by a twentieth either side, and to a sensible width when it has none.
    void Pad() {
        double span = high - low;
        if (!(span > 0)) span = std::max(1.0, std::fabs(high) * 0.1);
        low -= span / 20;
        high += span / 20;
    }
};

std::vector<double> Ticks(const Range& r, double& step) {
    step = TickStep(r.high - r.low);
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(step)) return ticks;
    for (double k = std::ceil(r.low / step); k * step <= r.high + step / 1000 && ticks.size() < 30; k += 1)
        ticks.push_back(k * step);
    return ticks;
}

struct LegendEntry {
    enum Sample { Heavy, Dashes, Dots, Mark } sample;
    Shape shape = Shape::Square;
    std::string text;
};

}  // namespace

UnitSystem LoadingUnits(const ReportInput& in) {
    return Units(in);
}

LoadingEvaluation EvaluateLoading(const ReportInput& in) {
    return EvaluateLoading(in.loading, in.values.NewWeight, in.values.NewArm, in.Get(Field::MaxWt),
                           LoadingUnits(in));
}

void DrawLoadingChart(Page& page, const LoadingEvaluation& e, double left, double top, double width,
                      double height) {
    const LoadingData& d = e.read.data;
    if (e.read.Refused() || !d.HasEnvelope()) return;
    const PageFont font = page.Font();
    const int pen = page.LineWidth();
    const std::vector<Mark> marks = MarksOf(e);

    Range arms, weights;
    for (const auto* outline : {&d.normal, &d.utility})
        for (const EnvelopePoint& p : *outline) {
            arms.Take(p.arm);
            weights.Take(p.weight);
        }
    for (const Mark& m : marks) {
        arms.Take(m.cg);
        weights.Take(m.weight);
    }
    if (e.maxWeight) weights.Take(*e.maxWeight);
    arms.Pad();
    weights.Pad();
    double armStep = 0, weightStep = 0;
    const std::vector<double> armTicks = Ticks(arms, armStep), weightTicks = Ticks(weights, weightStep);

    // The legend, laid out first: its rows take the foot of the box.
    std::vector<LegendEntry> legend = {{LegendEntry::Heavy, Shape::Square, "Normal category"}};
    if (!d.utility.empty()) legend.push_back({LegendEntry::Dashes, Shape::Square, "Utility category"});
    if (e.maxWeight) legend.push_back({LegendEntry::Dots, Shape::Square, "Maximum weight"});
    for (const Mark& m : marks)
        legend.push_back({LegendEntry::Mark, m.shape, m.label});
    page.SetFont(kChartFont);
    const double line = page.TextHeight("X");
    const double right = left + width;
    std::vector<std::pair<double, int>> placed;  // x and row of each entry
    int rows = 1;
    double x = left;
    for (const LegendEntry& entry : legend) {
        const double w = kSample + kLegendGap + page.TextWidth(entry.text);
        if (x > left && x + w > right) {
            ++rows;
            x = left;
        }
        placed.emplace_back(x, rows - 1);
        x += w + kEntryGap;
    }

    page.SetFont(kTickFont);
    const double tickLine = page.TextHeight("X");
    double labelWidth = 0;
    for (double v : weightTicks)
        labelWidth = std::max(labelWidth, page.TextWidth(FormatNumber(v, TickPattern(weightStep))));
    page.SetFont(kChartFont);
    const std::string weightTitle = "Weight (" + std::string(WeightUnit(e.units)) + ")";
    const std::string armTitle = "C.G. (" + std::string(ArmUnit(e.units)) + " from the datum)";

    const double frameLeft = left + std::max(labelWidth + kTickGap + kTick, page.TextWidth(weightTitle) / 2);
    const double frameRight = right - 100;
    const double frameTop = top + line + 80;
    const double frameBottom =
        top + height - (kTickGap + tickLine + 60 + line + 100 + static_cast<double>(rows) * line);
    if (frameBottom - frameTop < 600 || frameRight - frameLeft < 1500) {
        page.SetFont(font);
        return;
    }
    const auto X = [&](double arm) { return frameLeft + (arm - arms.low) / (arms.high - arms.low) * (frameRight - frameLeft); };
    const auto Y = [&](double w) {
        return frameBottom - (w - weights.low) / (weights.high - weights.low) * (frameBottom - frameTop);
    };

    // Frame, ticks and their labels, the axis titles.
    page.SetLineWidth(kThinPen);
    page.Rectangle(frameLeft, frameTop, frameRight, frameBottom);
    page.SetFont(kTickFont);
    for (double v : armTicks) {
        const double tx = X(v);
        page.Line(tx, frameBottom, tx, frameBottom + kTick);
        const std::string label = FormatNumber(v, TickPattern(armStep));
        PrintAt(page, std::clamp(tx - page.TextWidth(label) / 2, left, right - page.TextWidth(label)),
                frameBottom + kTickGap, label);
    }
    for (double v : weightTicks) {
        const double ty = Y(v);
        page.Line(frameLeft - kTick, ty, frameLeft, ty);
        const std::string label = FormatNumber(v, TickPattern(weightStep));
        PrintAt(page, frameLeft - kTick - kTickGap / 2 - page.TextWidth(label), ty - tickLine / 2, label);
    }
    page.SetFont(kChartFont);
    PrintAt(page, std::max(left, frameLeft - page.TextWidth(weightTitle) / 2), top, weightTitle);
    const double armTitleY = frameBottom + kTickGap + tickLine + 60;
    PrintAt(page, (frameLeft + frameRight - page.TextWidth(armTitle)) / 2, armTitleY, armTitle);

    // The envelopes, the maximum weight and the loadings.
    const auto outline = [&](const std::vector<EnvelopePoint>& pts, bool dashed) {
        for (size_t i = 0; i < pts.size(); ++i) {
            const EnvelopePoint& p = pts[i];
            const EnvelopePoint& q = pts[(i + 1) % pts.size()];
            if (dashed)
                Dashed(page, X(p.arm), Y(p.weight), X(q.arm), Y(q.weight), 120, 80);
            else
                page.Line(X(p.arm), Y(p.weight), X(q.arm), Y(q.weight));
        }
    };
    page.SetLineWidth(kHeavyPen);
    outline(d.normal, false);
    page.SetLineWidth(kThinPen);
    outline(d.utility, true);
    if (e.maxWeight) Dashed(page, frameLeft, Y(*e.maxWeight), frameRight, Y(*e.maxWeight), 30, 60);
    page.SetLineWidth(kHeavyPen);
    for (const Mark& m : marks)
        DrawShape(page, m.shape, X(m.cg), Y(m.weight));

    // The legend under the arm's title.
    const double legendTop = armTitleY + line + 100;
    for (size_t i = 0; i < legend.size(); ++i) {
        const LegendEntry& entry = legend[i];
        const double ex = placed[i].first, ey = legendTop + placed[i].second * line;
        const double mid = ey + line / 2;
        switch (entry.sample) {
            case LegendEntry::Heavy:
                page.SetLineWidth(kHeavyPen);
                page.Line(ex, mid, ex + kSample, mid);
                break;
            case LegendEntry::Dashes:
                page.SetLineWidth(kThinPen);
                Dashed(page, ex, mid, ex + kSample, mid, 120, 80);
                break;
            case LegendEntry::Dots:
                page.SetLineWidth(kThinPen);
                Dashed(page, ex, mid, ex + kSample, mid, 30, 60);
                break;
            case LegendEntry::Mark:
                page.SetLineWidth(kHeavyPen);
                DrawShape(page, entry.shape, ex + kSample / 2, mid);
                break;
        }
        PrintAt(page, ex + kSample + kLegendGap, ey, entry.text);
    }
    page.SetLineWidth(pen);
    page.SetFont(font);
}

// ---- the printed sheet -------------------------------------------------------------------

namespace {

constexpr double kLeftEdge = 100, kRightEdge = 11420;
constexpr double kTableWidth = 5600, kTableGap = 120;
constexpr double kCellGap = 60;
const PageFont kTableFont{"Arial", 9, false, false};
const PageFont kHeadingFont{"Arial", 10, true, false};
const PageFont kNoteFont{"Arial", 8, false, false};

// Lines of text from (kLeftEdge, y) in a font, each fitted to the width; returns the y below.
double PrintLines(Page& page, double y, const std::vector<std::string>& lines, const PageFont& font) {
    for (const std::string& line : lines) {
        page.SetFont(font);
        PrintFitted(page, kLeftEdge, y, line, kRightEdge);
        y += page.LineHeightIn(font);
    }
    return y;
}

// A verdict's words a line each: "OUTSIDE: ..." first, each further fault under it.
std::vector<std::string> ResultLines(const Verdict& v) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (true) {
        const size_t at = v.result.find("; ", from);
        lines.push_back((from == 0 ? "" : "and ") + v.result.substr(from, at == std::string::npos ? at : at - from));
        if (at == std::string::npos) break;
        from = at + 2;
    }
    return lines;
}

// The height a table takes in print.
double TableHeight(const Page& page, const LoadingTable& t) {
    const double line = page.LineHeightIn(kTableFont), note = page.LineHeightIn(kNoteFont);
    double h = page.LineHeightIn(kHeadingFont) + 2 * kRuleClearance + line + 2 * kRuleClearance +
               static_cast<double>(t.lines.size() + 2) * line + kRuleClearance +
               static_cast<double>(ResultLines(t.normal).size()) * line + note;
    if (t.utility) h += note;
    if (t.landing) h += note;
    return h;
}

// One extreme condition's table from (left, top), kTableWidth wide: item, weight, arm, moment,
// the totals and the C.G., then what they come to against the limits.
void PrintTable(Page& page, const LoadingTable& t, UnitSystem u, double left, double top) {
    // Column rules; each figure ends kCellGap short of the rule to its right.
    const double itemRule = left + 2550, weightRule = left + 3400, armRule = left + 4250,
                 right = left + kTableWidth;
    const double line = page.LineHeightIn(kTableFont);
    const auto figures = [&](double y, const std::string& weight, const std::string& arm,
                             const std::string& moment) {
        if (!weight.empty()) PrintRightFitted(page, itemRule + kCellGap, weightRule - kCellGap, y, weight);
        if (!arm.empty()) PrintRightFitted(page, weightRule + kCellGap, armRule - kCellGap, y, arm);
        if (!moment.empty()) PrintRightFitted(page, armRule + kCellGap, right - kCellGap, y, moment);
    };
    page.SetFont(kHeadingFont);
    PrintFitted(page, left, top, t.title, right);
    double y = top + page.LineHeightIn(kHeadingFont) + kRuleClearance;
    const double boxTop = y;
    page.SetFont(kTableFont);
    y += kRuleClearance;
    PrintFitted(page, left + kCellGap, y, "Item", itemRule - kCellGap);
    figures(y, "Weight (" + std::string(WeightUnit(u)) + ")", "Arm (" + std::string(ArmUnit(u)) + ")",
            "Moment (" + std::string(MomentUnit(u)) + ")");
    y += line + kRuleClearance;
    const double headRule = y;
    y += kRuleClearance;
    for (const LoadingLine& l : t.lines) {
        PrintFitted(page, left + kCellGap, y, l.item, itemRule - kCellGap);
        figures(y, l.weight, l.arm, l.moment);
        y += line;
    }
    y += kRuleClearance;
    const double totalRule = y;
    y += kRuleClearance;
    page.SetFont({"Arial", 9, true, false});
    PrintFitted(page, left + kCellGap, y, "Total", itemRule - kCellGap);
    figures(y, t.totalWeight, {}, t.totalMoment);
    y += line;
    PrintFitted(page, left + kCellGap, y, "C.G. (moment / weight)", itemRule - kCellGap);
    figures(y, {}, t.cg, {});
    y += line + kRuleClearance;
    page.SetFont(kTableFont);
    page.SetLineWidth(kThinPen);
    page.Rectangle(left, boxTop, right, y);
    page.Line(left, headRule, right, headRule);
    page.Line(left, totalRule, right, totalRule);
    for (double x : {itemRule, weightRule, armRule})
        page.Line(x, boxTop, x, y);

    y += kRuleClearance;
    page.SetFont(kNoteFont);
    PrintFitted(page, left, y, t.normal.limits, right);
    y += page.LineHeightIn(kNoteFont);
    page.SetFont({"Arial", 9, true, false});
    for (const std::string& result : ResultLines(t.normal)) {
        PrintFitted(page, left, y, result, right);
        y += line;
    }
    if (t.utility) {
        page.SetFont(kNoteFont);
        PrintFitted(page, left, y,
                    "Utility category: " + t.utility->result + " (" +
                        t.utility->limits.substr(t.utility->limits.find(':') + 2) + ")",
                    right);
        y += page.LineHeightIn(kNoteFont);
    }
    if (t.landing) {
        page.SetFont(kNoteFont);
        PrintFitted(page, left, y, *t.landing, right);
    }
}

// The schedule's table from y across the sheet; returns the y below it.
double PrintSchedule(Page& page, const std::vector<ScheduleCase>& cases, double y) {
    struct Column {
        const char* heading;
        double left, right;
        bool rightAligned;
    };
    const Column columns[] = {{"Case", kLeftEdge, 2550, false},   {"Fuel", 2550, 4050, false},
                              {"Passengers", 4050, 7350, false},   {"Baggage", 7350, 8350, true},
                              {"Weight", 8350, 9450, true},        {"C.G.", 9450, 10250, true},
                              {"Result", 10250, kRightEdge, false}};
    const double line = page.LineHeightIn(kTableFont);
    const double top = y;
    page.SetFont({"Arial", 9, true, false});
    y += kRuleClearance;
    for (const Column& c : columns) {
        if (c.rightAligned)
            PrintRightFitted(page, c.left + kCellGap, c.right - kCellGap, y, c.heading);
        else
            PrintFitted(page, c.left + kCellGap, y, c.heading, c.right - kCellGap);
    }
    y += line + kRuleClearance;
    const double headRule = y;
    y += kRuleClearance;
    std::vector<double> rules;
    for (const ScheduleCase& s : cases) {
        const std::string cells[] = {s.label, s.fuel, s.passengers, s.baggage, s.weight, s.cg,
                                     s.permissible ? "Within" : "Not permissible"};
        for (size_t i = 0; i < std::size(columns); ++i) {
            page.SetFont(i == 6 && !s.permissible ? PageFont{"Arial", 9, true, false} : kTableFont);
            if (columns[i].rightAligned)
                PrintRightFitted(page, columns[i].left + kCellGap, columns[i].right - kCellGap, y, cells[i]);
            else
                PrintFitted(page, columns[i].left + kCellGap, y, cells[i], columns[i].right - kCellGap);
        }
        y += line;
        if (!s.permissible) {
            page.SetFont(kNoteFont);
            PrintFitted(page, columns[1].left + kCellGap, y, s.result, kRightEdge - kCellGap);
            y += page.LineHeightIn(kNoteFont);
        }
    }
    y += kRuleClearance;
    page.SetLineWidth(kThinPen);
    page.Rectangle(kLeftEdge, top, kRightEdge, y);
    page.Line(kLeftEdge, headRule, kRightEdge, headRule);
    return y;
}

}  // namespace

void PrintLoadingCheck(SheetRun& run, const ReportInput& in) {
    const LoadingEvaluation e = EvaluateLoading(in);
    if (!e.HasData()) return;
    run.Next();
    Page& page = run.page();
    const PageFont font = page.Font();
    const UnitSystem u = e.units;
    double y = page.PrintableTop() + 200;

    page.SetFont({"Arial", 16, true, false});
    PrintCentredFitted(page, y, "Loading Check");
    y += page.LineHeightIn(page.Font()) + 40;
    std::string who = Trimmed(in.Get(Field::Tail));
    for (Field f : {Field::Make, Field::Model})
        if (!Trimmed(in.Get(f)).empty()) who += "  " + Trimmed(in.Get(f));
    if (!Trimmed(in.Get(Field::Serial)).empty()) who += "  Serial " + Trimmed(in.Get(Field::Serial));
    who += "  " + Trimmed(in.Get(Field::Date));
    page.SetFont({"Arial", 10, false, false});
    PrintCentredFitted(page, y, who);
    y += page.LineHeightIn(page.Font()) + 60;

    std::vector<std::string> intro;
    if (!e.read.Refused()) {
        std::string from = "From the new empty weight " + e.emptyWeight + " " + std::string(WeightUnit(u)) +
                           " at " + SignedArm(LeadingNumber(e.emptyArm)) + " " + std::string(ArmUnit(u));
        from += e.maxWeight ? "; maximum weight " + FormatNumber(*e.maxWeight, pattern::NewWeight) + " " +
                                  std::string(WeightUnit(u))
                            : "; no maximum weight given";
        intro.push_back(from + ". AC 43.13-1B \u00A710-16 to \u00A710-18.");
        intro.push_back(RoundingNote(u));
    }
    y = PrintLines(page, y, intro, kNoteFont);
    y += 80;

    if (e.read.Refused() || !e.missing.empty()) {
        const std::vector<std::string>& why = e.read.Refused() ? e.read.refusals : e.missing;
        page.SetFont(kHeadingFont);
        PrintFitted(page, kLeftEdge, y,
                    e.read.Refused() ? "The loading data is refused, so no check is made:"
                                     : "The checks cannot be made yet:",
                    kRightEdge);
        y += page.LineHeightIn(kHeadingFont);
        for (const std::string& line : why) {
            if (y + page.LineHeightIn(kTableFont) > run.Bottom()) {
                run.Next();
                y = run.ContinuationTop();
            }
            y = PrintLines(page, y, {line}, kTableFont);
        }
        y += 120;
    }

    if (e.forward && e.aft) {
        const double height = std::max(TableHeight(page, *e.forward), TableHeight(page, *e.aft));
        if (y + height > run.Bottom()) {
            run.Next();
            y = run.ContinuationTop();
        }
        PrintTable(page, *e.forward, u, kLeftEdge, y);
        PrintTable(page, *e.aft, u, kLeftEdge + kTableWidth + kTableGap, y);
        y += height + 160;
    }

    if (!e.schedule.empty()) {
        double height = page.LineHeightIn(kHeadingFont) + page.LineHeightIn(kTableFont) * 4 + 6 * kRuleClearance;
        for (const ScheduleCase& s : e.schedule)
            if (!s.permissible) height += page.LineHeightIn(kNoteFont);
        if (y + height > run.Bottom()) {
            run.Next();
            y = run.ContinuationTop();
        }
        page.SetFont(kHeadingFont);
        PrintFitted(page, kLeftEdge, y, "Loading schedule: what may be carried, within the maximum weight and the envelope",
                    kRightEdge);
        y += page.LineHeightIn(kHeadingFont) + kRuleClearance;
        y = PrintSchedule(page, e.schedule, y) + 160;
    }

    if (e.read.data.HasEnvelope() && !e.read.Refused()) {
        if (run.Bottom() - y < kLoadingChartMinHeight) {
            run.Next();
            y = run.ContinuationTop();
        }
        const double height = std::min(6000.0, run.Bottom() - y);
        DrawLoadingChart(page, e, kLeftEdge, y, kRightEdge - kLeftEdge, height);
    }
    page.SetFont(font);
}

}  // namespace wb
