#include "store/Schema.h"

#include "store/CaseFold.h"
#include "store/Scales.h"
#include "store/SignatureSchema.h"

#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <system_error>

namespace wb {
namespace {

// Units is the unit system the figures were typed in: Null for pounds and inches (every
// Worksheet before version 4), 'kg-mm' or 'kg-m'. Lemac and Mac, the mean aerodynamic chord's
// leading edge and length, in those units; Null when none was typed.
// WorksheetId is the identity a Worksheet keeps across saves, which store it as a new row:
// Null for a Worksheet stored once (its identity is its own Id), else the identity of the
// Worksheet it replaced. Its earlier versions refer to it, so that a save never re-points them.
// Dates are ISO text (yyyy-mm-dd) so that ordering by Date is chronological; Tail compares
// without regard to case, as tail numbers do. Every query by a Worksheet's Tail and Date
// has an index, so that a database of many years answers as fast as a new one.
constexpr std::string_view kAircraftSql = R"(
CREATE TABLE Aircraft (
  Id INTEGER PRIMARY KEY,
  Tail TEXT COLLATE NOCASE, "Date" TEXT, Serial TEXT, Make TEXT, Model TEXT, "Year" TEXT,
  Empty REAL, CG REAL, MaxWt REAL, Tach TEXT, "By" TEXT, Cert TEXT, Work TEXT,
  Range1 TEXT, Range2 TEXT, Range3 TEXT, Memo TEXT,
  J1Dsc TEXT, J2Dsc TEXT, J3Dsc TEXT, J4Dsc TEXT, J5Dsc TEXT,
  J1Tar REAL, J2Tar REAL, J3Tar REAL, J4Tar REAL, J5Tar REAL,
  J1Wgt REAL, J2Wgt REAL, J3Wgt REAL, J4Wgt REAL, J5Wgt REAL,
  J1Arm REAL, J2Arm REAL, J3Arm REAL, J4Arm REAL, J5Arm REAL,
  F1Dsc TEXT, F2Dsc TEXT, F3Dsc TEXT, F4Dsc TEXT, F5Dsc TEXT,
  F1Wgt REAL, F2Wgt REAL, F3Wgt REAL, F4Wgt REAL, F5Wgt REAL,
  F1Arm REAL, F2Arm REAL, F3Arm REAL, F4Arm REAL, F5Arm REAL,
  BallastArm REAL, WorksheetId INTEGER,
  FoldedTail TEXT, FoldedSerial TEXT, FoldedMake TEXT, FoldedModel TEXT, FoldedYear TEXT, FoldedBy TEXT,
  FoldedCert TEXT, FoldedWork TEXT,
  Units TEXT, Lemac REAL, Mac REAL,
  J1Scale TEXT, J2Scale TEXT, J3Scale TEXT, J4Scale TEXT, J5Scale TEXT, Levelling TEXT, FuelState TEXT,
  FuelPerGallon REAL, Oil TEXT, OtherFluids TEXT, WeighPlace TEXT, WeighedBy TEXT, Temperature TEXT,
  ReweighMonths REAL);
CREATE INDEX Aircraft_Date ON Aircraft ("Date", Id);
CREATE INDEX Aircraft_Worksheet ON Aircraft (Tail, "Date");
)";

// Tail numbers are one aircraft's whatever their case in any script: the search and the
// finds by a Worksheet's Tail and Date go through these, built on the folded tail. The folded
// columns (Folded<column>: the column's text case-folded by the program) are written by the
// program itself, so that a shop server never folds with Unicode tables of its own.
constexpr std::string_view kAircraftIndexSql =
    R"(CREATE INDEX IF NOT EXISTS Aircraft_FoldedTail ON Aircraft (FoldedTail, "Date");)";
constexpr std::string_view kEquipmentIndexSql =
    R"(CREATE INDEX IF NOT EXISTS Equipment_FoldedTail ON Equipment (FoldedTail, "Date", List, RowNum);)";
constexpr std::string_view kRevisionIndexSql =
    R"(CREATE INDEX IF NOT EXISTS AircraftRevision_FoldedTail ON AircraftRevision (FoldedTail, "Date");)";

// List tells the InstalledList rows ('changes') from the EquipmentList rows ('equipment'),
// so that a change row without marks can never pass for an equipment item.
constexpr std::string_view kEquipmentSql = R"(
CREATE TABLE Equipment (
  Id INTEGER PRIMARY KEY,
  Tail TEXT COLLATE NOCASE, "Date" TEXT, RowNum INTEGER,
  Description TEXT, Serial TEXT, Weight REAL, Arm REAL,
  Install INTEGER NOT NULL DEFAULT 0, Remove INTEGER NOT NULL DEFAULT 0,
  List TEXT NOT NULL CHECK (List IN ('changes', 'equipment')), FoldedTail TEXT);
CREATE INDEX Equipment_Worksheet ON Equipment (Tail, "Date", List, RowNum);
)";

