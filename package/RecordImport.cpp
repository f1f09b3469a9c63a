// Import: the package is checked whole (manifest, schema, every record's hash, every
// signature, every audit entry's hash) before anything is stored; then what the database does
// not hold yet is stored in one transaction, and checked again as stored.
#include <sodium.h>

#include <map>
#include <set>

#include "package/RecordPackage.h"
#include "package/RecordRows.h"
#include "package/SchemaCheck.h"
#include "store/Audit.h"
#include "store/Canonical.h"
#include "store/CaseFold.h"
#include "store/Signing.h"
#include "store/Verify.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

using record::json;

std::string Shown(const std::string& tail, const std::string& isoDate) {
    const auto d = ParseIsoDate(isoDate);
    return tail + " " + (d ? ShownDate(*d) : isoDate);
}

SignatureInfo SignatureFrom(const json& o, const std::string& tail, const std::string& date) {
    SignatureInfo s;
    s.tail = tail;
    s.date = date;
    s.signerName = o.at("signerName");
    s.certKind = o.at("certKind");
    s.certNumber = o.at("certNumber");
    s.publicKey = o.at("publicKey");
    s.statement = o.at("statement");
    s.signedAt = o.at("signed");
    s.form = o.at("form");
    s.previous = o.value("previous", "");
    s.hash = o.at("hash");
    s.signature = o.at("ed25519");
    return s;
}

AuditEntry AuditFrom(const json& o) {
    AuditEntry e;
    e.at = o.at("at");
    e.user = o.at("user");
    e.workstation = o.at("workstation");
    e.event = o.at("event");
    e.tail = o.value("tail", "");
    e.date = o.value("date", "");
    e.record = o.value("record", "");
    e.previous = o.value("previous", "");
    e.hash = o.at("hash");
    e.detail = o.value("detail", "");
    return e;
}

bool SignatureVerifies(const std::string& record, const SignatureInfo& s) {
    const std::string text = SignedText(record, s);
    const auto key = FromHex(s.publicKey, crypto_sign_PUBLICKEYBYTES);
    const auto signature = FromHex(s.signature, crypto_sign_BYTES);
    return key && signature && Sha256Hex(text) == s.hash &&
           crypto_sign_verify_detached(signature->data(), reinterpret_cast<const unsigned char*>(text.data()),
                                       text.size(), key->data()) == 0;
}

// One Worksheet of the package, checked.
struct Incoming {
    const json* w;
    std::string tail, date, canonical, hash;
    std::optional<SignatureInfo> signature;
};

// Everything that can be known wrong without the database: nothing is stored before it passes.
std::vector<Incoming> CheckDocument(const json& doc, std::string& tail) {
    if (doc.is_object() && doc.contains("formatVersion") && doc.at("formatVersion").is_number_integer() &&
        doc.at("formatVersion").get<std::int64_t>() > 1)
        throw PackageError("record.json was written by a newer version of this program (format " +
                           doc.at("formatVersion").dump() + "). Install that version to import it.");
    if (const std::string why = SchemaViolation(doc, RecordSchema()); !why.empty())
        throw PackageError("record.json does not follow the record schema: " + why);
    tail = doc.at("tail");
    std::vector<Incoming> all;
    std::set<std::pair<std::string, std::string>> seen;
    for (const json& w : doc.at("worksheets")) {
        Incoming in{&w, w["record"]["aircraft"]["tail"], w["record"]["aircraft"]["date"], {}, {}, {}};
        if (FoldCase(in.tail) != FoldCase(tail))
            throw PackageError("record.json holds a Worksheet of " + in.tail + " in the record of " + tail +
                               ".");
        if (!seen.emplace(FoldCase(in.tail), in.date).second)
            throw PackageError("record.json holds " + Shown(in.tail, in.date) + " twice.");
        in.canonical = record::Canonical(w.at("record"));
        in.hash = Sha256Hex(in.canonical);
        if (in.hash != w.at("recordHash"))
            throw PackageError(
                "The record of " + Shown(in.tail, in.date) +
                " in record.json does not match its record hash: it was changed after export.");
        if (w.contains("signature")) {
            in.signature = SignatureFrom(w.at("signature"), in.tail, in.date);
            if (!SignatureVerifies(in.canonical, *in.signature))
                throw PackageError("The signature of " + Shown(in.tail, in.date) + " by " +
                                   in.signature->signerName +
                                   " does not verify: the record or the signature was "
                                   "changed after it was signed.");
        }
        all.push_back(std::move(in));
    }
    for (const json& o : doc.at("auditTrail")) {
        const AuditEntry e = AuditFrom(o);
        if (Sha256Hex(AuditEntryText(e)) != e.hash)
            throw PackageError("The audit entry \"" + e.event + "\" of " + e.at +
                               " in record.json was changed after it was made.");
    }
    return all;
}

