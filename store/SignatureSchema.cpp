#include "store/SignatureSchema.h"

#include "store/Audit.h"

namespace wb {
namespace {

// The private key is sealed with the signer's passphrase (Argon2id with the limits kept
// here, then secretbox); the passphrase itself is never stored. Name, certificate and key
// never change: a new key is a new signer, and the old one is retired. Origin is Null for a
// signer of this shop; for one whose signatures came in a record package it says where from,
// and such a signer has no sealed key (empty texts), is retired, and never signs here.
constexpr std::string_view kSignerSql = R"(
CREATE TABLE Signer (
  Id INTEGER PRIMARY KEY, Name TEXT NOT NULL, CertKind TEXT NOT NULL, CertNumber TEXT NOT NULL,
  PublicKey TEXT NOT NULL, SealedKey TEXT NOT NULL, Salt TEXT NOT NULL, Nonce TEXT NOT NULL,
  OpsLimit INTEGER NOT NULL, MemLimit INTEGER NOT NULL, Retired INTEGER NOT NULL DEFAULT 0,
  Added TEXT NOT NULL, Origin TEXT);
)";

// What was signed is rebuilt from the rows; the row keeps the rest of the signed text, so that
// it verifies without the signer's row.
constexpr std::string_view kSignatureSql = R"(
CREATE TABLE Signature (
  Id INTEGER PRIMARY KEY, Tail TEXT NOT NULL, FoldedTail TEXT NOT NULL, "Date" TEXT NOT NULL,
  SignerId INTEGER NOT NULL, SignerName TEXT NOT NULL, CertKind TEXT NOT NULL, CertNumber TEXT NOT NULL,
  PublicKey TEXT NOT NULL, Statement TEXT NOT NULL, Signed TEXT NOT NULL, Form INTEGER NOT NULL,
  Previous TEXT, Hash TEXT NOT NULL, Ed25519 TEXT NOT NULL);
CREATE INDEX Signature_Worksheet ON Signature (FoldedTail, "Date");
CREATE TRIGGER Signature_Kept BEFORE UPDATE ON Signature
  BEGIN SELECT RAISE(ABORT, 'a signature is never changed'); END;
CREATE TRIGGER Signature_NotRemoved BEFORE DELETE ON Signature
  BEGIN SELECT RAISE(ABORT, 'a signature is never removed'); END;
CREATE TRIGGER Signer_Kept BEFORE DELETE ON Signer
  WHEN EXISTS (SELECT 1 FROM Signature WHERE SignerId = OLD.Id)
  BEGIN SELECT RAISE(ABORT, 'a signer whose signatures are stored is never removed'); END;
CREATE TRIGGER Signer_Fixed BEFORE UPDATE OF Name, CertKind, CertNumber, PublicKey ON Signer
  BEGIN SELECT RAISE(ABORT, 'a signer''s name, certificate and key never change'); END;
)";

// A signed Worksheet superseded by a correction stored under the same tail and a later date.
constexpr std::string_view kCorrectionSql = R"(
CREATE TABLE Correction (
  Id INTEGER PRIMARY KEY, Tail TEXT NOT NULL, FoldedTail TEXT NOT NULL, "Date" TEXT NOT NULL,
  CorrectionDate TEXT NOT NULL, Reason TEXT NOT NULL, Made TEXT NOT NULL);
CREATE INDEX Correction_Worksheet ON Correction (FoldedTail, "Date");
CREATE TRIGGER Correction_Kept BEFORE UPDATE ON Correction
  BEGIN SELECT RAISE(ABORT, 'a correction is never changed'); END;
CREATE TRIGGER Correction_NotRemoved BEFORE DELETE ON Correction
  BEGIN SELECT RAISE(ABORT, 'a correction is never removed'); END;
)";

// Each entry names the one before it by its hash, so that a changed or removed entry breaks
// the chain; Record is the hash of the Worksheet as the event left it; Detail what the event
// alone knows (an import's package and where it came from), Null for most.
constexpr std::string_view kAuditSql = R"(
CREATE TABLE AuditTrail (
  Id INTEGER PRIMARY KEY, At TEXT NOT NULL, UserName TEXT NOT NULL, Workstation TEXT NOT NULL,
  Event TEXT NOT NULL, Tail TEXT, FoldedTail TEXT, "Date" TEXT, Record TEXT, Previous TEXT,
  Hash TEXT NOT NULL, Detail TEXT);
CREATE INDEX AuditTrail_Worksheet ON AuditTrail (FoldedTail, "Date", Id);
CREATE TRIGGER AuditTrail_Kept BEFORE UPDATE ON AuditTrail
  BEGIN SELECT RAISE(ABORT, 'the audit trail is never changed'); END;
CREATE TRIGGER AuditTrail_NotRemoved BEFORE DELETE ON AuditTrail
  BEGIN SELECT RAISE(ABORT, 'the audit trail is never removed from'); END;
)";

// The audit entries an imported record package brought from the databases the aircraft's
// records were kept in before: kept as they came, beside this database's own chain, whose
// "import" entry (its Detail the same as Source here) tells when and from where.
constexpr std::string_view kImportedAuditSql = R"(
CREATE TABLE ImportedAudit (
  Id INTEGER PRIMARY KEY, Source TEXT NOT NULL, At TEXT NOT NULL, UserName TEXT NOT NULL,
  Workstation TEXT NOT NULL, Event TEXT NOT NULL, Tail TEXT, FoldedTail TEXT, "Date" TEXT, Record TEXT,
  Previous TEXT, Hash TEXT NOT NULL, Detail TEXT);
CREATE INDEX ImportedAudit_Tail ON ImportedAudit (FoldedTail, Id);
CREATE TRIGGER ImportedAudit_Kept BEFORE UPDATE ON ImportedAudit
  BEGIN SELECT RAISE(ABORT, 'an imported audit entry is never changed'); END;
CREATE TRIGGER ImportedAudit_NotRemoved BEFORE DELETE ON ImportedAudit
  BEGIN SELECT RAISE(ABORT, 'an imported audit entry is never removed'); END;
)";

bool HasColumn(Database& db, std::string_view table, std::string_view column) {
    Statement s = db.Prepare("SELECT 1 FROM pragma_table_info(?) WHERE lower(name) = lower(?)");
    s.BindAll({std::string(table), std::string(column)});
    return s.Step();
}

}  // namespace

const std::vector<TableLayout>& SignatureTables() {
    static const std::vector<TableLayout> tables = {
        {"Signer", kSignerSql, ""},
        {"Signature", kSignatureSql, ""},
        {"Correction", kCorrectionSql, ""},
        {"AuditTrail", kAuditSql, ""},
        {"ImportedAudit", kImportedAuditSql, ""},
    };
    return tables;
}

void AddSignatureTables(Database& db) {
    for (const TableLayout& t : SignatureTables()) {
        Statement has = db.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
        has.Bind(1, std::string(t.name));
        if (!has.Step()) db.Exec(t.createSql);
    }
    // The entries are written with every column of this version's trail.
    AddImportTables(db);
    AuditEveryWorksheet(db, audit::kUpgrade);
}

void AddImportTables(Database& db) {
    if (!HasColumn(db, "Signer", "Origin")) db.Exec("ALTER TABLE Signer ADD COLUMN Origin TEXT");
    if (!HasColumn(db, "AuditTrail", "Detail")) db.Exec("ALTER TABLE AuditTrail ADD COLUMN Detail TEXT");
    Statement has = db.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'ImportedAudit'");
    if (!has.Step()) db.Exec(kImportedAuditSql);
}

}  // namespace wb
