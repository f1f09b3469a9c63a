#include "reports/ReportInput.h"

#include "worksheet/Units.h"

namespace wb {

UnitSystem Units(const ReportInput& in) {
    return UnitsFromCode(in.Get(Field::Units));
}

const Entry& ReportInput::At(const RowStore& store, int row, int col) {
    static const Entry kEmpty;
    if (row < 0 || col < 0 || row >= store.rows || col >= store.cols) return kEmpty;
    size_t index = static_cast<size_t>(row) * static_cast<size_t>(store.cols) + static_cast<size_t>(col);
    return index < store.entries.size() ? store.entries[index] : kEmpty;
}

ReportInput MakeReportInput(const Worksheet& ws, std::string tachCaption, PrintOptions options,
                            std::optional<CompanyRow> company, std::optional<CompanyRow> reportFontRow) {
    ReportInput in;
    for (const FieldInfo& info : AllFields())
        in.Set(info.field, ws.Get(info.field));
    in.ScaleRows = ws.ScaleRows();
    in.FluidRows = ws.FluidRows();
    in.InstalledList = ws.InstalledList();
    in.EquipmentList = ws.EquipmentList();
    in.values = ws.values;
    in.loading = ws.loading;
    in.tachCaption = std::move(tachCaption);
    in.options = options;
    in.company = std::move(company);
    in.reportFontRow = std::move(reportFontRow);
    return in;
}

}  // namespace wb