// A Worksheet's version as it was just before a save replaced it or the tail "0" deleted
// it: every Aircraft column, plus when and why. WorksheetId is the identity of the stored
// Worksheet it is an earlier version of (Null once that Worksheet has been deleted); ReplacedBy
// the Aircraft row stored in its place at the time.
constexpr std::string_view kAircraftRevisionSql = R"(
CREATE TABLE AircraftRevision (
  Id INTEGER PRIMARY KEY,
  AircraftId INTEGER, Superseded TEXT NOT NULL,
  Reason TEXT NOT NULL CHECK (Reason IN ('replaced', 'deleted')),
  ReplacedBy INTEGER, WorksheetId INTEGER,
  Tail TEXT COLLATE NOCASE, "Date" TEXT, Serial TEXT, Make TEXT, Model TEXT, "Year" TEXT,
  Empty REAL, CG REAL, MaxWt REAL, Tach TEXT, "By" TEXT, Cert TEXT, Work TEXT,
  Range1 TEXT, Range2 TEXT, Range3 TEXT, Memo TEXT,
  J1Dsc TEXT, J2Dsc TEXT, J3Dsc TEXT, J4Dsc TEXT, J5Dsc TEXT,
  J1Tar REAL, J2Tar REAL, J3Tar REAL, J4Tar REAL, J5Tar REAL,
  J1Wgt REAL, J2Wgt REAL, J3Wgt REAL, J4Wgt REAL, J5Wgt REAL,
  J1Arm REAL, J2Arm REAL, J3Arm REAL, J4Arm REAL, J5Arm REAL,
  F1Dsc TEXT, F2Dsc TEXT, F3Dsc TEXT, F4Dsc TEXT, F5Dsc TEXT,
  F1Wgt REAL, F2Wgt REAL, F3Wgt REAL, F4Wgt REAL, F5Wgt REAL,
  F1Arm REAL, F2Arm REAL, F3Arm REAL, F4Arm REAL, F5Arm REAL,
  BallastArm REAL, FoldedTail TEXT,
  Units TEXT, Lemac REAL, Mac REAL,
  J1Scale TEXT, J2Scale TEXT, J3Scale TEXT, J4Scale TEXT, J5Scale TEXT, Levelling TEXT, FuelState TEXT,
  FuelPerGallon REAL, Oil TEXT, OtherFluids TEXT, WeighPlace TEXT, WeighedBy TEXT, Temperature TEXT,
  ReweighMonths REAL);
CREATE INDEX AircraftRevision_Worksheet ON AircraftRevision (WorksheetId);
CREATE INDEX AircraftRevision_Tail ON AircraftRevision (Tail, "Date");
)";

// The Equipment rows of a superseded version, both lists.
constexpr std::string_view kEquipmentRevisionSql = R"(
CREATE TABLE EquipmentRevision (
  Id INTEGER PRIMARY KEY,
  RevisionId INTEGER NOT NULL,
  Tail TEXT COLLATE NOCASE, "Date" TEXT, RowNum INTEGER,
  Description TEXT, Serial TEXT, Weight REAL, Arm REAL,
  Install INTEGER NOT NULL DEFAULT 0, Remove INTEGER NOT NULL DEFAULT 0,
  List TEXT NOT NULL CHECK (List IN ('changes', 'equipment')));
CREATE INDEX EquipmentRevision_Revision ON EquipmentRevision (RevisionId, List, RowNum);
)";

