// The seam between the record store and the database engine behind it: a connection, a
// prepared statement and a transaction. The store speaks one SQL (placeholders "?", quoted
// names as in the tables) to either engine: the local SQLite file, or a shop's PostgreSQL
// server. Every value reaches SQL as a bound parameter, never as SQL text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;

namespace wb {

// A failure reported by the engine, with its (extended) result code and message.
class EngineError : public std::runtime_error {
  public:
    // The kind of failure, for telling the user in plain words. ServerLost: the shop server
    // stopped answering (stopped, network gone, a time limit passed). CommitUnknown: it
    // stopped answering after a commit was sent, so the transaction may have been stored.
    enum class Kind { DiskFull, ReadOnly, Busy, InputOutput, Damaged, ServerLost, CommitUnknown, Other };

    // A failure of the SQLite engine: its kind follows from the result code.
    EngineError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    EngineError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    int code() const { return code_; }
    Kind kind() const;

  private:
    int code_ = 0;
    std::optional<Kind> kind_;
};
// The name the SQLite-only code knows it by.
using SqliteError = EngineError;

// A value bound to a statement parameter: Null, a whole number, a real number or text.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;
using Nullable = std::optional<std::string>;

// One engine's prepared statement.
class StatementEngine {
  public:
    virtual ~StatementEngine() = default;
    virtual void Bind(int index, const Value& value) = 0;
    virtual bool Step() = 0;
    virtual void Reset() = 0;
    virtual int ColumnCount() const = 0;
    virtual bool IsNull(int col) const = 0;
    virtual std::int64_t Int(int col) const = 0;
    virtual double Real(int col) const = 0;
    virtual Nullable Text(int col) const = 0;
    virtual Value Get(int col) const = 0;
    // The result column's name as the engine gives it (the server folds unquoted names).
    virtual std::string ColumnName(int col) const = 0;
};

// One engine's connection.
class ConnectionEngine {
  public:
    virtual ~ConnectionEngine() = default;
    virtual void Exec(std::string_view sql) = 0;
    virtual std::unique_ptr<StatementEngine> Prepare(std::string_view sql) = 0;
    virtual std::int64_t LastInsertRowid() = 0;
    virtual bool ReadOnly() = 0;
    virtual void Begin() = 0;
    // Holds, until the transaction ends, a lock on each name that any other connection
    // taking the same name waits for. Nothing to do where a write transaction already
    // excludes every other writer.
    virtual void LockNames(const std::vector<std::string>& names) = 0;
    // The SQL for the local date and time as "yyyy-mm-dd hh:mm:ss".
    virtual std::string_view LocalNowSql() const = 0;
    virtual sqlite3* SqliteHandle() const { return nullptr; }
    // False while work of a connection given up on (a commit whose answer was lost) may still
    // be ending at the other end, so that its outcome is not final yet.
    virtual bool AbandonedWorkEnded() { return true; }
};

class Statement {
  public:
    Statement() = default;
    explicit Statement(std::unique_ptr<StatementEngine> engine) : engine_(std::move(engine)) {}

    // Parameters are numbered from 1, as in the SQL text.
    Statement& Bind(int index, const Value& value) {
        engine_->Bind(index, value);
        return *this;
    }
    Statement& BindAll(const std::vector<Value>& values);  // from parameter 1 onward
    // Runs one step; true while a result row is available.
    bool Step() { return engine_->Step(); }
    // Runs to the end, for statements without result rows.
    void Run();
    // Makes the statement ready to run again with new parameters.
    void Reset() { engine_->Reset(); }

    int ColumnCount() const { return engine_->ColumnCount(); }
    bool IsNull(int col) const { return engine_->IsNull(col); }
    std::int64_t Int(int col) const { return engine_->Int(col); }
    double Real(int col) const { return engine_->Real(col); }
    // The column as text: Null stays Null, numbers in their plain form.
    Nullable Text(int col) const { return engine_->Text(col); }
    std::optional<double> Number(int col) const;
    // The column as stored: Null, whole number, real number or text.
    Value Get(int col) const { return engine_->Get(col); }
    std::string ColumnName(int col) const { return engine_->ColumnName(col); }

  private:
    std::unique_ptr<StatementEngine> engine_;
};

class Database {
  public:
    // ReadOnly: a file that must not be written, such as one found damaged.
    enum class Mode { OpenExisting, CreateIfMissing, ReadOnly };

    Database() = default;
    // A local SQLite file.
    Database(const std::filesystem::path& file, Mode mode);
    // Any engine's connection; `place` names it for the mechanic (a file, a server address).
    Database(std::unique_ptr<ConnectionEngine> engine, std::filesystem::path place)
        : engine_(std::move(engine)), file_(std::move(place)) {}

    bool IsOpen() const { return engine_ != nullptr; }
    // The local file, or the server's address on a shop server.
    const std::filesystem::path& file() const { return file_; }
    void Exec(std::string_view sql) { engine_->Exec(sql); }
    Statement Prepare(std::string_view sql) { return Statement(engine_->Prepare(sql)); }
    std::int64_t LastInsertRowid() const { return engine_->LastInsertRowid(); }
    bool ReadOnly() const { return engine_->ReadOnly(); }
    ConnectionEngine& engine() { return *engine_; }
    // The SQLite connection; nothing on a shop server.
    sqlite3* handle() const { return engine_ ? engine_->SqliteHandle() : nullptr; }
    bool OnServer() const { return engine_ && engine_->SqliteHandle() == nullptr; }

  private:
    std::unique_ptr<ConnectionEngine> engine_;
    std::filesystem::path file_;
};

// A write transaction, begun at construction and rolled back at destruction unless
// committed, so a step that throws leaves the database as it was before.
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

// The shortest plain text that reads back as the same double ("0.000001", not "1E-06").
std::string PlainNumber(double v);

}  // namespace wb
