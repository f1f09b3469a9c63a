#include "app/HistoryPanel.h"

#include "app/MainForm.h"
#include "app/ReportLines.h"
#include "store/History.h"
#include "store/Records.h"
#include "worksheet/Balance.h"
#include "worksheet/Dates.h"
#include "worksheet/Format.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

// Locked while the history panel is open, so that what it shows stays the screen's tail.
constexpr Control kLockedByHistory[] = {Control::Command3D17, Control::Command3D18, Control::Command3D15,
                                        Control::Command3D23, Control::Command3D26, Control::Command3D14,
                                        Control::Command3D27, Control::Command3D19, Control::Command3D13,
                                        Control::Command3D12, Control::Command3D16, Control::Panel3D1};

HistoryRow RowOf(const ChainEntry& e, HistoryRow::Kind kind, std::string note, UnitSystem shown) {
    // A version in other units than the panel's says so first.
    if (e.units != shown)
        note = "Figures in " + std::string(UnitsName(e.units)) + (note.empty() ? "" : "; ") + note;
    HistoryRow row;
    row.kind = kind;
    row.cells = ChainCells(e);
    row.cells.insert(row.cells.end(), {e.by, e.cert, std::move(note)});
    return row;
}

// The tail is named only where a corrected tail number makes it differ.
std::string Superseded(const ChainEntry& e, const std::string& tail) {
    std::string note = (e.reason == "deleted" ? "Deleted " : "Superseded ") + e.supersededAt;
    if (e.tail != tail) note += " (tail " + e.tail + ")";
    return note;
}

}  // namespace

const std::vector<std::string_view>& HistoryColumns() {
    static const std::vector<std::string_view> columns = {
        "Date",      "Work Order", "Kind",       "Prev. Empty", "Prev. C.G.", "Installed", "Removed",
        "New Empty", "New C.G.",   "New Moment", "Useful Load", "Mechanic",   "Cert",      "Note"};
    return columns;
}

std::vector<HistoryRow> HistoryRows(const RecordChain& chain, const std::vector<HistoryMark>& marks) {
    std::vector<HistoryRow> rows;
    for (const ChainLine& line : chain.lines) {
        if (line.deleted) {
            rows.push_back(RowOf(line.entry, HistoryRow::Kind::Deleted, Superseded(line.entry, chain.tail),
                                 chain.units));
            continue;
        }
        std::string note;
        if (line.breaks)
            note = "Break: the computation dated " + line.supersedes + " ended at " + line.endBeforeWeight +
                   " / " + line.endBeforeArm;
        else if (!line.supersedes.empty())
            note = "Supersedes the computation dated " + line.supersedes;
        bool altered = false;
        for (const HistoryMark& m : marks) {
            if (m.date != line.entry.date) continue;
            note = note.empty() ? m.note : m.note + "; " + note;
            altered = altered || m.altered;
        }
        HistoryRow row = RowOf(line.entry, HistoryRow::Kind::Worksheet, std::move(note), chain.units);
        row.breaks = line.breaks;
        row.altered = altered;
        for (const ChainEntry& e : line.earlier)
            row.earlier.push_back(
                RowOf(e, HistoryRow::Kind::Earlier, Superseded(e, chain.tail), chain.units));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<HistoryRow> AuditRows(const std::vector<AuditEntry>& entries) {
    std::vector<HistoryRow> rows;
    for (const AuditEntry& e : entries) {
        HistoryRow row;
        row.kind = HistoryRow::Kind::Earlier;
        row.cells.assign(HistoryColumns().size(), "");
        const auto date = ParseIsoDate(e.date);
        row.cells[0] = date ? ShownDate(*date) : e.date;
        row.cells[1] = e.event;
        row.cells[2] = e.at.substr(0, 10) + " " + e.at.substr(11, 8) + " UTC";
        row.cells.back() =
            e.user + " at " + e.workstation +
            (e.record.empty() ? std::string(", no record left") : ", record " + e.record.substr(0, 16)) +
            (e.detail.empty() ? std::string() : ", " + e.detail);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> AuditLines(const std::vector<AuditEntry>& entries) {
    std::vector<std::string> lines;
    const std::vector<HistoryRow> rows = AuditRows(entries);
    for (size_t i = 0; i < rows.size(); ++i) {
        const HistoryRow& row = rows[i];
        std::string last = row.cells.back();
        // On paper an import's long detail goes on a line of its own, so that no line runs off
        // the sheet.
        if (!entries[i].detail.empty()) last.resize(last.size() - entries[i].detail.size() - 2);
        lines.push_back(row.cells[0] + "  " + row.cells[1] + "  " + row.cells[2] + "  " + last);
        if (!entries[i].detail.empty()) lines.push_back("        " + entries[i].detail);
    }
    return lines;
}

void MainForm::ClickHistory() {
    if (Visible(Control::Panel3D12)) {
        CloseHistory();
        return;
    }
    if (Text(Control::Text1).empty()) {
        dialogs_.Notice("No aircraft identified.", "Press OK to continue", Icon::Information);
        return;
    }
    history = RecordChain{};
    history.tail = Text(Control::Text1);
    if (records) {
        try {
            history = ReadHistory(records->db(), Text(Control::Text1));
            ReadHistoryMarks();
        } catch (const std::exception& e) {
            dialogs_.Notice("History not read", std::string(e.what()) + "\n\nPress OK to continue",
                            Icon::Critical);
            return;
        }
    }
    ReadReweighAdvice();
    ++historyReads;
    // Only a Worksheet that is not yet stored may take the latest record as its start.
    SetEnabled(Control::Command3D42, FreshWorksheet == 1 && history.Latest() != nullptr);
    SetVisible(Control::Panel3D12, true);
    for (Control c : kLockedByHistory)
        SetEnabled(c, false);
    SetFocus(Enabled(Control::Command3D42) ? Control::Command3D42 : Control::Command3D41);
}

void MainForm::CloseHistory() {
    SetVisible(Control::Panel3D12, false);
    for (Control c : kLockedByHistory)
        SetEnabled(c, true);
}

void MainForm::StartFromLatest() {
    const ChainEntry* latest = history.Latest();
    if (latest == nullptr || FreshWorksheet != 1) return;
    // In the latest record's units: its figures are in them.
    if (latest->units != wb::Units(ws)) {
        SetUnits(ws, latest->units);
        ShowAllRows(ws);
    }
    // Written as a weighing writes these boxes, then the row built as leaving them builds it.
    SetText(Control::Text9, FormatNumber(latest->newWeight, PatternsOf(latest->units).weighedWeight));
    SetText(Control::Text10, FormatNumber(latest->newArm, PatternsOf(latest->units).weighedCg));
    BuildPreviousEmptyRow(Field::Empty);
    CloseHistory();
    SetFocus(Control::Grid1);
}

}  // namespace wb