// The aircraft's loading data, found by its Worksheet's Tail and Date as the equipment rows
// are: List 'aircraft' (one row: MaxLandWt, FuelWt, OilWt, MetoHp, OccupantWt), 'station'
// (Name, Kind, Arm, Seats, Capacity, and Weight the placarded maximum), 'normal' and 'utility'
// (a point of the C.G. envelope: Weight, Arm). RowNum is the row of the panel's grid.
constexpr std::string_view kLoadingSql = R"(
CREATE TABLE Loading (
  Id INTEGER PRIMARY KEY,
  Tail TEXT COLLATE NOCASE, "Date" TEXT,
  List TEXT NOT NULL CHECK (List IN ('aircraft', 'station', 'normal', 'utility')), RowNum INTEGER,
  Name TEXT, Kind TEXT CHECK (Kind IN ('pilot', 'seat', 'baggage', 'fuel', 'oil')),
  Arm REAL, Weight REAL, Seats REAL, Capacity REAL,
  MaxLandWt REAL, FuelWt REAL, OilWt REAL, MetoHp REAL, OccupantWt REAL, FoldedTail TEXT);
CREATE INDEX Loading_Worksheet ON Loading (FoldedTail, "Date", List, RowNum);
)";

// The loading rows of a superseded version.
constexpr std::string_view kLoadingRevisionSql = R"(
CREATE TABLE LoadingRevision (
  Id INTEGER PRIMARY KEY,
  RevisionId INTEGER NOT NULL,
  Tail TEXT COLLATE NOCASE, "Date" TEXT,
  List TEXT NOT NULL CHECK (List IN ('aircraft', 'station', 'normal', 'utility')), RowNum INTEGER,
  Name TEXT, Kind TEXT CHECK (Kind IN ('pilot', 'seat', 'baggage', 'fuel', 'oil')),
  Arm REAL, Weight REAL, Seats REAL, Capacity REAL,
  MaxLandWt REAL, FuelWt REAL, OilWt REAL, MetoHp REAL, OccupantWt REAL);
CREATE INDEX LoadingRevision_Revision ON LoadingRevision (RevisionId, List, RowNum);
)";

constexpr std::string_view kCompanySql = R"(
CREATE TABLE CompanyInfo (
  Id INTEGER PRIMARY KEY,
  CompName TEXT, CompAddress TEXT, CompCSZ TEXT, CompPhone TEXT, FormTitle TEXT,
  EquipTitle TEXT, Mechanic TEXT, Cert TEXT,
  PrintCo INTEGER, PrintCG INTEGER, PrintMech INTEGER, PrintNotes INTEGER);
)";

constexpr std::string_view kSetupSql =
    "CREATE TABLE Setup (Id INTEGER PRIMARY KEY, DataPath TEXT, CompanyPhone TEXT);";

std::vector<AircraftColumn> MakeAircraftColumns() {
    std::vector<AircraftColumn> cols;
    using K = AircraftColumn;
    for (const char* name : {"Tail", "Date", "Serial", "Make", "Model", "Year"})
        cols.push_back({name, K::Text});
    for (const char* name : {"Empty", "CG", "MaxWt"})
        cols.push_back({name, K::Number});
    for (const char* name : {"Tach", "By", "Cert", "Work", "Range1", "Range2", "Range3", "Memo"})
        cols.push_back({name, K::Text});
    for (const char* part : {"Dsc", "Tar", "Wgt", "Arm"})
        for (int n = 1; n <= 5; ++n)
            cols.push_back(
                {"J" + std::to_string(n) + part, std::string_view(part) == "Dsc" ? K::Text : K::Number});
    for (const char* part : {"Dsc", "Wgt", "Arm"})
        for (int n = 1; n <= 5; ++n)
            cols.push_back(
                {"F" + std::to_string(n) + part, std::string_view(part) == "Dsc" ? K::Text : K::Number});
    cols.push_back({"BallastArm", K::Number});
    cols.push_back({"Units", K::Text});
    for (const char* name : {"Lemac", "Mac"})
        cols.push_back({name, K::Number});
    for (const auto& [name, number] : WeighingColumns())
        cols.push_back({std::string(name), number ? K::Number : K::Text});
    return cols;
}

// Whether a file that exists starts as an SQLite database does; an empty file counts as one.
// Checked before the engine sees the file, which would take a short file for an empty one.
bool LooksLikeDatabase(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[16] = {};
    in.read(header, sizeof header);
    if (in.gcount() == 0) return true;
    return in.gcount() == sizeof header &&
           std::string_view(header, sizeof header) == std::string_view("SQLite format 3\0", 16);
}

