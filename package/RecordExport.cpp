// Export: a tail's every stored Worksheet with its rows, earlier versions, signatures and
// corrections, the versions of its deleted Worksheets, the scales its weighings name and its
// audit entries, as record.json beside the printed record and the schema.
#include <fstream>
#include <iterator>
#include <set>

#include "package/RecordPackage.h"
#include "package/RecordRows.h"
#include "package/SchemaCheck.h"
#include "store/Audit.h"
#include "store/Canonical.h"
#include "store/CaseFold.h"
#include "store/Signing.h"

namespace wb {
namespace {

using record::json;

json SignatureObject(const SignatureInfo& s) {
    json o = {{"signerName", s.signerName},
              {"certKind", s.certKind},
              {"certNumber", s.certNumber},
              {"publicKey", s.publicKey},
              {"statement", s.statement},
              {"signed", s.signedAt},
              {"form", s.form},
              {"hash", s.hash},
              {"ed25519", s.signature}};
    if (!s.previous.empty()) o["previous"] = s.previous;
    return o;
}

json AuditObject(const AuditEntry& e) {
    json o = {
        {"at", e.at}, {"user", e.user}, {"workstation", e.workstation}, {"event", e.event}, {"hash", e.hash}};
    for (const auto& [key, value] :
         {std::pair{"tail", &e.tail}, std::pair{"date", &e.date}, std::pair{"record", &e.record},
          std::pair{"previous", &e.previous}, std::pair{"detail", &e.detail}})
        if (!value->empty()) o[key] = *value;
    return o;
}

// The superseded versions of a tail: each with its rows, keyed by the identity of the stored
// Worksheet it was a version of (nothing for a deleted Worksheet's).
std::vector<std::pair<std::optional<std::int64_t>, json>> VersionsOf(Database& db, const std::string& tail) {
    Statement versions = db.Prepare("SELECT * FROM AircraftRevision WHERE FoldedTail = ? ORDER BY Id");
    versions.Bind(1, FoldCase(tail));
    Statement equipment =
        db.Prepare("SELECT * FROM EquipmentRevision WHERE RevisionId = ? ORDER BY List, RowNum, Id");
    Statement loading =
        db.Prepare("SELECT * FROM LoadingRevision WHERE RevisionId = ? ORDER BY List, RowNum, Id");
    std::vector<std::pair<std::optional<std::int64_t>, json>> all;
    std::vector<std::int64_t> ids;
    while (versions.Step()) {
        std::optional<std::int64_t> of;
        int idColumn = 0;
        std::string superseded, reason;
        for (int c = 0; c < versions.ColumnCount(); ++c) {
            const std::string name = versions.ColumnName(c);
            if (FoldCase(name) == "worksheetid" && !versions.IsNull(c)) of = versions.Int(c);
            if (FoldCase(name) == "id") idColumn = c;
        }
        ids.push_back(versions.Int(idColumn));
        json aircraft = record::RowObject(
            versions, {"id", "aircraftid", "replacedby", "worksheetid", "superseded", "reason"});
        json v = {{"aircraft", std::move(aircraft)}};
        for (int c = 0; c < versions.ColumnCount(); ++c) {
            const std::string name = FoldCase(versions.ColumnName(c));
            if (name == "superseded" || name == "reason") v[name] = versions.Text(c).value_or("");
        }
        all.emplace_back(of, std::move(v));
    }
    for (size_t i = 0; i < all.size(); ++i) {
        for (auto [statement, key] : {std::pair{&equipment, "equipment"}, std::pair{&loading, "loading"}}) {
            statement->Reset();
            statement->Bind(1, ids[i]);
            json rows = json::array();
            while (statement->Step())
                rows.push_back(record::RowObject(*statement, {"id", "revisionid"}));
            if (!rows.empty()) all[i].second[key] = std::move(rows);
        }
    }
    return all;
}

}  // namespace

std::string PackageFileName(const std::string& tail) {
    return (tail.empty() ? std::string("aircraft") : tail) + " weight and balance record.zip";
}

ExportOutcome ExportTail(Database& db, const std::string& tail, const std::filesystem::path& file,
                         const RecordPdfWriter& pdf, Progress& progress) {
    ExportOutcome outcome;
    struct Stored {
        std::int64_t id, identity;
        std::string tail, date;
    };
    std::vector<Stored> stored;
    {
        Statement s = db.Prepare(
            "SELECT Id, COALESCE(WorksheetId, Id), Tail, \"Date\" FROM Aircraft WHERE FoldedTail = ? ORDER "
            "BY "
            "\"Date\", Id");
        s.Bind(1, FoldCase(tail));
        while (s.Step())
            stored.push_back({s.Int(0), s.Int(1), s.Text(2).value_or(""), s.Text(3).value_or("")});
    }
    if (stored.empty())
        throw PackageError("No Worksheet of " + tail + " is stored, so there is nothing to export.");
    outcome.tail = stored.back().tail;

    auto versions = VersionsOf(db, outcome.tail);
    CanonicalReader reader(db);
    json worksheets = json::array();
    std::set<std::string> scaleSerials;
    for (size_t i = 0; i < stored.size(); ++i) {
        progress.Report(static_cast<std::int64_t>(i), static_cast<std::int64_t>(stored.size()),
                        "Gathering the records of " + outcome.tail);
        StopIfCancelled(progress);
        const Stored& row = stored[i];
        const auto text = reader.Record(row.id);
        if (!text) continue;  // removed while the export ran
        json w = {{"record", json::parse(*text)}, {"recordHash", Sha256Hex(*text)}};
        if (const auto s = SignatureOf(db, row.tail, row.date)) {
            w["signature"] = SignatureObject(*s);
            ++outcome.signatures;
        }
        if (const auto c = CorrectionOf(db, row.tail, row.date))
            w["correction"] = {
                {"correctionDate", c->correctionDate}, {"reason", c->reason}, {"made", c->made}};
        json kept = json::array();
        for (auto& [of, v] : versions)
            if (of == row.identity) kept.push_back(v);
        if (!kept.empty()) w["versions"] = std::move(kept);
        worksheets.push_back(std::move(w));
        ++outcome.worksheets;
    }
    json deleted = json::array();
    for (auto& [of, v] : versions) {
        bool stillStored = false;
        for (const Stored& row : stored)
            stillStored = stillStored || of == row.identity;
        if (!stillStored) deleted.push_back(v);
        ++outcome.versions;
    }
    // The scales the weighings name, as the shop keeps them: their calibration stands beside
    // the readings.
    for (const json& w : worksheets)
        for (const auto& [key, value] : w["record"]["aircraft"].items())
            if (key.size() == 7 && key.compare(2, 5, "scale") == 0 && value.is_string())
                scaleSerials.insert(value.get<std::string>());
    json scales = json::array();
    {
        Statement s = db.Prepare("SELECT * FROM Scale WHERE Serial = ?");
        for (const std::string& serial : scaleSerials) {
            s.Reset();
            s.Bind(1, serial);
            if (s.Step()) scales.push_back(record::RowObject(s, {"id"}));
        }
    }
    json audit = json::array();
    for (const AuditEntry& e : ImportedAuditOf(db, outcome.tail))
        audit.push_back(AuditObject(e));
    for (const AuditEntry& e : AuditTrailOf(db, outcome.tail))
        audit.push_back(AuditObject(e));
    outcome.auditEntries = static_cast<std::int64_t>(audit.size());

    json exported = {{"at", UtcNow()}, {"user", AuditUser(db)}, {"workstation", WorkstationName()}};
    {
        Statement shop =
            db.Prepare("SELECT CompName FROM CompanyInfo WHERE CompName IS NOT NULL ORDER BY Id LIMIT 1");
        if (shop.Step() && !shop.Text(0).value_or("").empty()) exported["shop"] = *shop.Text(0);
    }
    const json doc = {{"format", "weight and balance record"},
                      {"formatVersion", 1},
                      {"canonicalForm", kCanonicalForm},
                      {"tail", outcome.tail},
                      {"exported", exported},
                      {"worksheets", std::move(worksheets)},
                      {"deletedVersions", std::move(deleted)},
                      {"scales", std::move(scales)},
                      {"auditTrail", std::move(audit)}};
    // What this program would refuse to import is never written.
    if (const std::string why = SchemaViolation(doc, RecordSchema()); !why.empty())
        throw PackageError("The records of " + outcome.tail +
                           " cannot be exported as they are stored: " + why);
    std::string jsonText;
    try {
        jsonText = doc.dump(1, '\t') + "\n";
    } catch (const json::exception&) {
        throw PackageError("A text of " + outcome.tail +
                           "'s records is not valid UTF-8, so it cannot be written into a package.");
    }

    progress.Report(0, 0, "Printing the record of " + outcome.tail);
    std::error_code ec;
    const std::filesystem::path pdfFile =
        std::filesystem::temp_directory_path(ec) /
        ("weightbalance-" + Sha256Hex(file.string() + UtcNow()).substr(0, 16) + ".pdf");
    std::string pdfBytes;
    try {
        pdf(db, outcome.tail, pdfFile, progress);
        std::ifstream in(pdfFile, std::ios::binary);
        pdfBytes.assign(std::istreambuf_iterator<char>(in), {});
    } catch (...) {
        std::filesystem::remove(pdfFile, ec);
        throw;
    }
    std::filesystem::remove(pdfFile, ec);
    if (pdfBytes.empty()) throw PackageError("The printed record of " + outcome.tail + " could not be made.");
    StopIfCancelled(progress);
    WritePackage(file, {{std::string(kRecordPdfFile), std::move(pdfBytes)},
                        {std::string(kRecordJsonFile), std::move(jsonText)},
                        {std::string(kRecordSchemaFile), RecordSchemaText()}});
    return outcome;
}

}  // namespace wb
