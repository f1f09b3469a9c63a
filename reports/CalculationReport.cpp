#include "reports/CgLimits.h"
#include "reports/PageBlocks.h"
#include "reports/Reports.h"
#include "worksheet/Format.h"

namespace wb {
namespace {

constexpr int kScaleRows = 5;
constexpr int kEquipmentRows = 100;  // the store's extra row is never printed
constexpr int kEquipmentPerHalf = 50;
constexpr double kTableBottom = 7300;  // the scale table ends here however many rows it has
constexpr double kTotalsY = 7050;
constexpr double kSectionWithScale = 7500;

// Right edges of the scale table's number columns.
constexpr double kTareRight = 5500, kWeightRight = 7000, kArmRight = 8500, kMomentRight = 11200;

double Cell(const RowStore& store, int row, int col) {
    return ReportInput::At(store, row, col).Value();
}

void PrintScaleTable(Page& page, const ReportInput& in, double pageTop) {
    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, pageTop + 1000, kRuleRight, kTableBottom);
    page.Line(kRuleLeft, kTotalsY, kRuleRight, kTotalsY);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, pageTop + 1300, kRuleRight, pageTop + 1300);
    for (double x : {4100.0, 5800.0, 7300.0, 8800.0})
        page.Line(x, pageTop + 1300, x, kTableBottom);

    PrintAt(page, 200, pageTop + 1030, "Weight & Balance Calculation");
    PrintAt(page, 4600, pageTop + 1030, "Tare");
    PrintAt(page, 6270, pageTop + 1030, "Weight");
    PrintAt(page, 7820, pageTop + 1030, "Arm");
    PrintAt(page, 9570, pageTop + 1030, "Moment");
    page.SetFontSize(12);
    PrintAt(page, 1160, kTotalsY, "New Aircraft Values");

    page.SetFontSize(11);
    page.SetFontBold(true);
    PrintAt(page, 200, pageTop + 1370, "Scale locations", Ending::NewLine);
    page.SetFontBold(false);
    page.SetCurrentX(200);
    for (int r = 0; r < kScaleRows; ++r) {
        const double weight = Cell(in.ScaleRows, r, scale::Wgt);
        if (weight == 0) continue;
        const double tare = Cell(in.ScaleRows, r, scale::Tar);
        const double arm = Cell(in.ScaleRows, r, scale::Arm);
        page.SetCurrentX(200);
        page.Print(ReportInput::At(in.ScaleRows, r, scale::Dsc).Text(), Ending::Stay);
        PrintRightAligned(page, kTareRight, Masked(tare, pattern::Moment));
        PrintRightAligned(page, kWeightRight, Masked(weight, pattern::Weight));
        PrintRightAligned(page, kArmRight, Masked(arm, pattern::Weight));
        PrintRightAligned(page, kMomentRight, Masked((weight - tare) * arm, pattern::Moment),
                          Ending::NewLine);
    }

    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, pageTop + 2823, kRuleRight, pageTop + 2823);
    bool anyFluid = false;
    for (int r = 0; r < kScaleRows; ++r)
        anyFluid = anyFluid || Cell(in.FluidRows, r, fluid::Wgt) > 0;
    if (anyFluid) {
        page.SetFontBold(true);
        PrintAt(page, 200, pageTop + 2853, "Minus Fluids", Ending::NewLine);
        page.SetFontBold(false);
    }
    for (int r = 0; r < kScaleRows; ++r) {
        const double weight = Cell(in.FluidRows, r, fluid::Wgt);
        if (weight == 0) continue;
        const double arm = Cell(in.FluidRows, r, fluid::Arm);
        page.SetCurrentX(200);
        page.Print(ReportInput::At(in.FluidRows, r, fluid::Dsc).Text(), Ending::Stay);
        PrintRightAligned(page, kTareRight, "xxxxxxxx");
        PrintRightAligned(page, kWeightRight, Masked(-weight, pattern::Weight));
        PrintRightAligned(page, kArmRight, Masked(arm, pattern::Weight));
        PrintRightAligned(page, kMomentRight, Masked(-weight * arm, pattern::Moment), Ending::NewLine);
    }

    page.SetFontSize(11);
    page.SetCurrentY(kTotalsY);
    PrintRightAligned(page, kWeightRight, FormatSingle(in.values.ScaleWeight, pattern::NewWeight));
    PrintRightAligned(page, kArmRight, FormatSingle(in.values.ScaleArm, pattern::NewWeight));
    PrintRightAligned(page, kMomentRight, FormatSingle(in.values.ScaleMoment, pattern::NoLead1));
}

