#include "store/Signing.h"

#include <sodium.h>

#include <array>

#include "store/Audit.h"
#include "store/Canonical.h"
#include "store/CaseFold.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

void SodiumReady() {
    if (sodium_init() < 0) throw std::runtime_error("The cryptography library could not be started.");
}

// Wipes a secret when it goes out of scope, however that happens.
template <size_t N>
struct Secret {
    std::array<unsigned char, N> bytes{};
    ~Secret() { sodium_memzero(bytes.data(), bytes.size()); }
    unsigned char* data() { return bytes.data(); }
};

using SealKey = Secret<crypto_secretbox_KEYBYTES>;

// The key that seals a private key, from the passphrase. Throws when the memory it needs
// cannot be had.
void DeriveKey(SealKey& key, const std::string& passphrase, const unsigned char* salt, unsigned long long ops,
               size_t memory) {
    if (crypto_pwhash(key.data(), crypto_secretbox_KEYBYTES, passphrase.data(), passphrase.size(), salt, ops,
                      memory, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("The passphrase could not be worked out: not enough memory.");
}

std::string ShownIsoDate(const std::string& iso) {
    const auto d = ParseIsoDate(iso);
    return d ? ShownDate(*d) : iso;
}

SignatureInfo ReadSignature(const Statement& s) {
    SignatureInfo i = SignatureFromRow(s);
    i.id = s.Int(0);
    return i;
}

constexpr const char* kSignatureColumns =
    "Id, Tail, \"Date\", SignerName, CertKind, CertNumber, PublicKey, Statement, Signed, Form, Previous, "
    "Hash, Ed25519";

struct Stored {
    std::string tail, date;
};
std::optional<Stored> StoredWorksheet(Database& db, std::int64_t aircraftId) {
    Statement s = db.Prepare("SELECT Tail, \"Date\" FROM Aircraft WHERE Id = ?");
    s.Bind(1, aircraftId);
    if (!s.Step()) return std::nullopt;
    return Stored{s.Text(0).value_or(""), s.Text(1).value_or("")};
}

// "J. Smith, A&P 3456789, key 1f2e3d4c5b6a7980": who an audit entry of a signer is of.
std::string SignerDetail(Database& db, std::int64_t signerId) {
    Statement s = db.Prepare("SELECT Name, CertKind, CertNumber, PublicKey FROM Signer WHERE Id = ?");
    s.Bind(1, signerId);
    if (!s.Step()) return {};
    return s.Text(0).value_or("") + ", " + s.Text(1).value_or("") + " " + s.Text(2).value_or("") + ", key " +
           s.Text(3).value_or("").substr(0, 16);
}

}  // namespace

PassphraseCost& SealingCost() {
    static PassphraseCost cost{crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
    return cost;
}

std::string Signer::Shown() const {
    return name + ", " + certKind + " " + certNumber;
}

std::string SignatureInfo::Certificate() const {
    return certKind + " " + certNumber;
}

std::int64_t AddSigner(Database& db, const std::string& name, const std::string& certKind,
                       const std::string& certNumber, const std::string& passphrase) {
    if (name.find_first_not_of(" \t") == std::string::npos)
        throw SigningRefused("The signer has no name. Type the name as it is signed.");
    if (certNumber.find_first_not_of(" \t") == std::string::npos)
        throw SigningRefused(
            "The certificate number is empty. A signature names the signer's certificate: "
            "type its number.");
    if (passphrase.size() < kShortestPassphrase)
        throw SigningRefused("The passphrase is too short: use at least " +
                             std::to_string(kShortestPassphrase) + " characters.");
    SodiumReady();
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    Secret<crypto_sign_SECRETKEYBYTES> secret;
    crypto_sign_keypair(publicKey, secret.data());
    unsigned char salt[crypto_pwhash_SALTBYTES];
    unsigned char nonce[crypto_secretbox_NONCEBYTES];
    randombytes_buf(salt, sizeof salt);
    randombytes_buf(nonce, sizeof nonce);
    const PassphraseCost cost = SealingCost();
    SealKey key;
    DeriveKey(key, passphrase, salt, cost.ops, cost.memory);
    std::array<unsigned char, crypto_secretbox_MACBYTES + crypto_sign_SECRETKEYBYTES> sealed{};
    crypto_secretbox_easy(sealed.data(), secret.data(), crypto_sign_SECRETKEYBYTES, nonce, key.data());

    Transaction tx(db);
    Statement s = db.Prepare(
        "INSERT INTO Signer (Name, CertKind, CertNumber, PublicKey, SealedKey, Salt, Nonce, OpsLimit, "
        "MemLimit, "
        "Retired, Added) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)");
    s.BindAll({name, certKind, certNumber, Hex(publicKey, sizeof publicKey),
               Hex(sealed.data(), sealed.size()), Hex(salt, sizeof salt), Hex(nonce, sizeof nonce),
               static_cast<std::int64_t>(cost.ops), static_cast<std::int64_t>(cost.memory), UtcNow()});
    s.Run();
    const std::int64_t id = db.LastInsertRowid();
    AppendAudit(db, audit::kAddSigner, "", "", SignerDetail(db, id));
    tx.Commit();
    return id;
}

std::vector<Signer> ListSigners(Database& db) {
    Statement s = db.Prepare(
        "SELECT Id, Name, CertKind, CertNumber, PublicKey, Retired FROM Signer WHERE Origin IS NULL ORDER BY "
        "Retired, Name, Id");
    std::vector<Signer> signers;
    while (s.Step())
        signers.push_back({s.Int(0), s.Text(1).value_or(""), s.Text(2).value_or(""), s.Text(3).value_or(""),
                           s.Text(4).value_or(""), s.Int(5) != 0});
    return signers;
}

void RetireSigner(Database& db, std::int64_t signerId) {
    Transaction tx(db);
    Statement active = db.Prepare("SELECT 1 FROM Signer WHERE Id = ? AND Retired = 0");
    active.Bind(1, signerId);
    if (!active.Step()) return;  // retired already, or no such signer
    active.Reset();
    Statement s = db.Prepare("UPDATE Signer SET Retired = 1 WHERE Id = ?");
    s.Bind(1, signerId);
    s.Run();
    AppendAudit(db, audit::kRetireSigner, "", "", SignerDetail(db, signerId));
    tx.Commit();
}

std::optional<SignatureInfo> SignatureOf(Database& db, std::string_view tail, std::string_view isoDate) {
    Statement s =
        db.Prepare(std::string("SELECT ") + kSignatureColumns +
                   " FROM Signature WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id DESC LIMIT 1");
    s.BindAll({FoldCase(tail), std::string(isoDate)});
    if (!s.Step()) return std::nullopt;
    return ReadSignature(s);
}

std::vector<SignatureInfo> SignaturesOf(Database& db, std::string_view tail) {
    Statement s = db.Prepare(std::string("SELECT ") + kSignatureColumns +
                             " FROM Signature WHERE FoldedTail = ? ORDER BY Id");
    s.Bind(1, FoldCase(tail));
    std::vector<SignatureInfo> all;
    while (s.Step())
        all.push_back(ReadSignature(s));
    return all;
}

std::string SignedText(const std::string& record, const SignatureInfo& s) {
    const std::string signer = JsonObject({{"certificate", JsonString(s.certNumber)},
                                           {"kind", JsonString(s.certKind)},
                                           {"key", JsonString(s.publicKey)},
                                           {"name", JsonString(s.signerName)}});
    return JsonObject({{"form", std::to_string(s.form)},
                       {"previous", s.previous.empty() ? "null" : JsonString(s.previous)},
                       {"record", record},
                       {"signed", JsonString(s.signedAt)},
                       {"signer", signer},
                       {"statement", JsonString(s.statement)}});
}

SignOutcome SignWorksheet(Database& db, std::int64_t aircraftId, std::int64_t signerId,
                          const std::string& passphrase, std::string_view statement) {
    SodiumReady();
    Transaction tx(db);
    const auto stored = StoredWorksheet(db, aircraftId);
    if (!stored)
        throw SigningRefused("The Worksheet is no longer stored as it was loaded. Load it again and sign.");
    db.engine().LockNames({FoldCase(stored->tail)});
    Statement who = db.Prepare(
        "SELECT Name, CertKind, CertNumber, PublicKey, SealedKey, Salt, Nonce, OpsLimit, MemLimit, Retired "
        "FROM "
        "Signer WHERE Id = ?");
    who.Bind(1, signerId);
    if (!who.Step()) throw SigningRefused("The signer chosen is not on the list of signers.");
    if (who.Int(9) != 0)
        throw SigningRefused(who.Text(0).value_or("") +
                             " is retired and signs no more. Choose another signer, or add a new one at "
                             "Set-up.");
    if (SignatureOf(db, stored->tail, stored->date))
        throw SigningRefused("This Worksheet is signed already.");

    const auto publicKey = FromHex(who.Text(3).value_or(""), crypto_sign_PUBLICKEYBYTES);
    const auto sealed =
        FromHex(who.Text(4).value_or(""), crypto_secretbox_MACBYTES + crypto_sign_SECRETKEYBYTES);
    const auto salt = FromHex(who.Text(5).value_or(""), crypto_pwhash_SALTBYTES);
    const auto nonce = FromHex(who.Text(6).value_or(""), crypto_secretbox_NONCEBYTES);
    if (!publicKey || !sealed || !salt || !nonce)
        throw SigningRefused(
            "The signer's key is damaged in the database. Add the signer again with a new key.");
    SealKey key;
    DeriveKey(key, passphrase, salt->data(), static_cast<unsigned long long>(who.Int(7)),
              static_cast<size_t>(who.Int(8)));
    Secret<crypto_sign_SECRETKEYBYTES> secret;
    if (crypto_secretbox_open_easy(secret.data(), sealed->data(), sealed->size(), nonce->data(),
                                   key.data()) != 0)
        return SignOutcome::WrongPassphrase;

    SignatureInfo s;
    s.tail = stored->tail;
    s.date = stored->date;
    s.signerName = who.Text(0).value_or("");
    s.certKind = who.Text(1).value_or("");
    s.certNumber = who.Text(2).value_or("");
    s.publicKey = who.Text(3).value_or("");
    s.statement = std::string(statement);
    s.signedAt = UtcNow();
    s.form = kCanonicalForm;
    Statement last = db.Prepare("SELECT Hash FROM Signature WHERE FoldedTail = ? ORDER BY Id DESC LIMIT 1");
    last.Bind(1, FoldCase(stored->tail));
    if (last.Step()) s.previous = last.Text(0).value_or("");
    CanonicalReader reader(db);
    const auto record = reader.Record(aircraftId);
    if (!record) throw SigningRefused("The Worksheet is no longer stored.");
    const std::string text = SignedText(*record, s);
    s.hash = Sha256Hex(text);
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                         secret.data());
    s.signature = Hex(signature, sizeof signature);

    Statement insert = db.Prepare(
        "INSERT INTO Signature (Tail, FoldedTail, \"Date\", SignerId, SignerName, CertKind, CertNumber, "
        "PublicKey, Statement, Signed, Form, Previous, Hash, Ed25519) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, "
        "?, ?)");
    insert.BindAll({s.tail, FoldCase(s.tail), s.date, signerId, s.signerName, s.certKind, s.certNumber,
                    s.publicKey, s.statement, s.signedAt, std::int64_t{s.form},
                    s.previous.empty() ? Value() : Value(s.previous), s.hash, s.signature});
    insert.Run();
    AppendAudit(db, audit::kSign, s.tail, s.date);
    tx.Commit();
    return SignOutcome::Signed;
}

std::string LockReason(Database& db, std::int64_t aircraftId) {
    const auto stored = StoredWorksheet(db, aircraftId);
    if (!stored) return {};
    const auto s = SignatureOf(db, stored->tail, stored->date);
    if (!s) return {};
    return "The Worksheet of " + stored->tail + " " + ShownIsoDate(stored->date) + " was signed by " +
           s->signerName + " on " + ShownIsoDate(s->signedAt.substr(0, 10)) +
           ". A signed record is never changed, renamed or deleted. To correct it, type the date of the "
           "correction and save: it is stored as a new Worksheet that supersedes the signed one.";
}

std::optional<CorrectionInfo> CorrectionOf(Database& db, std::string_view tail, std::string_view isoDate) {
    Statement s = db.Prepare(
        "SELECT CorrectionDate, Reason, Made FROM Correction WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY "
        "Id "
        "DESC LIMIT 1");
    s.BindAll({FoldCase(tail), std::string(isoDate)});
    if (!s.Step()) return std::nullopt;
    return CorrectionInfo{s.Text(0).value_or(""), s.Text(1).value_or(""), s.Text(2).value_or("")};
}

void RecordCorrection(Database& db, std::string_view tail, std::string_view signedDate,
                      std::string_view correctionDate, const std::string& reason) {
    if (reason.find_first_not_of(" \t\r\n") == std::string::npos)
        throw SigningRefused("A correction needs its reason. Type why the signed Worksheet is corrected.");
    Statement s = db.Prepare(
        "INSERT INTO Correction (Tail, FoldedTail, \"Date\", CorrectionDate, Reason, Made) VALUES (?, ?, ?, "
        "?, "
        "?, ?)");
    s.BindAll({std::string(tail), FoldCase(tail), std::string(signedDate), std::string(correctionDate),
               reason, UtcNow()});
    s.Run();
    AppendAudit(db, audit::kSupersede, tail, signedDate);
}

std::vector<std::string> SignedRecordsReplaced(Database& current, Database& replacement) {
    std::vector<std::string> replaced;
    Statement mine = current.Prepare("SELECT Tail, \"Date\", Hash FROM Signature ORDER BY Id");
    std::optional<Statement> theirs;
    try {
        theirs = replacement.Prepare("SELECT 1 FROM Signature WHERE Hash = ?");
    } catch (const EngineError&) {
        // A file from before signatures holds none of them.
    }
    while (mine.Step()) {
        bool kept = false;
        if (theirs) {
            theirs->Reset();
            theirs->Bind(1, mine.Text(2).value_or(""));
            kept = theirs->Step();
        }
        if (!kept)
            replaced.push_back(mine.Text(0).value_or("") + " " + ShownIsoDate(mine.Text(1).value_or("")));
    }
    return replaced;
}

SignatureInfo SignatureFromRow(const Statement& s) {
    SignatureInfo i;
    i.tail = s.Text(1).value_or("");
    i.date = s.Text(2).value_or("");
    i.signerName = s.Text(3).value_or("");
    i.certKind = s.Text(4).value_or("");
    i.certNumber = s.Text(5).value_or("");
    i.publicKey = s.Text(6).value_or("");
    i.statement = s.Text(7).value_or("");
    i.signedAt = s.Text(8).value_or("");
    i.form = static_cast<int>(s.Int(9));
    i.previous = s.Text(10).value_or("");
    i.hash = s.Text(11).value_or("");
    i.signature = s.Text(12).value_or("");
    return i;
}

}  // namespace wb
