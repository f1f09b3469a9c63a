// The tables of signed records and of the audit trail, on the local file: signers, signatures,
// corrections of signed Worksheets, and the audit trail. Rows of the last three are only ever
// added: triggers refuse to change or remove them, and a signer is never removed while a
// signature names them.
#pragma once

#include <vector>

#include "store/Schema.h"

namespace wb {

// The layouts of Signer, Signature, Correction and AuditTrail, with their indexes and
// triggers, as a new file of this version gets them.
const std::vector<TableLayout>& SignatureTables();

// Version 4 in a file of an earlier version, inside the upgrade's transaction: the tables,
// then one audit entry per stored Worksheet, so that its records are covered from then on.
void AddSignatureTables(Database& db);

// Version 5: what a record package's import keeps (Signer.Origin, AuditTrail.Detail and the
// ImportedAudit table), added to a file that lacks them.
void AddImportTables(Database& db);

}  // namespace wb
