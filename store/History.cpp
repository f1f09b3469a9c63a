#include "store/History.h"

#include <algorithm>

#include "store/CaseFold.h"
#include "store/LoadingRows.h"
#include "store/Schema.h"
#include "worksheet/Balance.h"
#include "worksheet/Dates.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

constexpr const char* kEquipmentColumns =
    "Tail, \"Date\", RowNum, Description, Serial, Weight, Arm, Install, Remove, List";

std::string QuotedAircraftColumns() {
    std::string names;
    for (const AircraftColumn& c : AircraftColumns()) {
        if (!names.empty()) names += ", ";
        names += Quoted(c.name);
    }
    return names;
}

// The columns a Worksheet's chain values are worked out from, in this order.
constexpr const char* kHeaderColumns =
    "Tail, \"Date\", Work, \"By\", Cert, MaxWt, Empty, CG, Serial, "
    "J1Tar, J2Tar, J3Tar, J4Tar, J5Tar, J1Wgt, J2Wgt, J3Wgt, J4Wgt, J5Wgt, "
    "J1Arm, J2Arm, J3Arm, J4Arm, J5Arm, F1Wgt, F2Wgt, F3Wgt, F4Wgt, F5Wgt, "
    "F1Arm, F2Arm, F3Arm, F4Arm, F5Arm, Units";
constexpr int kScaleFrom = 9;
constexpr int kUnitsAt = kScaleFrom + 25;

std::string Shown(const Entry& e, std::string_view pattern) {
    return e.IsNumber() ? e.Formatted(pattern) : FormatNumber(e.Value(), pattern);
}

// Reads stored versions, live or superseded, with statements prepared once per history.
class EntryReader {
  public:
    explicit EntryReader(Database& db)
        : liveHeader_(db.Prepare(std::string("SELECT ") + kHeaderColumns + " FROM Aircraft WHERE Id = ?")),
          keptHeader_(db.Prepare(std::string("SELECT ") + kHeaderColumns +
                                 ", Superseded, Reason FROM AircraftRevision WHERE Id = ?")),
          liveChanges_(db.Prepare("SELECT RowNum, Description, Weight, Arm, Install, Remove FROM Equipment "
                                  "WHERE FoldedTail = ? AND \"Date\" = ? AND List = "
                                  "'changes' AND RowNum BETWEEN 0 AND 29 "
                                  "ORDER BY RowNum, Id")),
          keptChanges_(db.Prepare(
              "SELECT RowNum, Description, Weight, Arm, Install, Remove FROM EquipmentRevision "
              "WHERE RevisionId = ? AND List = 'changes' AND RowNum BETWEEN 0 AND 29 ORDER BY RowNum, Id")) {}

    std::optional<ChainEntry> Live(std::int64_t id) {
        liveHeader_.Reset();
        liveHeader_.Bind(1, id);
        if (!liveHeader_.Step()) return std::nullopt;
        liveChanges_.Reset();
        liveChanges_.BindAll({FoldCase(liveHeader_.Text(0).value_or("")), liveHeader_.Text(1).value_or("")});
        return Read(id, liveHeader_, liveChanges_);
    }

    std::optional<ChainEntry> Kept(std::int64_t revisionId) {
        keptHeader_.Reset();
        keptHeader_.Bind(1, revisionId);
        if (!keptHeader_.Step()) return std::nullopt;
        keptChanges_.Reset();
        keptChanges_.Bind(1, revisionId);
        ChainEntry e = Read(revisionId, keptHeader_, keptChanges_);
        const int last = keptHeader_.ColumnCount();
        e.supersededAt = keptHeader_.Text(last - 2).value_or("");
        e.reason = keptHeader_.Text(last - 1).value_or("");
        return e;
    }

