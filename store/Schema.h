// The tables of the two database files, the version of their layout, and the opening rule
// shared by both files: a missing file is created with its tables, an unreadable one is
// reported and left untouched.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/Sqlite.h"

namespace wb {

// Written into PRAGMA user_version; a file with a higher number was made by a newer program
// and is refused rather than misread; a lower one is upgraded when the file is opened.
// 2: the revision tables, the folded-tail indexes and Aircraft.BallastArm.
// 3: Aircraft.WorksheetId, the identity a stored Worksheet keeps across its saves.
// 4: Units, Lemac and Mac in Aircraft and AircraftRevision: the unit system and the mean
//    aerodynamic chord.
// 4: the shop's scales and the weighing record (store/Scales.h).
// 4: signers, signatures, corrections and the audit trail.
// 4: the loading data, Loading and LoadingRevision (store/LoadingRows.h).
// 5: what an imported record package keeps: Signer.Origin, AuditTrail.Detail, ImportedAudit.
inline constexpr int kSchemaVersion = 5;

// A database file that cannot be used: which file, and why, in words for the mechanic.
class StoreError : public std::runtime_error {
  public:
    StoreError(std::filesystem::path file, const std::string& reason, bool damaged = false)
        : std::runtime_error(reason), file_(std::move(file)), damaged_(damaged) {}
    const std::filesystem::path& file() const { return file_; }
    // The file is ours but cannot be read whole: a backup or a recovery may help.
    bool damaged() const { return damaged_; }

  private:
    std::filesystem::path file_;
    bool damaged_ = false;
};

struct TableLayout {
    std::string_view name;
    std::string_view createSql;    // CREATE TABLE and its indexes
    std::string_view firstRowSql;  // the row a new file starts with, empty for none
    // Indexes ("CREATE INDEX IF NOT EXISTS") that files made before them lack: a new file gets
    // them with its tables, an existing one when it is opened.
    std::string_view indexSql = {};
};

// "SetupVELKF.MDB": table Setup.
const std::vector<TableLayout>& SettingsTables();
// "VELK.MDB": tables Aircraft, Equipment, CompanyInfo, the superseded versions of
// Worksheets in AircraftRevision and EquipmentRevision, and the loading data in Loading and
// LoadingRevision.
const std::vector<TableLayout>& MainTables();

// Version 2: the tables that keep superseded Worksheets, created in a version-1 file.
void AddRevisionTables(Database& db);
// Version 4: the tables of the loading data and of its superseded versions, created in a file
// of an earlier version.
void AddLoadingTables(Database& db);

// The Aircraft columns after Tail and Date, in the order a save writes them.
struct AircraftColumn {
    std::string name;
    enum Kind { Text, Number } kind;
};
const std::vector<AircraftColumn>& AircraftColumns();  // Tail, Date, Serial ... BallastArm, Units, Lemac, Mac
// "INSERT INTO Aircraft (<every column above>) VALUES (?, ...)", in that order; extra columns
// named go first.
std::string AircraftInsertSql(const std::vector<std::string>& extraColumns = {});

// The texts the program case-folds and keeps beside the text (table, column: the folded one is
// "Folded" + column), for the finds by tail number and the search.
const std::vector<std::pair<std::string_view, std::string_view>>& FoldedColumns();
// Writes every folded column still Null (rows written by the conversion of an old file, a
// recovery, or a program before them).
void FillFoldedColumns(Database& db);

// Values of the Equipment column List: which of a Worksheet's two lists a row belongs to.
inline constexpr std::string_view kChangesList = "changes";      // the InstalledList
inline constexpr std::string_view kEquipmentList = "equipment";  // the EquipmentList

// Creates `tables` with their first rows and sets the layout version, inside the caller's
// transaction: a file filled in one go is made exactly as a new one is.
void WriteTables(Database& db, const std::vector<TableLayout>& tables);

// Opens `file`, creating it with `tables` (and their first rows) when it does not exist.
// An existing file must be a readable database holding these tables at a version this
// program knows; otherwise StoreError says why, and the file is not written. A file of an
// earlier version is first copied beside itself ("VELK.MDB.v1") and then brought up to
// this version in one transaction; a failed upgrade leaves it as it was.
Database OpenDatabaseFile(const std::filesystem::path& file, const std::vector<TableLayout>& tables);

// PRAGMA quick_check: empty when the file is sound, otherwise the engine's first findings.
// Throws SqliteError when the file cannot be read far enough to be checked.
std::string QuickCheck(Database& db);
// A checking pragma's findings: empty when it answers "ok", otherwise its lines.
std::string CheckProblems(Database& db, std::string_view pragma);

}  // namespace wb
