// The weight and balance record of one aircraft: under the company header, every stored
// Worksheet of the tail in date order, what it supersedes, its superseded versions, the breaks
// in the chain and the change since the last weighing.
#include <array>

#include "reports/PageBlocks.h"
#include "reports/Reports.h"
#include "worksheet/Format.h"
#include "worksheet/Units.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

constexpr double kLineStep = 190;  // a value line at 7 pt
constexpr double kNoteStep = 160;  // a note line at 6 pt
constexpr double kFootRoom = 400;  // kept free at the foot of each sheet

struct Column {
    std::string_view heading;
    double x;      // left edge, or right edge when right-aligned
    double width;  // room for a left-aligned text
    bool right;
};
// Date, work order, kind, previous empty weight and C.G., installed, removed, new weight, C.G.
// and moment, useful load, mechanic and certificate.
constexpr std::array<Column, 12> kColumns = {{
    {"Date", 100, 880, false},
    {"Work Order", 1000, 900, false},
    {"Kind", 1950, 880, false},
    {"Prev. Empty", 3700, 0, true},
    {"Prev. C.G.", 4500, 0, true},
    {"Installed", 5350, 0, true},
    {"Removed", 6200, 0, true},
    {"New Empty", 7150, 0, true},
    {"New C.G.", 7900, 0, true},
    {"New Moment", 9000, 0, true},
    {"Useful Load", 9900, 0, true},
    {"Mechanic, Cert", 10000, 1500, false},
}};

// A text cut, character by character, until it fits its column: a long work order or name
// must not run into the next column.
std::string Fitted(const Page& page, const std::string& text, double width) {
    size_t chars = CharCount(text);
    std::string fitted = text;
    while (chars > 0 && page.TextWidth(fitted) > width)
        fitted = FirstChars(text, --chars);
    return fitted;
}

class RecordWriter {
  public:
    RecordWriter(Page& page, const ReportInput& in) : page_(page), in_(in) {}

    void Print() {
        page_.SetUnitsTwips();
        y_ = in_.options.company ? PrintCompanyBlock(page_, in_) : 100;
        page_.SetFont({"Arial", 12, true, false});
        page_.SetCurrentY(y_);
        PrintCentred(page_, "Weight and Balance Record", Ending::NewLine);
        page_.SetFont({"Arial", 10, false, false});
        y_ += 330;
        const std::string tail = Trimmed(in_.history.tail);
        PrintAt(page_, 100, y_, "Reg. Number:  " + tail);
        PrintAt(page_, 3000, y_,
                "Make/Model:  " + Trimmed(in_.Get(Field::Make)) + "  " + Trimmed(in_.Get(Field::Model)));
        PrintAt(page_, 7500, y_, "Serial Number:  " + Trimmed(in_.Get(Field::Serial)));
        y_ += 230;
        // The units of the latest Worksheet; a line in another system says so under it.
        const UnitSystem u = in_.history.units;
        PrintAt(page_, 100, y_,
                "Weights in " + std::string(WeightUnit(u)) + ", C.G.s in " + std::string(ArmUnit(u)) +
                    ", moments in " + std::string(MomentUnit(u)));
        y_ += 250;
        page_.SetLineWidth(kHeavyPen);
        page_.Line(kRuleLeft, y_, kRuleRight, y_);
        page_.SetLineWidth(kThinPen);
        Headings();

        if (in_.history.lines.empty()) {
            page_.SetFont({"Arial", 8, false, true});
            PrintAt(page_, 100, y_, "No Worksheet of this aircraft is stored.");
            y_ += kLineStep;
        }
        bool first = true;
        for (const ChainLine& line : in_.history.lines) {
            if (line.deleted) {
                Block(line.entry, true, {Superseded(line.entry)}, false);
                continue;
            }
            std::vector<std::string> notes;
            if (line.breaks) {
                notes.push_back("BREAK IN THE CHAIN: starts at " + Start(line.entry) +
                                ", but the computation dated " + line.supersedes + " ended at " +
                                line.endBeforeWeight + " / " + line.endBeforeArm);
            } else if (!line.supersedes.empty()) {
                notes.push_back("Supersedes the computation dated " + line.supersedes);
            } else if (first) {
                notes.push_back("First record of this aircraft");
            }
            first = false;
            Block(line.entry, false, notes, line.breaks);
            for (const ChainEntry& earlier : line.earlier)
                Block(earlier, true, {Superseded(earlier)}, false);
        }

        Room(kLineStep + 200);
        page_.Line(kRuleLeft, y_, kRuleRight, y_);
        page_.SetFont({"Arial", 9, true, false});
        PrintAt(page_, 100, y_ + 60, ChainSummary(in_.history), Ending::NewLine);
        y_ += 60 + kLineStep;
        AuditTrail();
        page_.EndDocument();
    }