std::uint32_t BigEndian(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

// Whether the file is shorter than its header says. A left-over journal means a save was
// cut off, and the engine puts the file back from it: such a file is left to the engine.
bool CutShort(const std::filesystem::path& file) {
    std::error_code ec;
    for (const char* side : {"-journal", "-wal"}) {
        std::filesystem::path other = file;
        other += side;
        if (std::filesystem::exists(other, ec) && std::filesystem::file_size(other, ec) > 0) return false;
    }
    std::ifstream in(file, std::ios::binary);
    unsigned char header[100] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size == 0) return false;
    if (in.gcount() < static_cast<std::streamsize>(sizeof header)) return true;
    std::uint64_t pageSize = BigEndian(header + 16, 2);
    if (pageSize == 1) pageSize = 65536;
    // The page count is only kept up to date by writers that also stamp bytes 92 to 95.
    if (BigEndian(header + 24, 4) != BigEndian(header + 92, 4)) return false;
    return pageSize * BigEndian(header + 28, 4) > size;
}

bool HasTable(Database& db, std::string_view name) {
    Statement s = db.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    s.Bind(1, std::string(name));
    return s.Step();
}

bool HasIndex(Database& db, std::string_view name) {
    Statement s = db.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?");
    s.Bind(1, std::string(name));
    return s.Step();
}

// The name in "CREATE INDEX IF NOT EXISTS <name> ON ...".
std::string IndexName(std::string_view createSql) {
    constexpr std::string_view kAfter = "EXISTS ";
    const size_t from = createSql.find(kAfter) + kAfter.size();
    return std::string(createSql.substr(from, createSql.find(' ', from) - from));
}

