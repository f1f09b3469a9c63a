#include <algorithm>

#include "reports/CgLimits.h"
#include "reports/LoadingCheck.h"
#include "reports/PageBlocks.h"
#include "reports/Reports.h"
#include "reports/Sheets.h"
#include "reports/WeighingReports.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

constexpr int kScaleRows = 5;
constexpr int kEquipmentRows = 100;  // the store's extra row is never printed
constexpr int kEquipmentPerHalf = 50;
// The scale table reaches down at least to these, however few rows it has.
constexpr double kTotalsY = 7050, kTableBottom = 7300;
constexpr double kSectionGap = 200;  // between the scale table and the equipment list
constexpr double kEquipmentHeight = 6500, kCaptionY = 6550, kNotesY = 6800;
constexpr double kSignatureY = 14500;
constexpr double kColumnGap = 60;  // a printed value keeps this far from a column's rule

// The scale table's columns: left rules and the right edges of the number columns.
constexpr double kTareRule = 4100, kWeightRule = 5800, kArmRule = 7300, kMomentRule = 8800;
constexpr double kTareRight = 5500, kWeightRight = 7000, kArmRight = 8500, kMomentRight = 11200;

const Entry& At(const RowStore& store, int row, int col) {
    return ReportInput::At(store, row, col);
}

// The weighed totals as the sums of what the table prints.
struct Weighed {
    Decimal weight, moment;
};

// The fewest decimals a weight and an arm are printed with: those of the unit system's cells.
int WeightDecimals(const ReportInput& in) {
    return PatternDecimals(PatternsOf(Units(in)).weight);
}
int ArmDecimals(const ReportInput& in) {
    return PatternDecimals(PatternsOf(Units(in)).arm);
}

void PrintScaleRow(Page& page, const ReportInput& in, int r, double y, Weighed& sum) {
    const Entry& tare = At(in.ScaleRows, r, scale::Tar);
    const Entry& weight = At(in.ScaleRows, r, scale::Wgt);
    const Entry& arm = At(in.ScaleRows, r, scale::Arm);
    PrintFitted(page, 200, y, At(in.ScaleRows, r, scale::Dsc).Text(), kTareRule - kColumnGap);
    // Tare, weight and arm with the decimals typed, so that the page's arithmetic holds.
    const std::string moment =
        ((ExactValue(weight) - ExactValue(tare)) * ExactValue(arm)).Formatted(PatternsOf(Units(in)).moment);
    PrintRightFitted(page, kTareRule + kColumnGap, kTareRight, y,
                     WithTypedDecimals(tare, WeightDecimals(in)));
    PrintRightFitted(page, kWeightRule + kColumnGap, kWeightRight, y,
                     WithTypedDecimals(weight, WeightDecimals(in)));
    PrintRightFitted(page, kArmRule + kColumnGap, kArmRight, y, WithTypedDecimals(arm, ArmDecimals(in)));
    PrintRightFitted(page, kMomentRule + kColumnGap, kMomentRight, y, moment);
    sum.weight = sum.weight + ExactValue(weight) - ExactValue(tare);
    sum.moment = sum.moment + Decimal::Read(moment);
}

void PrintFluidRow(Page& page, const ReportInput& in, int r, double y, Weighed& sum) {
    const Entry& weight = At(in.FluidRows, r, fluid::Wgt);
    const Entry& arm = At(in.FluidRows, r, fluid::Arm);
    PrintFitted(page, 200, y, At(in.FluidRows, r, fluid::Dsc).Text(), kTareRule - kColumnGap);
    const std::string moment =
        (-ExactValue(weight) * ExactValue(arm)).Formatted(PatternsOf(Units(in)).moment);
    PrintRightFitted(page, kTareRule + kColumnGap, kTareRight, y, "xxxxxxxx");
    PrintRightFitted(page, kWeightRule + kColumnGap, kWeightRight, y,
                     WithTypedDecimals(weight, WeightDecimals(in), true));
    PrintRightFitted(page, kArmRule + kColumnGap, kArmRight, y, WithTypedDecimals(arm, ArmDecimals(in)));
    PrintRightFitted(page, kMomentRule + kColumnGap, kMomentRight, y, moment);
    sum.weight = sum.weight - ExactValue(weight);
    sum.moment = sum.moment + Decimal::Read(moment);
}

