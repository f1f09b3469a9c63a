// Any loading data, well formed or not, through the reading, the checks, the schedule and the
// printed loading check: no crash, no hang, and every printed table adds up to its totals.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "reports/RecordingPage.h"
#include "reports/Reports.h"
#include "worksheet/Decimal.h"
#include "worksheet/Loading.h"

namespace {

// A cell: mostly a plausible number, sometimes blank, sometimes raw text from the input.
std::string Cell(FuzzedDataProvider& in, int low, int high) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: return {};
        case 1: return in.ConsumeRandomLengthString(12);
        default: {
            const int whole = in.ConsumeIntegralInRange(low, high);
            const int tenths = in.ConsumeIntegralInRange(0, 9);
            return std::to_string(whole) + (tenths ? "." + std::to_string(tenths) : "");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    wb::LoadingTexts t;
    const int stations = in.ConsumeIntegralInRange(0, wb::kStationRows);
    for (int r = 0; r < stations; ++r) {
        auto& row = t.stations[static_cast<size_t>(r)];
        row[wb::station::Name] = in.ConsumeRandomLengthString(25);
        const int kind = in.ConsumeIntegralInRange(0, 6);
        row[wb::station::Kind] = kind < 5 ? std::string(wb::KindName(wb::kAllStationKinds[static_cast<size_t>(kind)]))
                                          : in.ConsumeRandomLengthString(8);
        row[wb::station::Arm] = Cell(in, -200, 400);
        row[wb::station::Seats] = Cell(in, -1, 6);
        row[wb::station::Capacity] = Cell(in, -10, 400);
        row[wb::station::MaxWeight] = Cell(in, -10, 600);
    }
    for (wb::Category c : {wb::Category::Normal, wb::Category::Utility}) {
        const int points = in.ConsumeIntegralInRange(0, wb::kEnvelopeRows);
        for (int r = 0; r < points; ++r)
            t.Points(c)[static_cast<size_t>(r)] = {Cell(in, 0, 6000), Cell(in, -60, 120)};
    }
    for (wb::LoadingBox b : wb::kAllLoadingBoxes)
        if (in.ConsumeBool()) t.Box(b) = Cell(in, -5, 400);

    wb::ReportInput report;
    report.loading = t;
    report.values.NewWeight = in.ConsumeIntegralInRange(0, 6000) + in.ConsumeIntegralInRange(0, 99) / 100.0;
    report.values.NewArm = in.ConsumeIntegralInRange(-50, 120) + in.ConsumeIntegralInRange(0, 99) / 100.0;
    report.Set(wb::Field::MaxWt, Cell(in, 0, 8000));

    const wb::LoadingEvaluation e = wb::EvaluateLoading(t, report.values.NewWeight, report.values.NewArm,
                                                        report.Get(wb::Field::MaxWt), wb::UnitSystem::PoundInch);
    for (const auto* table : {&e.forward, &e.aft}) {
        if (!*table) continue;
        wb::Decimal weight, moment;
        for (const wb::LoadingLine& l : (*table)->lines) {
            weight = weight + wb::Decimal::Read(l.weight);
            moment = moment + wb::Decimal::Read(l.moment);
        }
        if (weight.Text(2) != wb::Decimal::Read((*table)->totalWeight).Text(2)) std::abort();
        if (moment.Text(1) != wb::Decimal::Read((*table)->totalMoment).Text(1)) std::abort();
    }
    wb::RecordingPage page;
    wb::PrintCalculationReport(report, page);
    if (page.endCount() != 1) std::abort();
    return 0;
}