bool HasColumn(Database& db, std::string_view table, std::string_view column) {
    Statement s = db.Prepare("SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    s.BindAll({std::string(table), std::string(column)});
    return s.Step();
}

// Version 2: where ballast would go is stored with each Worksheet; a Worksheet stored
// before has none (Null).
void AddBallastArmColumn(Database& db) {
    if (!HasColumn(db, "Aircraft", "BallastArm")) db.Exec("ALTER TABLE Aircraft ADD COLUMN BallastArm REAL");
}

// Version 3: every Worksheet stored before is one stored once, and its earlier versions
// already name its Id, so the column starts Null throughout.
void AddWorksheetIdColumn(Database& db) {
    if (!HasColumn(db, "Aircraft", "WorksheetId"))
        db.Exec("ALTER TABLE Aircraft ADD COLUMN WorksheetId INTEGER");
}

// Version 4: the unit system and the mean aerodynamic chord, in both tables that hold a
// Worksheet's header; every Worksheet stored before is in pounds and inches, without a chord.
void AddUnitColumns(Database& db) {
    for (const char* table : {"Aircraft", "AircraftRevision"}) {
        if (!HasColumn(db, table, "Units"))
            db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN Units TEXT");
        for (const char* column : {"Lemac", "Mac"})
            if (!HasColumn(db, table, column))
                db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN " + Quoted(column) + " REAL");
    }
}

// Version 3: the folded columns take the place of the indexes on the folding function.
void AddFoldedColumns(Database& db) {
    db.Exec("DROP INDEX IF EXISTS Aircraft_FoldedTail; DROP INDEX IF EXISTS Equipment_FoldedTail");
    for (const auto& [table, column] : FoldedColumns()) {
        const std::string folded = "Folded" + std::string(column);
        if (!HasColumn(db, table, folded))
            db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN " + Quoted(folded) + " TEXT");
    }
    FillFoldedColumns(db);
}

void CreateTables(Database& db, const std::vector<TableLayout>& tables) {
    Transaction tx(db);
    WriteTables(db, tables);
    tx.Commit();
}

bool AddedInVersion2(std::string_view table) {
    return table == "AircraftRevision" || table == "EquipmentRevision";
}
bool AddedInVersion4(std::string_view table) {
    if (table == "Scale" || table == "Loading" || table == "LoadingRevision") return true;
    for (const TableLayout& t : SignatureTables())
        if (t.name == table) return true;
    return false;
}

// A free name beside `file` for its copy at `version`: "VELK.MDB.v1", then "VELK.MDB.v1.2" ...
// An earlier copy is never overwritten.
std::filesystem::path CopyName(const std::filesystem::path& file, std::int64_t version) {
    std::error_code ec;
    std::filesystem::path copy = file;
    copy += ".v" + std::to_string(version);
    for (int n = 2; std::filesystem::exists(copy, ec); ++n) {
        copy = file;
        copy += ".v" + std::to_string(version) + "." + std::to_string(n);
    }
    return copy;
}

// Brings a file of an earlier version up to this one. The copy is taken inside the write
// transaction, so no other program can change the file between the copy and the upgrade.
// A file that lacks the tables of its own version is not ours to upgrade: the caller refuses it.
void Upgrade(const std::filesystem::path& file, Database& db, const std::vector<TableLayout>& tables,
             std::int64_t version) {
    bool mainFile = false;
    for (const TableLayout& t : tables) {
        if (AddedInVersion2(t.name) || AddedInVersion4(t.name)) {
            mainFile = true;
            continue;
        }
        if (AddedInVersion4(t.name)) continue;
        if (!HasTable(db, t.name)) return;
    }
    Transaction tx(db);
    std::filesystem::path copy;
    if (mainFile) {
        std::error_code ec;
        copy = CopyName(file, version);
        if (!std::filesystem::copy_file(file, copy, ec))
            throw StoreError(file,
                             "The database must be brought up to this version of the program, but a copy "
                             "of it could not be kept beside it first (" +
                                 ec.message() + "). It has been left as it is.");
    }
    try {
        if (mainFile && version < 2) {
            AddRevisionTables(db);
            AddBallastArmColumn(db);
        }
        if (mainFile && version < 3) {
            AddWorksheetIdColumn(db);
            AddFoldedColumns(db);
        }
        if (mainFile && version < 4) AddUnitColumns(db);
        if (mainFile && version < 4) AddScaleTables(db);
        if (mainFile && version < 4) AddLoadingTables(db);
        // Last: its one audit entry per stored Worksheet hashes the record as upgraded.
        if (mainFile && version < 4) AddSignatureTables(db);
        if (mainFile && version < 5) AddImportTables(db);
        // With the version, so that an older program refuses the file rather than missing the
        // indexes' columns at its first save.
        if (mainFile)
            for (const TableLayout& t : tables)
                if (!t.indexSql.empty()) db.Exec(t.indexSql);
        db.Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
        tx.Commit();
    } catch (const SqliteError& e) {
        std::error_code ec;
        if (!copy.empty()) std::filesystem::remove(copy, ec);
        throw StoreError(file, std::string("The database could not be brought up to this version of the "
                                           "program: ") +
                                   e.what() + ". It has been left as it is.");
    }
}

constexpr const char* kIncomplete =
    "The database file is incomplete: it is shorter than it should be, perhaps because a copy "
    "was stopped part way. It has been left as it is.";

constexpr const char* kNotADatabase =
    "The file is not a database this program can read. It has been left as it is.";

}  // namespace

void WriteTables(Database& db, const std::vector<TableLayout>& tables) {
    for (const TableLayout& t : tables) {
        db.Exec(t.createSql);
        if (!t.indexSql.empty()) db.Exec(t.indexSql);
        if (!t.firstRowSql.empty()) db.Exec(t.firstRowSql);
    }
    db.Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
}

const std::vector<TableLayout>& SettingsTables() {
    static const std::vector<TableLayout> tables = {
        {"Setup", kSetupSql, "INSERT INTO Setup (DataPath, CompanyPhone) VALUES (NULL, NULL);"}};
    return tables;
}

const std::vector<TableLayout>& MainTables() {
    static const std::vector<TableLayout> tables = {
        {"Aircraft", kAircraftSql, "", kAircraftIndexSql},
        {"Equipment", kEquipmentSql, "", kEquipmentIndexSql},
        {"CompanyInfo", kCompanySql, "INSERT INTO CompanyInfo DEFAULT VALUES;"},
        {"AircraftRevision", kAircraftRevisionSql, "", kRevisionIndexSql},
        {"EquipmentRevision", kEquipmentRevisionSql, ""},
        {"Scale", ScaleTableSql(), ""},
        {"Loading", kLoadingSql, ""},
        {"LoadingRevision", kLoadingRevisionSql, ""},
    };
    static const std::vector<TableLayout> all = [] {
        std::vector<TableLayout> t = tables;
        t.insert(t.end(), SignatureTables().begin(), SignatureTables().end());
        return t;
    }();
    return all;
}