  private:
    static std::string Start(const ChainEntry& e) {
        return e.startWeight.empty() ? "no previous empty weight" : e.startWeight + " / " + e.startArm;
    }

    std::string Superseded(const ChainEntry& e) const {
        std::string note =
            e.reason == "deleted" ? "Deleted version, deleted " : "Superseded version, replaced ";
        note += e.supersededAt;
        if (e.tail != in_.history.tail) note += " (tail " + e.tail + ")";
        return note;
    }

    void Headings() {
        page_.SetFont({"Arial", 7, true, false});
        const double y = y_ + 40;
        for (const Column& c : kColumns) {
            page_.SetCurrentY(y);
            if (c.right) {
                PrintRightAligned(page_, c.x, c.heading);
            } else {
                page_.SetCurrentX(c.x);
                page_.Print(c.heading, Ending::Stay);
            }
        }
        y_ += 250;
        page_.Line(kRuleLeft, y_, kRuleRight, y_);
        y_ += 40;
    }

    // Every event that changed the tail's stored records, oldest first.
    void AuditTrail() {
        if (in_.auditLines.empty()) return;
        Room(kLineStep * 2);
        y_ += kLineStep;
        page_.SetFont({"Arial", 9, true, false});
        PrintAt(page_, 100, y_, "Audit trail");
        y_ += kLineStep + 40;
        page_.SetFont({"Arial", 6, false, false});
        for (const std::string& line : in_.auditLines) {
            Room(kNoteStep);
            page_.SetFont({"Arial", 6, false, false});
            PrintAt(page_, 100, y_, line);
            y_ += kNoteStep;
        }
    }

    // Continues on a fresh sheet, under the headings again, when `height` would not fit.
    void Room(double height) {
        if (y_ + height <= page_.PrintableTop() + page_.PrintableHeight() - kFootRoom) return;
        page_.NewSheet();
        y_ = page_.PrintableTop() + 300;
        Headings();
    }

    // One version: its values on one line, its notes under it. A superseded version is set in
    // italics and indented notes; a break is printed bold.
    void Block(const ChainEntry& e, bool superseded, std::vector<std::string> notes, bool breaks) {
        if (e.units != in_.history.units)
            notes.insert(notes.begin(), "Figures in " + std::string(UnitsName(e.units)));
        Room(kLineStep + kNoteStep * static_cast<double>(notes.size()));
        page_.SetFont({"Arial", 7, false, superseded});
        std::vector<std::string> cells = ChainCells(e);
        cells.push_back(e.by.empty() && e.cert.empty() ? "" : e.by + ", " + e.cert);
        for (size_t i = 0; i < kColumns.size(); ++i) {
            const Column& c = kColumns[i];
            page_.SetCurrentY(y_);
            if (c.right) {
                PrintRightAligned(page_, c.x, cells[i]);
            } else {
                page_.SetCurrentX(c.x);
                page_.Print(Fitted(page_, cells[i], c.width), Ending::Stay);
            }
        }
        y_ += kLineStep;
        page_.SetFont({"Arial", 6, breaks, true});
        for (const std::string& note : notes) {
            PrintAt(page_, superseded ? 1300 : 1000, y_, note);
            y_ += kNoteStep;
        }
        y_ += 30;
    }

    Page& page_;
    const ReportInput& in_;
    double y_ = 0;
};

}  // namespace

void PrintRecordReport(const ReportInput& in, Page& page) {
    RecordWriter(page, in).Print();
}

}  // namespace wb