// The package's signed records in their chain's order, from the first; refused unless every
// one follows the one before.
std::vector<const Incoming*> SignatureChain(const std::vector<Incoming>& all) {
    std::map<std::string, const Incoming*> byPrevious;
    size_t count = 0;
    for (const Incoming& in : all)
        if (in.signature) {
            ++count;
            if (!byPrevious.emplace(in.signature->previous, &in).second)
                throw PackageError(
                    "Two signed records of " + in.tail +
                    " in record.json follow the same one: the chain of signed records is broken.");
        }
    std::vector<const Incoming*> chain;
    std::string last;
    for (auto next = byPrevious.find(last); next != byPrevious.end(); next = byPrevious.find(last)) {
        chain.push_back(next->second);
        last = next->second->signature->hash;
    }
    if (chain.size() != count)
        throw PackageError(
            "A signed record of the package's chain of signed records is missing from record.json.");
    return chain;
}

const std::set<std::string> kAircraftInternal = {"id", "worksheetid"};

class Importer {
  public:
    Importer(Database& db, std::string source)
        : db_(db),
          source_(std::move(source)),
          aircraft_(db, "Aircraft", kAircraftInternal),
          equipment_(db, "Equipment", {"id"}),
          loading_(db, "Loading", {"id"}),
          revision_(db, "AircraftRevision", {"id", "aircraftid", "replacedby", "worksheetid"}),
          equipmentRevision_(db, "EquipmentRevision", {"id", "revisionid"}),
          loadingRevision_(db, "LoadingRevision", {"id", "revisionid"}) {}

    std::int64_t Worksheet(const Incoming& in) {
        const json& r = in.w->at("record");
        const std::string where = Shown(in.tail, in.date);
        const std::int64_t id = record::InsertRow(db_, "Aircraft", aircraft_, r.at("aircraft"), {}, where);
        Rows(r, "Equipment", equipment_, {}, where);
        Rows(r, "Loading", loading_, {}, where);
        return id;
    }

    void Version(const json& v, std::optional<std::int64_t> of, const std::string& where) {
        std::vector<std::pair<std::string, Value>> extra = {
            {"Superseded", v.at("superseded").get<std::string>()},
            {"Reason", v.at("reason").get<std::string>()}};
        if (of) {
            extra.emplace_back("WorksheetId", *of);
            extra.emplace_back("ReplacedBy", *of);
        }
        const std::int64_t revision =
            record::InsertRow(db_, "AircraftRevision", revision_, v.at("aircraft"), extra, where);
        Rows(v, "EquipmentRevision", equipmentRevision_, {{"RevisionId", revision}}, where);
        Rows(v, "LoadingRevision", loadingRevision_, {{"RevisionId", revision}}, where);
    }

  private:
    void Rows(const json& from, std::string_view table, const record::Columns& columns,
              const std::vector<std::pair<std::string, Value>>& extra, const std::string& where) {
        const std::string key = table.rfind("Equipment", 0) == 0 ? "equipment" : "loading";
        if (!from.contains(key)) return;
        for (const json& row : from.at(key))
            record::InsertRow(db_, table, columns, row, extra, where + " (" + key + ")");
    }

    Database& db_;
    std::string source_;
    record::Columns aircraft_, equipment_, loading_, revision_, equipmentRevision_, loadingRevision_;
};

// The signer of a signature made elsewhere: one of this database's with the same key, or a new
// row that keeps the key for verification and can never sign here.
std::int64_t SignerFor(Database& db, const SignatureInfo& s, const std::string& source) {
    Statement find = db.Prepare("SELECT Id FROM Signer WHERE PublicKey = ? ORDER BY Id LIMIT 1");
    find.Bind(1, s.publicKey);
    if (find.Step()) return find.Int(0);
    Statement add = db.Prepare(
        "INSERT INTO Signer (Name, CertKind, CertNumber, PublicKey, SealedKey, Salt, Nonce, OpsLimit, "
        "MemLimit, "
        "Retired, Added, Origin) VALUES (?, ?, ?, ?, '', '', '', 0, 0, 1, ?, ?)");
    add.BindAll({s.signerName, s.certKind, s.certNumber, s.publicKey, UtcNow(), source});
    add.Run();
    return db.LastInsertRowid();
}

}  // namespace

