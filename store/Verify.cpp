#include "store/Verify.h"

#include <sodium.h>

#include <map>
#include <set>

#include "store/Audit.h"
#include "store/Canonical.h"
#include "store/CaseFold.h"
#include "store/Signing.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

std::string ShownIso(const std::string& iso) {
    const auto d = ParseIsoDate(iso.substr(0, 10));
    return d ? ShownDate(*d) : iso;
}

class SignatureCheck {
  public:
    SignatureCheck(Database& db, bool keepHashes) : reader_(db), keepHashes_(keepHashes) {
        Statement keys = db.Prepare("SELECT Id, PublicKey FROM Signer");
        while (keys.Step())
            keys_[keys.Int(0)] = keys.Text(1).value_or("");
    }

    // Checks one tail's signatures, oldest first.
    void Chain(const std::vector<std::pair<std::int64_t, SignatureInfo>>& signatures, Verification& v) {
        std::string last;
        for (const auto& [signer, s] : signatures) {
            ++v.signatures;
            const std::string by = s.signerName + " on " + ShownIso(s.signedAt);
            if (s.previous != last)
                v.findings.push_back({s.tail, s.date,
                                      "a signed record before the one of " + ShownIso(s.date) +
                                          " is missing from the chain of signed records, or was changed",
                                      true});
            last = s.hash;
            const auto id = reader_.Find(s.tail, s.date);
            const auto record = id ? reader_.Record(*id) : std::nullopt;
            if (!record) {
                v.findings.push_back({s.tail, s.date, "the Worksheet signed by " + by + " is missing", true});
                continue;
            }
            if (keepHashes_) hashes_[{FoldCase(s.tail), s.date}] = Sha256Hex(*record);
            if (!Verifies(*record, s, signer))
                v.findings.push_back({s.tail, s.date, "changed after it was signed by " + by, true});
        }
    }

  private:
    bool Verifies(const std::string& record, const SignatureInfo& s, std::int64_t signer) {
        const std::string text = SignedText(record, s);
        const auto key = FromHex(s.publicKey, crypto_sign_PUBLICKEYBYTES);
        const auto signature = FromHex(s.signature, crypto_sign_BYTES);
        // The key must be the signer's own: a key put in its place would sign anything.
        const auto own = keys_.find(signer);
        return key && signature && own != keys_.end() && own->second == s.publicKey &&
               Sha256Hex(text) == s.hash &&
               crypto_sign_verify_detached(signature->data(),
                                           reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                           key->data()) == 0;
    }

    CanonicalReader reader_;
    bool keepHashes_;
    std::map<std::int64_t, std::string> keys_;

  public:
    // The hash of each signed Worksheet as stored now, so that the audit check need not read it
    // again.
    std::map<std::pair<std::string, std::string>, std::string> hashes_;
};

constexpr const char* kSignatureColumns =
    "SignerId, Tail, \"Date\", SignerName, CertKind, CertNumber, PublicKey, Statement, Signed, Form, "
    "Previous, "
    "Hash, Ed25519, FoldedTail";

std::pair<std::int64_t, SignatureInfo> ReadSignature(const Statement& s) {
    return {s.Int(0), SignatureFromRow(s)};
}

// `order` lists the signatures' Ids, each tail's together and oldest first. Each row is read on
// its own, so that no statement holds the file's read lock for long and saves go on meanwhile.
void VerifySignatures(Database& db, SignatureCheck& check, Statement& order, Verification& v) {
    std::vector<std::int64_t> ids;
    while (order.Step())
        ids.push_back(order.Int(0));
    Statement one = db.Prepare(std::string("SELECT ") + kSignatureColumns + " FROM Signature WHERE Id = ?");
    std::vector<std::pair<std::int64_t, SignatureInfo>> tail;
    std::string folded;
    for (std::int64_t id : ids) {
        one.Reset();
        one.Bind(1, id);
        if (!one.Step()) continue;
        const std::string f = one.Text(13).value_or("");
        if (f != folded && !tail.empty()) {
            check.Chain(tail, v);
            tail.clear();
        }
        folded = f;
        tail.push_back(ReadSignature(one));
        one.Reset();
    }
    if (!tail.empty()) check.Chain(tail, v);
}