void AddRevisionTables(Database& db) {
    db.Exec(kAircraftRevisionSql);
    db.Exec(kEquipmentRevisionSql);
}

void AddLoadingTables(Database& db) {
    if (!HasTable(db, "Loading")) db.Exec(kLoadingSql);
    if (!HasTable(db, "LoadingRevision")) db.Exec(kLoadingRevisionSql);
}

const std::vector<AircraftColumn>& AircraftColumns() {
    static const std::vector<AircraftColumn> cols = MakeAircraftColumns();
    return cols;
}

Database OpenDatabaseFile(const std::filesystem::path& file, const std::vector<TableLayout>& tables) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(file, ec);
    if (!exists) {
        const std::filesystem::path folder = file.parent_path();
        if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
            throw StoreError(file, "The folder " + folder.string() + " does not exist.");
        try {
            Database db(file, Database::Mode::CreateIfMissing);
            CreateTables(db, tables);
            return db;
        } catch (const SqliteError& e) {
            throw StoreError(file, std::string("The database could not be created: ") + e.what() + ".");
        }
    }
    if (std::filesystem::is_directory(file, ec))
        throw StoreError(file, "This is a folder, not a database file.");
    // A file under our name that is not a database is taken for a damaged one of ours (an
    // old Jet file has been offered for conversion before this).
    if (!LooksLikeDatabase(file)) throw StoreError(file, kNotADatabase, true);
    // Caught before the engine reads it: a file cut short opens, and reads well until a
    // missing page is needed.
    if (CutShort(file)) throw StoreError(file, kIncomplete, true);

    Database db;
    try {
        db = Database(file, Database::Mode::OpenExisting);
        Statement count = db.Prepare("SELECT count(*) FROM sqlite_master");
        count.Step();
        const bool blank = count.Int(0) == 0;
        Statement version = db.Prepare("PRAGMA user_version");
        version.Step();
        const std::int64_t v = version.Int(0);
        if (v > kSchemaVersion)
            throw StoreError(file, "The database was written by a newer version of this program.");
        if (db.ReadOnly()) throw StoreError(file, "The file is read-only, so nothing could be stored in it.");
        if (blank) {
            // An empty file holds nothing that could be lost; give it the tables. A damaged
            // one can look empty, so it is checked first.
            if (const std::string problem = QuickCheck(db); !problem.empty())
                throw StoreError(file, "The database file is damaged: " + problem, true);
            CreateTables(db, tables);
            return db;
        }
        // The upgrade changes the layout, which no statement may be reading meanwhile.
        count.Reset();
        version.Reset();
        bool indexMissing = false;
        for (const TableLayout& t : tables)
            if (!t.indexSql.empty() && HasTable(db, t.name) && !HasIndex(db, IndexName(t.indexSql)))
                indexMissing = true;
        // Nothing is written into a file before it is known to be sound: a damaged one is left
        // as it is, for a backup or a recovery to work from.
        if (v < kSchemaVersion || indexMissing)
            if (const std::string problem = QuickCheck(db); !problem.empty())
                throw StoreError(file, "The database file is damaged: " + problem, true);
        if (v < kSchemaVersion) Upgrade(file, db, tables, v);
        for (const TableLayout& t : tables)
            if (!HasTable(db, t.name))
                throw StoreError(file,
                                 "The file is a database, but not one of this program's: it has no table " +
                                     std::string(t.name) + ".");
        // A table that is missing its first row gets it back, so that there is always one
        // settings row and one company row to read and write.
        // A damaged page can make a table look empty: such a file is checked before it is
        // written to.
        for (const TableLayout& t : tables) {
            if (t.firstRowSql.empty()) continue;
            Statement any = db.Prepare("SELECT 1 FROM " + Quoted(t.name) + " LIMIT 1");
            if (any.Step()) continue;
            if (const std::string problem = QuickCheck(db); !problem.empty())
                throw StoreError(file, "The database file is damaged: " + problem, true);
            db.Exec(t.firstRowSql);
        }
        for (const TableLayout& t : tables) {
            if (t.indexSql.empty() || !indexMissing) continue;
            try {
                db.Exec(t.indexSql);
            } catch (const SqliteError&) {
                // Another program holds the file for now: the finds are slower, not wrong.
            }
        }
    } catch (const SqliteError& e) {
        const bool damaged =
            e.kind() == SqliteError::Kind::Damaged || e.kind() == SqliteError::Kind::InputOutput;
        if ((e.code() & 0xff) == SQLITE_NOTADB) throw StoreError(file, kNotADatabase, true);
        throw StoreError(file, std::string("The database could not be read: ") + e.what() + ".", damaged);
    }
    return db;
}