// The scale table, laid out top to bottom: headings, scale rows, fluid rows, the weighed
// totals. Each part starts at its usual place or, when the rows above need
// more room, right below them. Returns the table's bottom.
double PrintScaleTable(Page& page, const ReportInput& in, double pageTop) {
    // The rule under the headings clears their feet, in the font in force.
    const double top = pageTop + 1000,
                 headRule = pageTop + std::max(1300.0, 1030 + page.TextHeight("X") + kRuleClearance);
    const UnitSystem u = Units(in);
    const UnitPatterns& p = PatternsOf(u);
    PrintFitted(page, 200, pageTop + 1030, "Weight & Balance Calculation", kTareRule - kColumnGap);
    // Each heading centred over its column, with its unit.
    const auto heading = [&](double left, double right, const std::string& text) {
        PrintFitted(page, std::max(left + kColumnGap, (left + right - page.TextWidth(text)) / 2),
                    pageTop + 1030, text, right - kColumnGap);
    };
    heading(kTareRule, kWeightRule, Captioned("Tare", WeightUnit(u)));
    heading(kWeightRule, kArmRule, Captioned("Weight", WeightUnit(u)));
    heading(kArmRule, kMomentRule, Captioned("Arm", ArmUnit(u)));
    heading(kMomentRule, kRuleRight, Captioned("Moment", MomentUnit(u)));

    page.SetFontSize(11);
    const double line = page.TextHeight("X");
    page.SetFontBold(true);
    PrintAt(page, 200, pageTop + 1370, "Scale locations");
    page.SetFontBold(false);
    double y = pageTop + 1370 + line;
    Weighed sum;
    for (int r = 0; r < kScaleRows; ++r) {
        if (At(in.ScaleRows, r, scale::Wgt).Value() == 0) continue;
        PrintScaleRow(page, in, r, y, sum);
        y += line;
    }

    const double fluidRule = std::max(pageTop + 2823, y + kRuleClearance);
    y = fluidRule + 30;
    bool anyFluid = false;
    for (int r = 0; r < kScaleRows; ++r)
        anyFluid = anyFluid || At(in.FluidRows, r, fluid::Wgt).Value() > 0;
    if (anyFluid) {
        page.SetFontBold(true);
        PrintAt(page, 200, y, "Minus Fluids");
        page.SetFontBold(false);
        y += line;
    }
    for (int r = 0; r < kScaleRows; ++r) {
        if (At(in.FluidRows, r, fluid::Wgt).Value() == 0) continue;
        PrintFluidRow(page, in, r, y, sum);
        y += line;
    }

    // The weighed values, named so apart from the new values after the changes.
    const double totalsY = std::max(kTotalsY, y + kRuleClearance);
    page.SetFontSize(12);
    const double bottom = std::max(kTableBottom, totalsY + page.TextHeight("X") + kRuleClearance);
    PrintFitted(page, 1160, totalsY, "Weighed Aircraft Values", kTareRule - kColumnGap);
    page.SetFontSize(11);
    PrintRightFitted(page, kWeightRule + kColumnGap, kWeightRight, totalsY,
                     sum.weight.Formatted(p.newWeight));
    PrintRightFitted(page, kArmRule + kColumnGap, kArmRight, totalsY,
                     FormatNumber(in.values.ScaleArm, p.newArm));
    PrintRightFitted(page, kMomentRule + kColumnGap, kMomentRight, totalsY,
                     sum.moment.Formatted(p.newMoment));

    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, top, kRuleRight, bottom);
    page.Line(kRuleLeft, totalsY, kRuleRight, totalsY);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, headRule, kRuleRight, headRule);
    page.Line(kRuleLeft, fluidRule, kRuleRight, fluidRule);
    for (double x : {kTareRule, kWeightRule, kArmRule, kMomentRule})
        page.Line(x, headRule, x, bottom);
    return bottom;
}

// A list weight or arm: a number with the decimals typed (those of its cells at least), other
// text as it stands.
std::string Listed(const Entry& e, int least) {
    return e.IsNumber() || NumericText(e.Text()) ? WithTypedDecimals(e, least) : e.Text();
}

