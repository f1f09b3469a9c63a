// Signers and signed Worksheets. A signer's private key is sealed with their passphrase and
// kept in the shop database, so that they can sign at any workstation; a signature covers the
// Worksheet's canonical form, the signer, the statement, the time (UTC) and the hash of the
// tail's previous signed record, so that a tail's signed records form a chain. A signed
// Worksheet is never changed: a correction is a new Worksheet that supersedes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/Sqlite.h"

namespace wb {

inline constexpr std::string_view kSignStatement =
    "I certify that this weight and balance record is true and correct";
inline constexpr std::string_view kCertificateKinds[] = {"A&P", "IA", "Repair station", "Licence"};
inline constexpr int kPassphraseTries = 3;
inline constexpr size_t kShortestPassphrase = 8;

// Argon2id's work and memory for sealing a new signer's key: the interactive limits. Tests
// make it cheap through this seam; each signer keeps the limits it was sealed with.
struct PassphraseCost {
    unsigned long long ops;
    size_t memory;
};
PassphraseCost& SealingCost();

// What the mechanic asked for cannot be done; the text says why.
class SigningRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A save, rename, deletion or restore that would replace a signed Worksheet.
class RecordLocked : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Signer {
    std::int64_t id = 0;
    std::string name, certKind, certNumber;
    std::string publicKey;  // hex
    bool retired = false;
    // "J. Smith, A&P 123456"
    std::string Shown() const;
};

// Adds a signer with a new key pair sealed by `passphrase`. Refused (SigningRefused) without
// a name or certificate number, or with a passphrase shorter than kShortestPassphrase.
std::int64_t AddSigner(Database& db, const std::string& name, const std::string& certKind,
                       const std::string& certNumber, const std::string& passphrase);
std::vector<Signer> ListSigners(Database& db);
// No new signatures; the old ones still verify.
void RetireSigner(Database& db, std::int64_t signerId);

struct SignatureInfo {
    std::int64_t id = 0;
    std::string tail, date;  // date ISO
    std::string signerName, certKind, certNumber, publicKey, statement;
    std::string signedAt;  // UTC, "2026-12-07T18:30:05Z"
    std::string previous, hash, signature;
    int form = 0;
    // "J. Smith, A&P 123456"
    std::string Certificate() const;
};

// A Signature row read from columns 1 to 12: Tail, "Date", SignerName, CertKind, CertNumber,
// PublicKey, Statement, Signed, Form, Previous, Hash, Ed25519 (column 0 is the caller's).
SignatureInfo SignatureFromRow(const Statement& s);
// The signature of the Worksheet stored under this tail and ISO date; nothing when unsigned.
std::optional<SignatureInfo> SignatureOf(Database& db, std::string_view tail, std::string_view isoDate);
// Every signature of a tail, oldest first.
std::vector<SignatureInfo> SignaturesOf(Database& db, std::string_view tail);

// The text a signature is made over: the record's canonical form with the signer, statement,
// time and the previous signed record's hash, in canonical JSON.
std::string SignedText(const std::string& record, const SignatureInfo& s);

enum class SignOutcome { Signed, WrongPassphrase };
// Signs the stored Worksheet `aircraftId` in one transaction (its audit entry with it).
// Refused when the signer is retired or unknown, the Worksheet is gone or already signed.
SignOutcome SignWorksheet(Database& db, std::int64_t aircraftId, std::int64_t signerId,
                          const std::string& passphrase, std::string_view statement = kSignStatement);

// Why the stored Worksheet `aircraftId` may not be replaced or deleted; empty when it may.
std::string LockReason(Database& db, std::int64_t aircraftId);

// The correction that supersedes the signed Worksheet of this tail and ISO date.
struct CorrectionInfo {
    std::string correctionDate;  // ISO
    std::string reason, made;
};
std::optional<CorrectionInfo> CorrectionOf(Database& db, std::string_view tail, std::string_view isoDate);
// Records, inside the caller's transaction, that the Worksheet stored under tail and
// `correctionDate` supersedes the signed one of `signedDate`. Refused without a reason.
void RecordCorrection(Database& db, std::string_view tail, std::string_view signedDate,
                      std::string_view correctionDate, const std::string& reason);

// The signed Worksheets of the file `current` that the file `replacement` lacks or holds
// otherwise, as "N123AB 06-10-2001"; empty when a restore of it replaces none.
std::vector<std::string> SignedRecordsReplaced(Database& current, Database& replacement);

}  // namespace wb