void VerifyAuditChain(Database& db, Verification& v) {
    // A thousand entries at a time, each batch read to its end, for the read lock's sake.
    Statement s = db.Prepare("SELECT " + std::string(kAuditColumns) +
                             ", Id FROM AuditTrail WHERE Id > ? ORDER BY Id LIMIT 1000");
    std::string last;
    std::int64_t after = -1;
    for (bool more = true; more;) {
        more = false;
        s.Reset();
        s.Bind(1, after);
        while (s.Step()) {
            more = true;
            after = s.Int(10);
            ++v.entries;
            const AuditEntry e = AuditEntryFromRow(s);
            if (e.previous != last || Sha256Hex(AuditEntryText(e)) != e.hash)
                v.findings.push_back(
                    {e.tail, e.date,
                     "the audit trail was changed, or an entry removed, before its entry \"" + e.event +
                         "\" of " + ShownIso(e.at) + " " + e.at.substr(11, 8) + " UTC",
                     false});
            last = e.hash;  // one break is told once, not again for every entry after it
        }
    }
}

void VerifyWorksheets(Database& db, Verification& v, Progress& progress,
                      const std::map<std::pair<std::string, std::string>, std::string>& known) {
    std::set<std::pair<std::string, std::string>> told;
    for (const VerifyFinding& f : v.findings)
        if (f.signedRecord) told.emplace(FoldCase(f.tail), f.date);
    CanonicalReader reader(db);
    Statement count = db.Prepare("SELECT count(*) FROM Aircraft");
    const std::int64_t total = count.Step() ? count.Int(0) : 0;
    struct Stored {
        std::int64_t id;
        std::string tail, date;
    };
    std::vector<Stored> stored;
    Statement all = db.Prepare("SELECT Id, Tail, \"Date\" FROM Aircraft ORDER BY Id");
    while (all.Step())
        stored.push_back({all.Int(0), all.Text(1).value_or(""), all.Text(2).value_or("")});
    Statement last = db.Prepare(
        "SELECT Record, At FROM AuditTrail WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id DESC LIMIT 1");
    for (const Stored& row : stored) {
        if (++v.worksheets % 1000 == 0) progress.Report(v.worksheets, total, "Verifying the records");
        const std::string& tail = row.tail;
        const std::string& date = row.date;
        const std::string folded = FoldCase(tail);
        if (told.count({folded, date})) continue;
        std::optional<std::string> hash;
        if (const auto k = known.find({folded, date}); k != known.end()) {
            hash = k->second;
        } else if (const auto record = reader.Record(row.id)) {
            hash = Sha256Hex(*record);
        }
        last.Reset();
        last.BindAll({folded, date});
        const bool entered = last.Step();
        const std::string lastRecord = entered ? last.Text(0).value_or("") : std::string();
        const std::string lastAt = entered ? last.Text(1).value_or("") : std::string();
        last.Reset();
        if (!entered) {
            v.findings.push_back({tail, date,
                                  "stored without an entry in the audit trail (written by another program)",
                                  false});
            continue;
        }
        if (!hash || *hash != lastRecord)
            v.findings.push_back({tail, date,
                                  "changed outside the program after its last save of " + ShownIso(lastAt),
                                  false});
    }
}

}  // namespace

const VerifyFinding* Verification::For(const std::string& tail, const std::string& isoDate) const {
    const std::string folded = FoldCase(tail);
    for (const VerifyFinding& f : findings)
        if (f.date == isoDate && FoldCase(f.tail) == folded) return &f;
    return nullptr;
}

Verification VerifyRecords(Database& db, Progress& progress) {
    if (sodium_init() < 0) throw std::runtime_error("The cryptography library could not be started.");
    Verification v;
    Statement rows = db.Prepare("SELECT Id FROM Signature ORDER BY FoldedTail, Id");
    SignatureCheck check(db, true);
    VerifySignatures(db, check, rows, v);
    VerifyAuditChain(db, v);
    VerifyWorksheets(db, v, progress, check.hashes_);
    return v;
}

Verification VerifyTail(Database& db, const std::string& tail) {
    if (sodium_init() < 0) throw std::runtime_error("The cryptography library could not be started.");
    Verification v;
    Statement rows = db.Prepare("SELECT Id FROM Signature WHERE FoldedTail = ? ORDER BY Id");
    rows.Bind(1, FoldCase(tail));
    SignatureCheck check(db, false);
    VerifySignatures(db, check, rows, v);
    return v;
}

std::string FindingsText(const Verification& v, size_t most) {
    std::string text;
    for (size_t i = 0; i < v.findings.size() && i < most; ++i) {
        const VerifyFinding& f = v.findings[i];
        if (!text.empty()) text += "\n";
        text += f.tail.empty() && f.date.empty() ? f.text : f.tail + " " + ShownIso(f.date) + ": " + f.text;
    }
    if (v.findings.size() > most) text += "\n... and " + std::to_string(v.findings.size() - most) + " more";
    return text;
}

}  // namespace wb
