#include "store/pg/CopyUp.h"

#include <string>
#include <vector>

#include "store/Audit.h"

namespace wb {
namespace {

// Rows go up in batches: one statement per hundred rows, not one per row.
constexpr size_t kBatchRows = 100;

bool IsFlag(const std::string& column) {
    return column == "Install" || column == "Remove" || column == "PrintCo" || column == "PrintCG" ||
           column == "PrintMech" || column == "PrintNotes" || column == "Retired";
}

std::vector<std::string> ColumnsOf(Database& local, const std::string& table) {
    Statement s = local.Prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
    s.Bind(1, table);
    std::vector<std::string> names;
    while (s.Step())
        names.push_back(s.Text(0).value_or(""));
    return names;
}

// How far the whole move is: rows of every table, as the batches go up.
struct Moved {
    Progress& progress;
    std::int64_t done = 0, total = 0;
};

std::int64_t CountRows(Database& local, const std::string& table) {
    Statement s = local.Prepare("SELECT count(*) FROM " + Quoted(table));
    return s.Step() ? s.Int(0) : 0;
}

std::int64_t CopyTable(Database& local, Database& server, const std::string& table, Moved& moved) {
    const std::vector<std::string> columns = ColumnsOf(local, table);
    std::string names;
    for (const std::string& c : columns)
        names += (names.empty() ? "" : ", ") + Quoted(c);
    std::string tuple = "(";
    for (size_t i = 0; i < columns.size(); ++i)
        tuple += i == 0 ? "?" : ", ?";
    tuple += ")";

    Statement read = local.Prepare("SELECT " + names + " FROM " + Quoted(table) + " ORDER BY Id");
    std::vector<Value> values;
    size_t rows = 0;
    std::int64_t copied = 0;
    auto flush = [&] {
        if (rows == 0) return;
        std::string sql = "INSERT INTO " + Quoted(table) + " (" + names + ") VALUES ";
        for (size_t r = 0; r < rows; ++r)
            sql += (r == 0 ? "" : ", ") + tuple;
        Statement insert = server.Prepare(sql);
        insert.BindAll(values);
        insert.Run();
        copied += static_cast<std::int64_t>(rows);
        moved.done += static_cast<std::int64_t>(rows);
        values.clear();
        rows = 0;
        moved.progress.Report(moved.done, moved.total, "Copying " + table + " rows to the shop server");
        // Nothing is kept of a move stopped half way: the transaction goes back.
        StopIfCancelled(moved.progress);
    };
    while (read.Step()) {
        for (size_t c = 0; c < columns.size(); ++c) {
            Value v = read.Get(static_cast<int>(c));
            // Yes/no as the server keeps them, whatever number an old file used for yes.
            if (IsFlag(columns[c]) && !std::holds_alternative<std::monostate>(v))
                v = std::int64_t{read.Int(static_cast<int>(c)) != 0 ? 1 : 0};
            values.push_back(std::move(v));
        }
        if (++rows == kBatchRows) flush();
    }
    flush();
    // New rows are numbered after the copied ones.
    Statement next = server.Prepare(
        "SELECT setval(pg_get_serial_sequence(lower(?), 'id'), coalesce(max(Id), 0) + 1, false) FROM " +
        Quoted(table));
    next.Bind(1, table);
    next.Run();
    return copied;
}

}  // namespace

CopyUpCounts CopyUp(Database& local, Database& server, Progress& progress) {
    Transaction tx(server);
    server.engine().LockNames({"layout"});
    // Records of any kind, superseded versions included, are never merged with the local ones.
    for (const char* table :
         {"Aircraft", "Equipment", "AircraftRevision", "EquipmentRevision", "Signature", "AuditTrail",
          "ImportedAudit", "Loading", "LoadingRevision"}) {
        Statement any = server.Prepare(std::string("SELECT 1 FROM ") + table + " LIMIT 1");
        if (any.Step()) throw ServerNotEmpty();
    }
    // The company settings go up with the records, unless the server's were filled in already.
    Statement company = server.Prepare("SELECT count(*) FROM CompanyInfo WHERE CompName IS NOT NULL");
    const bool serverCompany = company.Step() && company.Int(0) > 0;
    Moved moved{progress};
    for (const char* table : {"Aircraft", "Equipment", "AircraftRevision", "EquipmentRevision", "Signer",
                              "Signature", "Correction", "AuditTrail", "ImportedAudit", "Loading",
                              "LoadingRevision"})
        moved.total += CountRows(local, table);
    if (!serverCompany) {
        moved.total += CountRows(local, "CompanyInfo");
        server.Exec("DELETE FROM CompanyInfo");
        CopyTable(local, server, "CompanyInfo", moved);
    }
    // The shop's scales too, unless the server keeps some already: the weighings name them.
    Statement scales = server.Prepare("SELECT 1 FROM Scale LIMIT 1");
    if (!scales.Step()) CopyTable(local, server, "Scale", moved);
    CopyUpCounts counts;
    counts.worksheets = CopyTable(local, server, "Aircraft", moved);
    counts.listRows = CopyTable(local, server, "Equipment", moved);
    counts.revisions = CopyTable(local, server, "AircraftRevision", moved);
    CopyTable(local, server, "EquipmentRevision", moved);
    CopyTable(local, server, "Loading", moved);
    CopyTable(local, server, "LoadingRevision", moved);
    // Signatures and the audit trail go up as they are, so that they verify on the server.
    for (const char* table : {"Signer", "Signature", "Correction", "AuditTrail", "ImportedAudit"})
        CopyTable(local, server, table, moved);
    AuditEveryWorksheet(server, audit::kMoveUp);
    tx.Commit();
    return counts;
}

}  // namespace wb