std::string ImportOutcome::Text() const {
    if (imported == 0)
        return "Nothing new: every Worksheet of " + tail + " in the package (" + std::to_string(skipped) +
               ") is held already. Nothing was stored.";
    std::string text = std::to_string(imported) + (imported == 1 ? " Worksheet" : " Worksheets") + " of " +
                       tail + " imported";
    std::vector<std::string> with;
    if (versions)
        with.push_back(std::to_string(versions) + (versions == 1 ? " earlier version" : " earlier versions"));
    if (signatures)
        with.push_back(std::to_string(signatures) + (signatures == 1 ? " signature" : " signatures"));
    if (auditEntries)
        with.push_back(std::to_string(auditEntries) +
                       (auditEntries == 1 ? " audit entry" : " audit entries"));
    for (size_t i = 0; i < with.size(); ++i)
        text += (i == 0 ? ", with " : i + 1 == with.size() ? " and " : ", ") + with[i];
    text += ".";
    if (skipped)
        text += " " + std::to_string(skipped) + (skipped == 1 ? " Worksheet was" : " Worksheets were") +
                " held already and left as they are.";
    return text + " Every signature verifies.";
}

ImportOutcome ImportPackage(Database& db, const std::filesystem::path& file, Progress& progress) {
    progress.Report(0, 0, "Checking the package");
    const std::vector<PackageFile> files = ReadPackage(file);
    const PackageFile* jsonFile = nullptr;
    std::string manifestHash;
    for (std::string_view needed : {kRecordPdfFile, kRecordJsonFile, kRecordSchemaFile}) {
        const PackageFile* found = nullptr;
        for (const PackageFile& f : files)
            if (f.name == needed) found = &f;
        if (!found) throw PackageError("The package lacks " + std::string(needed) + ".");
        if (needed == kRecordJsonFile) jsonFile = found;
    }
    manifestHash = Sha256Hex(ManifestText(files));
    json doc;
    try {
        doc = json::parse(jsonFile->bytes);
    } catch (const json::exception& e) {
        throw PackageError("record.json is not JSON that can be read: " + std::string(e.what()));
    }
    std::string tail;
    std::vector<Incoming> all;
    std::vector<const Incoming*> chain;
    try {
        all = CheckDocument(doc, tail);
        chain = SignatureChain(all);
    } catch (const json::exception& e) {
        // The schema admits only what is read here; this is the last guard, not a rule.
        throw PackageError("record.json cannot be read as a record: " + std::string(e.what()));
    }
    StopIfCancelled(progress);

    const json& exported = doc.at("exported");
    const std::string source =
        "from \"" + file.filename().string() + "\" (SHA256SUMS " + manifestHash.substr(0, 16) +
        "), exported " + exported.at("at").get<std::string>() + " by " +
        exported.at("user").get<std::string>() + " at " + exported.at("workstation").get<std::string>() +
        (exported.contains("shop") ? ", " + exported.at("shop").get<std::string>() : "");

    ImportOutcome outcome;
    outcome.tail = tail;
    Transaction tx(db);
    db.engine().LockNames({FoldCase(tail)});
    // The signed records held here must be the start of the package's chain: a record never
    // joins a chain it did not grow in.
    const std::vector<SignatureInfo> held = SignaturesOf(db, tail);
    for (size_t i = 0; i < held.size(); ++i)
        if (i >= chain.size() || chain[i]->signature->hash != held[i].hash)
            throw PackageError("The signed records of " + tail + " held here are not those of the package (" +
                               Shown(held[i].tail, held[i].date) +
                               " differs): signed records are never merged.");

    CanonicalReader reader(db);
    Importer importer(db, source);
    std::map<std::pair<std::string, std::string>, std::int64_t> stored;  // the Worksheets stored now
    for (size_t i = 0; i < all.size(); ++i) {
        const Incoming& in = all[i];
        progress.Report(static_cast<std::int64_t>(i), static_cast<std::int64_t>(all.size()),
                        "Importing the records of " + tail);
        StopIfCancelled(progress);
        if (const auto id = reader.Find(in.tail, in.date)) {
            const auto text = reader.Record(*id);
            if (text && Sha256Hex(*text) == in.hash) {
                ++outcome.skipped;
                continue;
            }
            throw PackageError(Shown(in.tail, in.date) +
                               " is held here with other figures: a stored record is never overwritten or "
                               "merged.");
        }
        const std::int64_t id = importer.Worksheet(in);
        stored[{FoldCase(in.tail), in.date}] = id;
        ++outcome.imported;
        if (in.w->contains("versions"))
            for (const json& v : in.w->at("versions")) {
                importer.Version(v, id, Shown(in.tail, in.date) + " (an earlier version)");
                ++outcome.versions;
            }
        if (in.w->contains("correction")) {
            const json& c = in.w->at("correction");
            Statement add = db.Prepare(
                "INSERT INTO Correction (Tail, FoldedTail, \"Date\", CorrectionDate, Reason, Made) VALUES "
                "(?, ?, ?, "
                "?, ?, ?)");
            add.BindAll({in.tail, FoldCase(in.tail), in.date, c.at("correctionDate").get<std::string>(),
                         c.at("reason").get<std::string>(), c.at("made").get<std::string>()});
            add.Run();
        }
    }
    // The versions of deleted Worksheets that are not held here already.
    Statement heldVersion = db.Prepare(
        "SELECT 1 FROM AircraftRevision WHERE FoldedTail = ? AND \"Date\" = ? AND Superseded = ? AND "
        "WorksheetId IS "
        "NULL");
    for (const json& v : doc.at("deletedVersions")) {
        const std::string date = v["aircraft"]["date"];
        heldVersion.Reset();
        heldVersion.BindAll({FoldCase(tail), date, v.at("superseded").get<std::string>()});
        const bool isHeld = heldVersion.Step();
        heldVersion.Reset();
        if (isHeld) continue;
        importer.Version(v, std::nullopt, Shown(tail, date) + " (a deleted Worksheet)");
        ++outcome.versions;
    }
    for (size_t i = held.size(); i < chain.size(); ++i) {
        const SignatureInfo& s = *chain[i]->signature;
        Statement insert = db.Prepare(
            "INSERT INTO Signature (Tail, FoldedTail, \"Date\", SignerId, SignerName, CertKind, CertNumber, "
            "PublicKey, Statement, Signed, Form, Previous, Hash, Ed25519) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, "
            "?, ?, ?)");
        insert.BindAll({s.tail, FoldCase(s.tail), s.date, SignerFor(db, s, source), s.signerName, s.certKind,
                        s.certNumber, s.publicKey, s.statement, s.signedAt, std::int64_t{s.form},
                        s.previous.empty() ? Value() : Value(s.previous), s.hash, s.signature});
        insert.Run();
        ++outcome.signatures;
    }
    if (outcome.imported == 0 && outcome.versions == 0 && outcome.signatures == 0) {
        // Held whole already: a second import changes nothing, not even the audit trail.
        return outcome;
    }
    // The entries the earlier holders made, beside this database's own chain.
    Statement knownEntry = db.Prepare(
        "SELECT 1 FROM ImportedAudit WHERE Hash = ? UNION ALL SELECT 1 FROM AuditTrail WHERE Hash = ?");
    Statement keep = db.Prepare("INSERT INTO ImportedAudit (Source, " + std::string(kAuditColumns) +
                                ", FoldedTail) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    auto orNull = [](const std::string& s) { return s.empty() ? Value() : Value(s); };
    for (const json& o : doc.at("auditTrail")) {
        const AuditEntry e = AuditFrom(o);
        knownEntry.Reset();
        knownEntry.BindAll({e.hash, e.hash});
        const bool known = knownEntry.Step();
        knownEntry.Reset();
        if (known) continue;
        keep.Reset();
        keep.BindAll({source, e.at, e.user, e.workstation, e.event, orNull(e.tail), orNull(e.date),
                      orNull(e.record), orNull(e.previous), e.hash, orNull(e.detail),
                      e.tail.empty() ? Value() : Value(FoldCase(e.tail))});
        keep.Run();
        ++outcome.auditEntries;
    }
    // Stored exactly as exported, or not at all: the record hashes are made again from the rows.
    for (const Incoming& in : all) {
        const auto id = stored.find({FoldCase(in.tail), in.date});
        if (id == stored.end()) continue;
        const auto text = reader.Record(id->second);
        if (!text || Sha256Hex(*text) != in.hash)
            throw PackageError(Shown(in.tail, in.date) + " could not be stored exactly as it was exported.");
        AppendAudit(db, audit::kImport, in.tail, in.date, source);
    }
    const Verification v = VerifyTail(db, tail);
    if (!v.Passed()) throw PackageError("After the import the records would not verify:\n" + FindingsText(v));
    tx.Commit();
    return outcome;
}

}  // namespace wb