const std::vector<std::pair<std::string_view, std::string_view>>& FoldedColumns() {
    static const std::vector<std::pair<std::string_view, std::string_view>> columns = {
        {"Aircraft", "Tail"},  {"Aircraft", "Serial"},      {"Aircraft", "Make"}, {"Aircraft", "Model"},
        {"Aircraft", "Year"},  {"Aircraft", "By"},          {"Aircraft", "Cert"}, {"Aircraft", "Work"},
        {"Equipment", "Tail"}, {"AircraftRevision", "Tail"}};
    return columns;
}

void FillFoldedColumns(Database& db) {
    for (const auto& [table, column] : FoldedColumns()) {
        const std::string source = Quoted(column), folded = Quoted("Folded" + std::string(column));
        const std::string unfilled = " WHERE " + folded + " IS NULL AND " + source + " IS NOT NULL";
        if (!db.OnServer()) {
            // The local engine folds with the program's own function: one pass over the table.
            db.Exec("UPDATE " + Quoted(table) + " SET " + folded + " = " + kFoldCaseFunction + "(" + source +
                    ")" + unfilled);
            continue;
        }
        // A server has no such function: each distinct text is folded here and the table
        // passed over once per batch of them, not once per text (Equipment holds millions of
        // rows under a few thousand tail numbers).
        Statement texts = db.Prepare("SELECT DISTINCT " + source + " FROM " + Quoted(table) + unfilled);
        std::vector<std::string> distinct;
        while (texts.Step())
            distinct.push_back(texts.Text(0).value_or(""));
        constexpr size_t kBatch = 500;
        for (size_t from = 0; from < distinct.size(); from += kBatch) {
            const size_t to = std::min(distinct.size(), from + kBatch);
            std::string values;
            std::vector<Value> params;
            for (size_t k = from; k < to; ++k) {
                values += (values.empty() ? "(?, ?)" : ", (?, ?)");
                params.emplace_back(distinct[k]);
                params.emplace_back(FoldCase(distinct[k]));
            }
            Statement fill = db.Prepare("UPDATE " + Quoted(table) + " SET " + folded + " = v.column2 FROM (VALUES " +
                                        values + ") AS v WHERE " + Quoted(table) + "." + source +
                                        " = v.column1 AND " + Quoted(table) + "." + folded + " IS NULL");
            fill.BindAll(params);
            fill.Run();
        }
    }
}

std::string QuickCheck(Database& db) {
    return CheckProblems(db, "PRAGMA quick_check(20)");
}

std::string CheckProblems(Database& db, std::string_view pragma) {
    Statement s = db.Prepare(pragma);
    std::string problems;
    while (s.Step()) {
        const std::string line = s.Text(0).value_or("");
        if (line == "ok") return {};
        if (!problems.empty()) problems += "\n";
        problems += line;
    }
    return problems.empty() ? "the check gave no answer" : problems;
}

std::string AircraftInsertSql(const std::vector<std::string>& extraColumns) {
    std::string names, marks;
    for (const std::string& extra : extraColumns) {
        names += (names.empty() ? "" : ", ") + Quoted(extra);
        marks += marks.empty() ? "?" : ", ?";
    }
    for (const AircraftColumn& c : AircraftColumns()) {
        if (!names.empty()) {
            names += ", ";
            marks += ", ";
        }
        names += Quoted(c.name);
        marks += "?";
    }
    return "INSERT INTO Aircraft (" + names + ") VALUES (" + marks + ")";
}

}  // namespace wb
