// What an inspector reads on every sheet: no overprint, totals that add up, numbered sheets.
#include <gtest/gtest.h>

#include <span>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"

namespace wb {
namespace {

struct Job {
    const char* name;
    Worksheet ws;
    CompanyRow company;
};

std::vector<Job> Jobs() {
    return {{"sample", test::SampleWorksheet(), test::SampleCompany()},
            {"full", test::FullWorksheet(), test::FullCompany()},
            {"heavy", test::HeavyWorksheet(), test::SampleCompany()},
            {"typed previous", test::TypedPreviousWorksheet(), test::SampleCompany()}};
}

struct Report {
    const char* name;
    void (*print)(const ReportInput&, Page&);
};
constexpr Report kReports[] = {{"calculation", PrintCalculationReport},
                               {"full change", PrintFullChangeReport},
                               {"compact change", PrintCompactChangeReport}};
constexpr Report kChangeReports[] = {kReports[1], kReports[2]};

ReportInput Input(const Job& job, PrintOptions options = {true, true, true, true}) {
    return MakeReportInput(job.ws, "Hobbs", options, job.company, std::nullopt);
}

double RightEdge(const RecordedText& t) {
    return t.x + static_cast<double>(t.text.size()) * t.font.size * RecordingPage::kCharWidthPerPoint;
}

bool EndsAt(const RecordedText& t, double right) {
    return std::abs(RightEdge(t) - right) < 0.01 && !t.text.empty();
}

using test::Printed;

// Each job printed by each report (every option on), and the page it drew.
template <class Check>
void ForEachPrint(std::span<const Report> reports, Check check) {
    for (const Job& job : Jobs())
        for (const Report& report : reports) {
            SCOPED_TRACE(std::string(job.name) + ", " + report.name);
            RecordingPage page;
            report.print(Input(job), page);
            check(job, report, page);
        }
}

TEST(PrintedPages, NothingOverprintsOrLeavesThePaperAndEachSheetSaysWhichItIs) {
    for (const Job& job : Jobs())
        for (const Report& report : kReports)
            for (bool on : {true, false}) {
                SCOPED_TRACE(std::string(job.name) + ", " + report.name +
                             (on ? ", every option" : ", no option"));
                RecordingPage page;
                report.print(Input(job, {on, on, on, on}), page);
                EXPECT_EQ(test::Overprints(page), std::vector<std::string>{});
                EXPECT_EQ(page.endCount(), 1);
                const std::string stamp =
                    job.ws.Get(Field::Tail) + "  " + job.ws.Get(Field::Date) + "  Page ";
                std::vector<int> stamped(static_cast<size_t>(page.sheets()));
                for (const RecordedText& t : page.texts())
                    if (t.text.rfind(stamp, 0) == 0) {
                        EXPECT_EQ(t.text, stamp + std::to_string(t.sheet + 1) + " of " +
                                              std::to_string(page.sheets()));
                        ++stamped[static_cast<size_t>(t.sheet)];
                    }
                EXPECT_EQ(stamped, std::vector<int>(stamped.size(), page.sheets() > 1 ? 1 : 0));
            }
}

// Every line a reader can multiply out: weight (less tare) times arm is the moment printed
// beside them, to its last printed digit, in the tables and the equipment list alike.
TEST(PrintedPages, EveryLineMultipliesOutToItsMoment) {
    const test::NumberColumns kChangeTable{7000, 8500, 10200};
    const test::NumberColumns kScaleTable{7000, 8500, 11200, 5500};
    const test::NumberColumns kListLeft{3800, 4700, 5705}, kListRight{9505, 10405, 11410};
    ForEachPrint(kReports, [&](const Job& job, const Report& report, const RecordingPage& page) {
        const bool calculation = report.print == PrintCalculationReport;
        int checked = 0;
        for (const test::NumberColumns& columns :
             calculation ? std::vector{kScaleTable, kListLeft, kListRight} : std::vector{kChangeTable}) {
            int lines = 0;
            EXPECT_EQ(test::ProductFaults(page, columns, lines), std::vector<std::string>{});
            checked += lines;
        }
        EXPECT_GE(checked, 1);
        // The full Worksheet is weighed: change row 0 is the previous values line.
        if (std::string(job.name) == "full") {
            EXPECT_EQ(checked, calculation ? 5 + 5 + 100 : 1 + 2 * 29);
        }
    });
}

// Totals that add up: each is the sum of its printed column, to its last printed digit.
TEST(PrintedPages, TotalsAreTheSumsOfTheirPrintedColumns) {
    ForEachPrint(kReports, [](const Job&, const Report& report, const RecordingPage& page) {
        const bool calculation = report.print == PrintCalculationReport;
        if (calculation && page.Find("Weighed Aircraft Values").empty()) return;  // no weighing
        const double weightRight = 7000, momentRight = calculation ? 11200 : 10200;
        // Walk the table in print order: the change table's previous values add, then each
        // group's rows; the scale table's rows add net of their tares, fluids as printed.
        int sign = 1, rows = 0;
        Printed weight = Printed::Read("0"), moment = Printed::Read("0");
        Printed totalWeight, totalMoment;
        std::string tare;
        for (const RecordedText& t : page.texts()) {
            if (t.font.bold && t.x == 200 && (t.text == "Removed" || t.text == "Installed"))
                sign = t.text == "Removed" ? -1 : 1;
            if (calculation && EndsAt(t, 5500)) tare = t.text;
            const bool totals = t.text.find("Aircraft Values") != std::string::npos;
            if (totals) {
                for (const RecordedText& u : page.texts()) {
                    if (u.sheet != t.sheet || std::abs(u.y - t.y) > 100) continue;
                    if (EndsAt(u, weightRight)) totalWeight = Printed::Read(u.text);
                    if (EndsAt(u, momentRight)) totalMoment = Printed::Read(u.text);
                }
                break;
            }
            Printed value = Printed::Read(t.text);
            if (sign < 0) value.units = -value.units;
            if (EndsAt(t, weightRight)) {
                if (calculation && tare != "xxxxxxxx") value = value.Minus(Printed::Read(tare));
                weight = weight.Plus(value);
                ++rows;
            }
            if (EndsAt(t, momentRight)) moment = moment.Plus(value);
        }
        EXPECT_GT(rows, 1);
        EXPECT_TRUE(weight.RoundsTo(totalWeight));
        EXPECT_TRUE(moment.RoundsTo(totalMoment));
    });
}

// The header's new empty weight is the table's: both from the typed figures.
TEST(PrintedPages, TheHeaderAgreesWithTheTableBelowIt) {
    ForEachPrint(kChangeReports, [](const Job&, const Report&, const RecordingPage& page) {
        const RecordedText label = page.One("New A/C Empty Weight:");
        std::string header, table;
        for (const RecordedText& t : page.texts()) {
            if (t.sheet == label.sheet && std::abs(t.y - label.y) < 60 && EndsAt(t, 4000)) header = t.text;
            if (EndsAt(t, 7000)) table = t.text;  // the totals come last
        }
        EXPECT_EQ(header, table + " lb");  // the header names the unit, the table's heading does
    });
}

}  // namespace
}  // namespace wb
