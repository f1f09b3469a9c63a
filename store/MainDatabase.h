// The main database "VELK.MDB" in the data folder, and its company settings: the company
// row (the first CompanyInfo row) and the report font row (CompName "Reports").
#pragma once

#include <filesystem>
#include <optional>

#include "store/Sqlite.h"
#include "worksheet/Company.h"

namespace wb {

class MainDatabase {
  public:
    static constexpr const char* kFileName = "VELK.MDB";

    // Opens `file`, creating it with its tables and an all-Null company row when it is
    // missing. Throws StoreError naming the file when it cannot be used.
    explicit MainDatabase(const std::filesystem::path& file);
    // A connection already opened with the tables in place (a shop server).
    explicit MainDatabase(Database db) : db_(std::move(db)) {}

    Database& db() { return db_; }
    const std::filesystem::path& file() const { return db_.file(); }

    // The company row. An empty CompanyInfo table is given its row first.
    CompanyRow ReadCompanyRow();
    // The company row as it stands, writing nothing: absent while the table is empty.
    std::optional<CompanyRow> FindCompanyRow();
    void WriteCompanyRow(const CompanyRow& row);
    std::int64_t CompanyRowId();

    // The report font row: nothing while no font has been chosen.
    std::optional<ReportFont> ReadReportFont();
    // Edits the first "Reports" row, or appends one after the company row.
    void WriteReportFont(const ReportFont& font);

  private:
    Database db_;
};

// The company row and the report font row as they stand, on any connection to a main
// database, writing nothing: for work that runs on a connection of its own.
std::optional<CompanyRow> FindCompanyRow(Database& db);
std::optional<ReportFont> ReadReportFont(Database& db);

}  // namespace wb