  private:
    // The stores a load fills, as far as the computation reads them, then the computation.
    ChainEntry Read(std::int64_t id, Statement& header, Statement& changes) {
        ws_.InstalledList().entries.assign(ws_.InstalledList().entries.size(), Entry());
        ws_.Set(Field::Units, header.Text(kUnitsAt).value_or(""));
        ws_.Set(Field::Empty, header.Text(6).value_or(""));
        ws_.Set(Field::CG, header.Text(7).value_or(""));
        ws_.Set(Field::Serial, header.Text(8).value_or(""));
        for (int n = 0; n < 5; ++n) {
            ws_.ScaleRows().At(n, scale::Tar) = header.Text(kScaleFrom + n).value_or("");
            ws_.ScaleRows().At(n, scale::Wgt) = header.Text(kScaleFrom + 5 + n).value_or("");
            ws_.ScaleRows().At(n, scale::Arm) = header.Text(kScaleFrom + 10 + n).value_or("");
            ws_.FluidRows().At(n, fluid::Wgt) = header.Text(kScaleFrom + 15 + n).value_or("");
            ws_.FluidRows().At(n, fluid::Arm) = header.Text(kScaleFrom + 20 + n).value_or("");
        }
        // As a load shows the change list: the first row under a number, only marked rows
        // and the previous-empty row.
        RowStore& list = ws_.InstalledList();
        std::int64_t last = -1;
        while (changes.Step()) {
            const std::int64_t n = changes.Int(0);
            if (n == last) continue;
            last = n;
            const std::string description = changes.Text(1).value_or("");
            const bool install = !changes.IsNull(4) && changes.Int(4) != 0;
            const bool remove = !changes.IsNull(5) && changes.Int(5) != 0;
            const bool previous = description == kPreviousEmpty;
            if (!install && !remove && !previous) continue;
            const int r = static_cast<int>(n);
            list.At(r, installed::Description) = description;
            list.At(r, installed::Weight) = changes.Text(2).value_or("");
            list.At(r, installed::Arm) = changes.Text(3).value_or("");
            list.At(r, installed::Install) =
                previous ? std::string(kNoMark) : std::string(install ? "X" : "");
            list.At(r, installed::Remove) = previous ? std::string() : std::string(remove ? "X" : "");
        }
        Recalculate(ws_);

        ChainEntry e;
        e.id = id;
        e.units = Units(ws_);
        e.tail = header.Text(0).value_or("");
        const std::string iso = header.Text(1).value_or("");
        const auto date = ParseIsoDate(iso);
        e.date = date ? ShownDate(*date) : iso;
        e.work = header.Text(2).value_or("");
        e.by = header.Text(3).value_or("");
        e.cert = header.Text(4).value_or("");
        e.weighed = ws_.values.ScaleArm != 0;
        if (list.At(0, installed::Description).Text() == kPreviousEmpty) {
            e.startWeight = Shown(list.At(0, installed::Weight), PatternsOf(e.units).newWeight);
            e.startArm = Shown(list.At(0, installed::Arm), PatternsOf(e.units).newArm);
        }
        for (int r = 0; r < list.rows; ++r) {
            const double w = list.At(r, installed::Weight).Value();
            if (list.At(r, installed::Install).Text() == "X") e.installed += w;
            if (list.At(r, installed::Remove).Text() == "X") e.removed += w;
        }
        e.newWeight = ws_.values.NewWeight;
        e.newArm = ws_.values.NewArm;
        e.newMoment = ws_.values.NewMoment;
        e.usefulLoad = UsefulLoad(header.Text(5).value_or(""), LeadingNumber(e.NewWeightText()));
        return e;
    }

    Statement liveHeader_, keptHeader_, liveChanges_, keptChanges_;
    Worksheet ws_;
};

std::string_view ReasonText(Supersession why) {
    return why == Supersession::Deleted ? "deleted" : "replaced";
}

}  // namespace

