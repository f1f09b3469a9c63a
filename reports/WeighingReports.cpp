#include "reports/WeighingReports.h"

#include "reports/PageBlocks.h"

namespace wb {
namespace {

constexpr double kLineStep = 200;
constexpr double kFootRoom = 400;

}  // namespace

double PrintWeighingSection(Page& page, const ReportInput& in, double top) {
    if (in.weighingLines.empty()) return top;
    const PageFont before = page.Font();
    double y = top;
    page.SetFont({"Arial", 8, true, false});
    PrintAt(page, 200, y, "Weighing record");
    y += kLineStep + 20;
    for (const WeighingLine& line : in.weighingLines) {
        page.SetFont({"Arial", 8, line.marked, false});
        PrintFitted(page, 300, y, line.text, kRuleRight);
        y += kLineStep;
    }
    page.SetFont(before);
    return y + 100;
}

void PrintDueList(const ReportInput& in, Page& page) {
    page.SetUnitsTwips();
    struct Column {
        double x;
        bool right;
    };
    const Column columns[] = {{200, false}, {2000, false}, {6000, true}, {7600, true}, {8000, false}};
    double y = page.PrintableTop() + 300;
    const auto headings = [&] {
        page.SetFont({"Arial", 14, true, false});
        page.SetCurrentY(y);
        PrintCentred(page, "Due for Reweighing", Ending::NewLine);
        y += 450;
        page.SetFont({"Arial", 9, true, false});
        const std::vector<std::string> names = DueColumns();
        for (size_t i = 0; i < names.size(); ++i) {
            page.SetCurrentY(y);
            if (columns[i].right) {
                PrintRightAligned(page, columns[i].x, names[i]);
            } else {
                page.SetCurrentX(columns[i].x);
                page.Print(names[i], Ending::Stay);
            }
        }
        y += 280;
        page.Line(kRuleLeft, y, kRuleRight, y);
        y += 60;
    };
    headings();
    for (const DueLine& line : in.dueList) {
        if (y + kLineStep > page.PrintableTop() + page.PrintableHeight() - kFootRoom) {
            page.NewSheet();
            y = page.PrintableTop() + 300;
            headings();
        }
        const std::vector<std::string> cells = DueCells(line);
        for (size_t i = 0; i < cells.size(); ++i) {
            page.SetFont({"Arial", 9, line.overdue && i + 1 == cells.size(), false});
            page.SetCurrentY(y);
            if (columns[i].right) {
                PrintRightAligned(page, columns[i].x, cells[i]);
            } else {
                page.SetCurrentX(columns[i].x);
                page.Print(cells[i], Ending::Stay);
            }
        }
        y += kLineStep + 20;
    }
    if (in.dueList.empty()) {
        page.SetFont({"Arial", 9, false, true});
        PrintAt(page, 200, y, "No Worksheet is stored.");
    }
    page.EndDocument();
}

}  // namespace wb
