// Small owning wrappers over the SQLite C API: a database connection, a prepared statement
// and a transaction. Every value reaches SQL as a bound parameter, never as SQL text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace wb {

// A failure reported by the engine, with its (extended) result code and message.
class SqliteError : public std::runtime_error {
  public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

    // The kind of failure, for telling the user in plain words.
    enum class Kind { DiskFull, ReadOnly, Busy, InputOutput, Damaged, Other };
    Kind kind() const;

  private:
    int code_;
};

// A value bound to a statement parameter: Null, a whole number, a real number or text.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;
using Nullable = std::optional<std::string>;

class Statement {
  public:
    Statement() = default;
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters are numbered from 1, as in the SQL text.
    Statement& Bind(int index, const Value& value);
    Statement& BindAll(const std::vector<Value>& values);  // from parameter 1 onward
    // Runs one step; true while a result row is available.
    bool Step();
    // Runs to the end, for statements without result rows.
    void Run();
    // Makes the statement ready to run again with new parameters.
    void Reset();

    int ColumnCount() const;
    bool IsNull(int col) const;
    std::int64_t Int(int col) const;
    double Real(int col) const;
    // The column as text: Null stays Null, numbers in their plain form.
    Nullable Text(int col) const;
    std::optional<double> Number(int col) const;
    // The column as stored: Null, whole number, real number or text (blobs as text).
    Value Get(int col) const;

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
  public:
    // ReadOnly: a file that must not be written, such as one found damaged.
    enum class Mode { OpenExisting, CreateIfMissing, ReadOnly };

    Database() = default;
    Database(const std::filesystem::path& file, Mode mode);
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool IsOpen() const { return db_ != nullptr; }
    const std::filesystem::path& file() const { return file_; }
    void Exec(std::string_view sql);  // one or more statements without parameters
    Statement Prepare(std::string_view sql);
    std::int64_t LastInsertRowid() const;
    bool ReadOnly() const;
    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
};

// BEGIN IMMEDIATE at construction; rolled back at destruction unless committed, so a step
// that throws leaves the database as it was before.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

  private:
    Database& db_;
    bool done_ = false;
};

// A column or table name made safe to place in SQL text.
std::string Quoted(std::string_view identifier);

}  // namespace wb