bool RevisionKeeper::Keep(std::int64_t aircraftId, Supersession why) {
    Statement pair = db_.Prepare("SELECT Tail, \"Date\", " + std::string(kWorksheetIdentity) +
                                 " FROM Aircraft WHERE Id = ?");
    pair.Bind(1, aircraftId);
    if (!pair.Step()) return false;
    const std::int64_t worksheet = pair.Int(2);
    const std::string columns = QuotedAircraftColumns();
    // Named by the Worksheet's identity at once: the versions it has already stay as they are.
    Statement header = db_.Prepare(
        "INSERT INTO AircraftRevision (AircraftId, Superseded, Reason, WorksheetId, FoldedTail, " + columns +
        ") SELECT Id, " + std::string(db_.engine().LocalNowSql()) + ", ?, " +
        std::string(kWorksheetIdentity) + ", FoldedTail, " + columns + " FROM Aircraft WHERE Id = ?");
    header.BindAll({std::string(ReasonText(why)), aircraftId});
    header.Run();
    const std::int64_t revision = db_.LastInsertRowid();
    // The rows a load would read with it: those of its Tail and Date.
    Statement lists = db_.Prepare(std::string("INSERT INTO EquipmentRevision (RevisionId, ") +
                                  kEquipmentColumns + ") SELECT CAST(? AS INTEGER), " + kEquipmentColumns +
                                  " FROM Equipment WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id");
    lists.BindAll({revision, FoldCase(pair.Text(0).value_or("")), pair.Text(1).value_or("")});
    lists.Run();
    Statement loading = db_.Prepare(std::string("INSERT INTO LoadingRevision (RevisionId, ") + kLoadingColumns +
                                    ") SELECT CAST(? AS INTEGER), " + kLoadingColumns +
                                    " FROM Loading WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id");
    loading.BindAll({revision, FoldCase(pair.Text(0).value_or("")), pair.Text(1).value_or("")});
    loading.Run();
    kept_.push_back({revision, worksheet});
    return true;
}

std::optional<std::int64_t> RevisionKeeper::Identity() const {
    if (kept_.empty()) return std::nullopt;
    return kept_.front().worksheet;
}

void RevisionKeeper::StoredAs(std::optional<std::int64_t> newAircraftId) {
    const std::optional<std::int64_t> identity = newAircraftId ? Identity() : std::nullopt;
    // Only a deletion, or a save that merges other Worksheets of the same Tail and Date into
    // this one, moves versions from one identity to another; a plain save moves none.
    Statement follow = db_.Prepare("UPDATE AircraftRevision SET WorksheetId = ? WHERE WorksheetId = ?");
    Statement own = db_.Prepare("UPDATE AircraftRevision SET ReplacedBy = ? WHERE Id = ?");
    for (const Kept& k : kept_) {
        if (k.worksheet != identity) {
            follow.Reset();
            follow.Bind(1, identity ? Value(*identity) : Value());
            follow.Bind(2, k.worksheet);
            follow.Run();
        }
        if (!newAircraftId) continue;
        own.Reset();
        own.Bind(1, *newAircraftId);
        own.Bind(2, k.revision);
        own.Run();
    }
    kept_.clear();
}

RecordChain ReadHistory(Database& db, std::string_view tail) {
    RecordChain chain;
    chain.tail = std::string(tail);
    EntryReader reader(db);
    Statement earlier = db.Prepare("SELECT Id FROM AircraftRevision WHERE WorksheetId = ? ORDER BY Id DESC");

    struct Dated {
        std::string iso;
        ChainLine line;
    };
    std::vector<Dated> dated;
    Statement live = db.Prepare("SELECT Id, \"Date\", " + std::string(kWorksheetIdentity) +
                                " FROM Aircraft WHERE FoldedTail = ? ORDER BY \"Date\", Id");
    live.Bind(1, FoldCase(tail));
    while (live.Step()) {
        auto entry = reader.Live(live.Int(0));
        if (!entry) continue;
        ChainLine line;
        line.entry = std::move(*entry);
        earlier.Reset();
        earlier.Bind(1, live.Int(2));
        while (earlier.Step())
            if (auto kept = reader.Kept(earlier.Int(0))) line.earlier.push_back(std::move(*kept));
        dated.push_back({live.Text(1).value_or(""), std::move(line)});
    }
    // Versions of deleted Worksheets go in among the others by their date, after any stored
    // one of the same date.
    Statement orphans = db.Prepare(
        "SELECT Id, \"Date\" FROM AircraftRevision WHERE FoldedTail = ? AND WorksheetId IS "
        "NULL ORDER BY \"Date\", "
        "Id");
    orphans.Bind(1, FoldCase(tail));
    while (orphans.Step()) {
        auto entry = reader.Kept(orphans.Int(0));
        if (!entry) continue;
        ChainLine line;
        line.entry = std::move(*entry);
        line.deleted = true;
        dated.push_back({orphans.Text(1).value_or(""), std::move(line)});
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const Dated& a, const Dated& b) { return a.iso < b.iso; });
    chain.lines.reserve(dated.size());
    for (Dated& d : dated)
        chain.lines.push_back(std::move(d.line));
    LinkChain(chain);
    return chain;
}

}  // namespace wb
