#include "bench/Generator.h"

#include <cstdio>
#include <random>
#include <system_error>

#include <sodium.h>

#include "store/Audit.h"
#include "store/MainDatabase.h"
#include "store/Schema.h"
#include "store/Signing.h"
#include "store/Sqlite.h"

namespace wb::bench {
namespace {

constexpr int kPerTail = 25;
constexpr const char* kParts[] = {"Battery",       "ELT",        "Transponder", "Radio COM1", "GPS",
                                  "Landing light", "Strobe",     "Vacuum pump", "Alternator", "Starter",
                                  "Seat, pilot",   "Seat, rear", "Fire ext.",   "Headset",    "Autopilot"};
constexpr const char* kMakes[] = {"Arden", "Brisk", "Corvale", "Dunmore"};

double Between(std::mt19937& random, double low, double high) {
    return low + (high - low) * std::uniform_real_distribution<double>(0, 1)(random);
}

void Generate(const std::filesystem::path& file, int worksheets) {
    MainDatabase main(file);
    Database& db = main.db();
    CompanyRow company;
    company.CompName = "Bench Aviation";
    company.CompAddress = "1 Field Rd";
    company.FormTitle = "Weight and Balance";
    main.WriteCompanyRow(company);
    db.Exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = OFF; PRAGMA cache_size = -200000");

    std::mt19937 random(20240601u + static_cast<unsigned>(worksheets));
    const int tails = TailCount(worksheets);
    Statement aircraft = db.Prepare(AircraftInsertSql());
    Statement equipment = db.Prepare(
        "INSERT INTO Equipment (Tail, \"Date\", RowNum, Description, Serial, Weight, Arm, Install, Remove, "
        "List) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Transaction tx(db);
    for (int i = 0; i < worksheets; ++i) {
        const int k = i % tails;
        const std::string tail = TailName(k);
        // One Worksheet per tail and date, as the store keeps them, spread over 30 years.
        const int slot = i / tails;
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1995 + slot * 30 / kPerTail % 30,
                      1 + (k * 7 + slot) % 12, 1 + k % 28);
        std::vector<Value> v;
        v.reserve(AircraftColumns().size());
        v.emplace_back(tail);
        v.emplace_back(std::string(date));
        v.emplace_back("S" + std::to_string(10000 + k));
        v.emplace_back(std::string(kMakes[k % 4]));
        v.emplace_back("M-" + std::to_string(100 + k % 50));
        v.emplace_back(std::to_string(1960 + k % 60));
        v.emplace_back(Between(random, 1200, 2400));
        v.emplace_back(Between(random, 35, 45));
        v.emplace_back(Between(random, 2300, 3600));
        for (const char* text :
             {"1234.5", "J. Smith", "A&P 123", "Annual", "35.0 - 47.3", "", "", "Weighed level"})
            v.emplace_back(std::string(text));
        for (const char* name : {"Right Main", "Left Main", "Nose", "Tail", "Spare"})
            v.emplace_back(std::string(name));
        for (int n = 0; n < 5; ++n)
            v.emplace_back(Between(random, 0, 5));
        for (int n = 0; n < 5; ++n)
            v.emplace_back(Between(random, 300, 900));
        for (int n = 0; n < 5; ++n)
            v.emplace_back(Between(random, 10, 90));
        for (const char* name : {"Forward Tanks", "Aft Tanks", "Oil", "Hydraulic", "Aux"})
            v.emplace_back(std::string(name));
        for (int n = 0; n < 5; ++n)
            v.emplace_back(Between(random, -60, -5));
        for (int n = 0; n < 5; ++n)
            v.emplace_back(Between(random, 20, 120));
        v.emplace_back();  // no ballast arm
        for (int n = 0; n < 3; ++n)
            v.emplace_back();  // pounds and inches, no chord
        aircraft.BindAll(v);
        aircraft.Run();
        aircraft.Reset();

        auto add = [&](int rowNum, const char* part, double weight, double arm, bool in, bool out,
                       const char* list) {
            equipment.BindAll({tail, std::string(date), std::int64_t{rowNum}, std::string(part),
                               "SN" + std::to_string(random() % 100000), weight, arm,
                               std::int64_t{in ? 1 : 0}, std::int64_t{out ? 1 : 0}, std::string(list)});
            equipment.Run();
            equipment.Reset();
        };
        const int changes = 5 + static_cast<int>(random() % 26);
        for (int r = 0; r < changes; ++r) {
            const bool in = random() % 2 == 0;
            add(r, kParts[random() % std::size(kParts)], Between(random, 0.5, 40), Between(random, 10, 150),
                in, !in, "changes");
        }
        const int items = 20 + static_cast<int>(random() % 81);
        for (int r = 0; r < items; ++r)
            add(r, kParts[random() % std::size(kParts)], Between(random, 0.5, 40), Between(random, 10, 150),
                false, false, "equipment");
    }
    FillFoldedColumns(db);
    tx.Commit();
    db.Exec("ANALYZE");
}

}  // namespace

int TailCount(int worksheets) {
    return worksheets < kPerTail ? 1 : worksheets / kPerTail;
}

std::string TailName(int k) {
    return "N" + std::to_string(1000 + k) + static_cast<char>('A' + k % 26);
}

std::filesystem::path CachedDatabase(int worksheets) {
    const std::filesystem::path folder = WB_BENCH_DATA;
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / ("worksheets-" + std::to_string(worksheets) + ".db");
    if (std::filesystem::exists(file)) return file;
    // Written under another name and renamed when complete, so that a stopped run leaves no
    // half database behind to be mistaken for a whole one.
    std::filesystem::path partial = file;
    partial += ".partial";
    std::error_code ec;
    std::filesystem::remove(partial, ec);
    Generate(partial, worksheets);
    std::filesystem::rename(partial, file);
    return file;
}

// The generated 200 Worksheets made one tail's, 40 days apart, audited and each signed in date
// order: a chain of 200. Made once and kept.
std::filesystem::path OneTailDatabase() {
    const std::filesystem::path source = CachedDatabase(200);
    const std::filesystem::path made = source.parent_path() / "one-tail-200.MDB";
    std::error_code ec;
    if (std::filesystem::exists(made, ec)) return made;
    const std::filesystem::path part = made.string() + ".part";
    std::filesystem::remove(part, ec);
    std::filesystem::copy_file(source, part, ec);
    {
        MainDatabase main(part);
        Database& db = main.db();
        db.Exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY");
        db.Exec(
            "CREATE TEMP TABLE Moved AS SELECT Tail AS OldTail, \"Date\" AS OldDate, "
            "date('1990-01-01', '+' || (Id * 40) || ' days') AS NewDate FROM Aircraft;"
            "UPDATE Equipment SET \"Date\" = (SELECT NewDate FROM Moved WHERE OldTail = Equipment.Tail AND "
            "OldDate = "
            "Equipment.\"Date\"), Tail = 'N200PK', FoldedTail = 'n200pk';"
            "UPDATE Aircraft SET \"Date\" = (SELECT NewDate FROM Moved WHERE OldTail = Aircraft.Tail AND "
            "OldDate = "
            "Aircraft.\"Date\"), Tail = 'N200PK', FoldedTail = 'n200pk';");
        {
            Transaction tx(db);
            AuditEveryWorksheet(db, audit::kUpgrade);
            tx.Commit();
        }
        SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        const std::int64_t signer = AddSigner(db, "J. Smith", "A&P", "3456789", "bench passphrase");
        std::vector<std::int64_t> all;
        {
            Statement ids = db.Prepare("SELECT Id FROM Aircraft ORDER BY \"Date\", Id");
            while (ids.Step())
                all.push_back(ids.Int(0));
        }
        for (std::int64_t id : all)
            SignWorksheet(db, id, signer, "bench passphrase");
    }
    std::filesystem::rename(part, made, ec);
    return made;
}

}  // namespace wb::bench
