#include "app/RecordPrint.h"

#include "app/ReportLines.h"
#include "setup/CompanySettings.h"
#include "store/Audit.h"
#include "store/CaseFold.h"
#include "store/History.h"
#include "store/MainDatabase.h"
#include "store/Scales.h"
#include "store/Signing.h"
#include "store/WorksheetRows.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

// The stored Worksheets of the tail, oldest first, as the history lists them.
struct StoredWorksheet {
    std::int64_t id;
    std::string tail, isoDate;
};

std::vector<StoredWorksheet> WorksheetsOf(Database& db, const std::string& tail) {
    Statement s =
        db.Prepare("SELECT Id, Tail, \"Date\" FROM Aircraft WHERE FoldedTail = ? ORDER BY \"Date\", Id");
    s.Bind(1, FoldCase(tail));
    std::vector<StoredWorksheet> found;
    while (s.Step())
        found.push_back({s.Int(0), s.Text(1).value_or(""), s.Text(2).value_or("")});
    return found;
}

// What the print buttons take from the store and the set-up panel, read once for the tail.
struct Shop {
    std::optional<CompanyRow> company, fontRow;
    PrintOptions options;
    LoadDefaults defaults;
    std::vector<ShopScale> scales;
};

Shop ReadShop(Database& db, CalendarDate today) {
    Shop shop;
    shop.company = FindCompanyRow(db);
    if (auto font = ReadReportFont(db)) shop.fontRow = ReportFontRow(*font);
    // The set-up panel's boxes show the company row's settings from start-up on.
    if (shop.company) {
        const CompanySettings s = SettingsFromRow(*shop.company, std::nullopt);
        shop.options = {s.printCompany, s.printRanges, s.printMechanic, s.printNotes};
        shop.defaults.mechanic = s.mechanic;
        shop.defaults.cert = s.cert;
    }
    shop.defaults.today = ShownDate(today);
    shop.scales = ReadScales(db);
    return shop;
}

ReportInput InputOf(const Worksheet& ws, const Shop& shop) {
    // The tach/hobbs caption is the window's and not stored: a loaded Worksheet shows "Tach".
    return MakeReportInput(ws, "Tach", shop.options, shop.company, shop.fontRow);
}

}  // namespace

RecordReports ReadRecordReports(Database& db, const std::string& asked, CalendarDate today,
                                Progress& progress) {
    const Shop shop = ReadShop(db, today);
    const std::vector<StoredWorksheet> stored = WorksheetsOf(db, asked);
    // The record names the aircraft as its latest Worksheet does, whatever case was asked for.
    const std::string tail = stored.empty() ? asked : stored.back().tail;
    const RecordChain chain = ReadHistory(db, tail);
    const auto total = static_cast<std::int64_t>(stored.size());

    RecordReports out;
    out.worksheets.reserve(stored.size());
    Worksheet ws;
    for (std::int64_t n = 0; n < total; ++n) {
        StopIfCancelled(progress);
        progress.Report(n, total, "Reading the Worksheets of " + tail);
        const StoredWorksheet& w = stored[static_cast<size_t>(n)];
        ClearWorksheet(ws, false);
        if (!LoadWorksheet(db, w.id, ws, shop.defaults)) continue;
        ReportInput in = InputOf(ws, shop);
        if (ws.values.ScaleArm != 0)
            in.weighingLines = WeighingReportLines(ws, shop.scales, &chain, &db, today);
        in.negligible = NegligibleRows(ws, MacReferenceOf(ws), Units(ws));
        in.signedLines = SignatureLines(db, w.tail, w.isoDate);
        out.worksheets.push_back(std::move(in));
    }
    // The history panel's print button: the chain under the header of the Worksheet on
    // screen, here the latest one.
    if (stored.empty()) {
        ClearWorksheet(ws, false);
        ws.Set(Field::Tail, tail);
    }
    out.record = InputOf(ws, shop);
    out.record.history = chain;
    out.record.auditLines = AuditLines(WholeAuditTrailOf(db, tail));
    progress.Report(total, total, "Reading the Worksheets of " + tail);
    return out;
}

}  // namespace wb