void PrintEquipmentList(Page& page, const ReportInput& in, double top) {
    const double bottom = top + kEquipmentHeight;
    // The rule under the headings clears their feet; the rows start below it either way.
    const double headRule = top + std::max(300.0, 30 + page.TextHeight("X") + kRuleClearance);
    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, top, kRuleRight, bottom);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, headRule, kRuleRight, headRule);
    for (double x : {2100.0, 3000.0, 3900.0, 4800.0})
        page.Line(x, headRule, x, bottom);
    page.SetLineWidth(kHeavyPen);
    page.Line(5805, top, 5805, bottom);
    page.SetLineWidth(kThinPen);
    for (double x : {7805.0, 8705.0, 9605.0, 10505.0})
        page.Line(x, headRule, x, bottom);

    struct Heading {
        double x;
        const char* text;
    };
    static constexpr Heading kHeadings[] = {
        {200, "Equipment"},  {2210, "Serial"}, {3100, "Weight"}, {4070, "Arm"}, {4900, "Moment"},
        {5855, "Equipment"}, {7915, "Serial"}, {8805, "Weight"}, {9775, "Arm"}, {10605, "Moment"},
    };
    for (const Heading& h : kHeadings)
        PrintAt(page, h.x, top + 30, h.text);

    page.SetFontSize(6);
    PrintAt(page, 100, top + kCaptionY,
            "Equipment weights above are included in New A/C Empty Weight. " + UnitsLine(in) + ".");

    // Each half: x of the texts, right edges of the numbers, and the rules that bound them.
    struct Half {
        double description, serial, weightRight, armRight, momentRight;
        double serialRule, weightRule, armRule, momentRule;
    };
    static constexpr Half kLeft = {200, 2200, 3800, 4700, 5705, 2100, 3000, 3900, 4800};
    static constexpr Half kRight = {5905, 7905, 9505, 10405, 11410, 7805, 8705, 9605, 10505};
    constexpr double gap = 40;
    for (int i = 0; i < kEquipmentRows; ++i) {
        const Half& h = i < kEquipmentPerHalf ? kLeft : kRight;
        const double y = top + 350 + 110 * (i % kEquipmentPerHalf);
        const Entry& weight = At(in.EquipmentList, i, equipment::Weight);
        const Entry& arm = At(in.EquipmentList, i, equipment::Arm);
        PrintFitted(page, h.description, y, At(in.EquipmentList, i, equipment::Description).Text(),
                    h.serialRule - gap);
        PrintFitted(page, h.serial, y, At(in.EquipmentList, i, equipment::Serial).Text(), h.weightRule - gap);
        PrintRightFitted(page, h.weightRule + gap, h.weightRight, y, Listed(weight, WeightDecimals(in)));
        PrintRightFitted(page, h.armRule + gap, h.armRight, y, Listed(arm, ArmDecimals(in)));
        const Decimal moment = ExactValue(weight) * ExactValue(arm);
        if (!moment.IsZero())
            PrintRightFitted(page, h.momentRule + gap, h.momentRight, y,
                             moment.Formatted(PatternsOf(Units(in)).newMoment));
    }
}

void CalculationBody(const ReportInput& in, SheetRun& run) {
    Page& page = run.page();
    const double pageTop = PrintCommonTop(page, in, TitleField::EquipTitle);

    double scaleTotal = 0;
    for (int r = 0; r < kScaleRows; ++r)
        scaleTotal += At(in.ScaleRows, r, scale::Wgt).Value();
    double sectionTop = pageTop + 1000;
    if (scaleTotal > 0) sectionTop = PrintScaleTable(page, in, pageTop) + kSectionGap;
    sectionTop = PrintWeighingSection(page, in, sectionTop);

    // The list, its caption and the signature under it go whole onto a fresh sheet where
    // they would not end above the foot of this one.
    auto needed = [&](double top) {
        double end = top + kCaptionY + page.LineHeightIn({page.Font().name, 6, false, false});
        if (in.options.mechanic)
            end = std::max(
                end, top + kEquipmentHeight + kColumnGap + page.LineHeightIn({"Arial", 8, false, false}));
        return end;
    };
    if (needed(sectionTop) > run.Bottom()) {
        run.Next();
        sectionTop = run.ContinuationTop();
    }
    PrintEquipmentList(page, in, sectionTop);
    const double signatureY =
        std::clamp(kSignatureY, sectionTop + kEquipmentHeight + kColumnGap,
                   std::max(sectionTop + kEquipmentHeight + kColumnGap,
                            run.Bottom() - page.LineHeightIn({"Arial", 8, false, false})));
    PrintSignatureLine(page, in, signatureY);
    const int signatureSheet = run.Sheet();
    PrintNotes(run, in, sectionTop + kNotesY, 8);
    // The empty-weight C.G. check follows all else: clear of the signature line on its sheet,
    // else on the next one.
    const double below = in.options.notes ? page.CurrentY() : sectionTop + kNotesY;
    const bool besideSignature = in.options.mechanic && run.Sheet() == signatureSheet;
    PrintEmptyCgLimits(run, in, below + 100, besideSignature ? signatureY - 100 : run.Bottom());
    // Can it still be loaded: a sheet of its own, numbered with the others.
    PrintLoadingCheck(run, in);
    run.Finish();
}

}  // namespace

void PrintCalculationReport(const ReportInput& in, Page& page) {
    PrintInSheets(in, page, CalculationBody);
}

}  // namespace wb
