// What an inspector reads on every sheet: no overprint, totals that add up, numbered sheets.
#include <gtest/gtest.h>

#include "ReportChecks.h"
#include "ReportFixture.h"
#include "reports/Reports.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

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

// A printed number in units of its last decimal ("-12.5" with one decimal is -125).
long long Units(const std::string& printed) {
    std::string digits;
    for (char c : printed)
        if (c != '.' && c != '-') digits.push_back(c);
    const long long n = digits.empty() ? 0 : std::stoll(digits);
    return printed.rfind('-', 0) == 0 ? -n : n;
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

TEST(PrintedPages, ChangeColumnsAddUpToTheTotalsFromThePreviousValuesTheComputationUsed) {
    for (const Job& job : Jobs())
        for (const Report& report : kChangeReports) {
            SCOPED_TRACE(std::string(job.name) + ", " + report.name);
            RecordingPage page;
            report.print(Input(job), page);
            // Walk the table in print order: the previous values add, then each group's rows.
            int sign = 0, rows = 0;
            bool totals = false;
            long long weight = 0, moment = 0, totalWeight = 0, totalMoment = 0;
            std::string previousMoment;
            for (const RecordedText& t : page.texts()) {
                if (t.text == "Previous Aircraft Empty") sign = 1;
                if (t.font.bold && t.x == 200 && (t.text == "Removed" || t.text == "Installed"))
                    sign = t.text == "Removed" ? -1 : 1;
                if (t.text == "New Aircraft Values") totals = true;
                const double right = RightEdge(t);
                if (std::abs(right - 7000) < 0.01) {
                    (totals ? totalWeight : weight) += (totals ? 1 : sign) * Units(t.text);
                    if (!totals) ++rows;
                }
                if (std::abs(right - 10200) < 0.01) {
                    (totals ? totalMoment : moment) += (totals ? 1 : sign) * Units(t.text);
                    if (previousMoment.empty()) previousMoment = t.text;
                }
            }
            EXPECT_GT(rows, 1);
            EXPECT_TRUE(totals);
            EXPECT_EQ(weight, totalWeight);
            EXPECT_EQ(moment, totalMoment);
            const Computed& v = job.ws.values;
            if (v.ScaleArm != 0) {
                EXPECT_EQ(previousMoment, FormatNumber(v.ScaleMoment, pattern::Moment));
            } else {
                const double used =
                    LeadingNumber(job.ws.Get(Field::Empty)) * LeadingNumber(job.ws.Get(Field::CG));
                EXPECT_EQ(previousMoment, FormatNumber(used, pattern::Moment));
            }
        }
}

}  // namespace
}  // namespace wb