void PrintEquipmentList(Page& page, const ReportInput& in, double top) {
    page.SetLineWidth(kHeavyPen);
    page.Rectangle(kRuleLeft, top, kRuleRight, top + 6500);
    page.SetLineWidth(kThinPen);
    page.Line(kRuleLeft, top + 300, kRuleRight, top + 300);
    for (double x : {2100.0, 3000.0, 3900.0, 4800.0})
        page.Line(x, top + 300, x, top + 6500);
    page.SetLineWidth(kHeavyPen);
    page.Line(5805, top, 5805, top + 6500);
    page.SetLineWidth(kThinPen);
    for (double x : {7805.0, 8705.0, 9605.0, 10505.0})
        page.Line(x, top + 300, x, top + 6500);

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
    PrintAt(page, 100, top + 6550, "Equipment weights above are included in New A/C Empty Weight");

    struct Half {
        double description, serial, weightRight, armRight, momentRight;
    };
    static constexpr Half kLeft = {200, 2200, 3800, 4700, 5705};
    static constexpr Half kRight = {5905, 7905, 9505, 10405, 11410};
    for (int i = 0; i < kEquipmentRows; ++i) {
        const Half& h = i < kEquipmentPerHalf ? kLeft : kRight;
        const double y = top + 350 + 110 * (i % kEquipmentPerHalf);
        const Entry& weight = ReportInput::At(in.EquipmentList, i, equipment::Weight);
        const Entry& arm = ReportInput::At(in.EquipmentList, i, equipment::Arm);
        PrintAt(page, h.description, y, ReportInput::At(in.EquipmentList, i, equipment::Description).Text());
        PrintAt(page, h.serial, y, ReportInput::At(in.EquipmentList, i, equipment::Serial).Text());
        PrintRightAligned(page, h.weightRight, weight.Formatted(pattern::Weight));
        PrintRightAligned(page, h.armRight, arm.Formatted(pattern::Weight));
        const double moment = weight.Value() * arm.Value();
        if (moment != 0)
            PrintRightAligned(page, h.momentRight, Masked(moment, pattern::NoLead1), Ending::NewLine);
    }
}

}  // namespace

void PrintCalculationReport(const ReportInput& in, Page& page) {
    const double pageTop = PrintCommonTop(page, in, TitleField::EquipTitle);

    double scaleTotal = 0;
    for (int r = 0; r < kScaleRows; ++r)
        scaleTotal += Cell(in.ScaleRows, r, scale::Wgt);
    double sectionTop = pageTop + 1000;
    if (scaleTotal > 0) {
        PrintScaleTable(page, in, pageTop);
        sectionTop = kSectionWithScale;
    }
    PrintEquipmentList(page, in, sectionTop);
    PrintSignatureLine(page, in, 14500);
    PrintNotes(page, in, sectionTop + 6800, 8);
    // The empty-weight C.G. check follows all else, on this sheet where it fits clear of the
    // signature line, else on a fresh one.
    const double below = in.options.notes ? page.CurrentY() : sectionTop + 6800;
    PrintEmptyCgLimits(page, in, below + 100,
                       in.options.mechanic ? 14400 : page.PrintableTop() + page.PrintableHeight());
    page.EndDocument();
}

}  // namespace wb
