#include "store/Sqlite.h"

#include "store/CaseFold.h"

#include <charconv>

#include <sqlite3.h>

#include <cstdio>
#include <utility>

namespace wb {
namespace {

[[noreturn]] void Fail(sqlite3* db, int code) {
    const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    int extended = db != nullptr ? sqlite3_extended_errcode(db) : code;
    throw SqliteError(extended, message != nullptr ? message : "unknown database error");
}

}  // namespace

// So that a stored number comes back as it was typed. Never through printf: the window toolkit
// sets the user's LC_NUMERIC, and a decimal comma would be read back as the end of the number.
std::string PlainNumber(double v) {
    // The longest fixed form of a double: 309 integer digits, or "0." and 324 decimals.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

EngineError::Kind EngineError::kind() const {
    if (kind_) return *kind_;
    // A write cut short is reported as full; one refused outright (a file-size limit, a quota)
    // comes as a failed write, which for the mechanic amounts to the same.
    if (code_ == SQLITE_IOERR_WRITE) return Kind::DiskFull;
    // A page beyond the end of the file reads short: the file was cut, not the disk failing.
    if (code_ == SQLITE_IOERR_SHORT_READ) return Kind::Damaged;
    switch (code_ & 0xff) {
        case SQLITE_FULL:
            return Kind::DiskFull;
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return Kind::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Kind::Busy;
        case SQLITE_IOERR:
            return Kind::InputOutput;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return Kind::Damaged;
        default:
            return Kind::Other;
    }
}

namespace {

class SqliteStatement final : public StatementEngine {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
        int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
        if (rc != SQLITE_OK) Fail(db, rc);
    }
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void Bind(int index, const Value& value) override {
        int rc = SQLITE_OK;
        if (std::holds_alternative<std::monostate>(value)) {
            rc = sqlite3_bind_null(stmt_, index);
        } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
            rc = sqlite3_bind_int64(stmt_, index, *i);
        } else if (const auto* d = std::get_if<double>(&value)) {
            rc = sqlite3_bind_double(stmt_, index, *d);
        } else {
            const std::string& s = std::get<std::string>(value);
            rc = sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) Fail(db_, rc);
    }

    bool Step() override {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        Fail(db_, rc);
    }

    void Reset() override {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    int ColumnCount() const override { return sqlite3_column_count(stmt_); }
    bool IsNull(int col) const override { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
    std::int64_t Int(int col) const override { return sqlite3_column_int64(stmt_, col); }
    double Real(int col) const override { return sqlite3_column_double(stmt_, col); }

    Nullable Text(int col) const override {
        switch (sqlite3_column_type(stmt_, col)) {
            case SQLITE_NULL:
                return std::nullopt;
            case SQLITE_INTEGER:
                return std::to_string(sqlite3_column_int64(stmt_, col));
            case SQLITE_FLOAT:
                return PlainNumber(sqlite3_column_double(stmt_, col));
            default: {
                const unsigned char* t = sqlite3_column_text(stmt_, col);
                int n = sqlite3_column_bytes(stmt_, col);
                return t != nullptr ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(n))
                                    : std::string();
            }
        }
    }

    Value Get(int col) const override {
        switch (sqlite3_column_type(stmt_, col)) {
            case SQLITE_NULL:
                return {};
            case SQLITE_INTEGER:
                return sqlite3_column_int64(stmt_, col);
            case SQLITE_FLOAT:
                return sqlite3_column_double(stmt_, col);
            default:
                return *Text(col);
        }
    }

    std::string ColumnName(int col) const override {
        const char* name = sqlite3_column_name(stmt_, col);
        return name != nullptr ? name : "";
    }

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteConnection final : public ConnectionEngine {
  public:
    SqliteConnection(const std::filesystem::path& file, Database::Mode mode) {
        int flags = SQLITE_OPEN_READWRITE | (mode == Database::Mode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
        if (mode == Database::Mode::ReadOnly) flags = SQLITE_OPEN_READONLY;
        int rc = sqlite3_open_v2(file.string().c_str(), &db_, flags, nullptr);
        if (rc != SQLITE_OK) {
            std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close_v2(db_);
            throw SqliteError(rc, message);
        }
        sqlite3_extended_result_codes(db_, 1);
        // The Tail indexes are built on it: without it no Aircraft or Equipment row can be written.
        rc = RegisterFoldCase(db_);
        if (rc != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db_);
            sqlite3_close_v2(db_);
            throw SqliteError(rc, message);
        }
        // Another program (or a copy of this one on a shared drive) may hold the file briefly.
        sqlite3_busy_timeout(db_, 5000);
    }
    ~SqliteConnection() override { sqlite3_close_v2(db_); }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    void Exec(std::string_view sql) override {
        std::string text(sql);
        char* error = nullptr;
        int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
        if (rc != SQLITE_OK) {
            std::string message = error != nullptr ? error : sqlite3_errstr(rc);
            sqlite3_free(error);
            throw SqliteError(sqlite3_extended_errcode(db_), message);
        }
    }
    std::unique_ptr<StatementEngine> Prepare(std::string_view sql) override {
        return std::make_unique<SqliteStatement>(db_, sql);
    }
    std::int64_t LastInsertRowid() override { return sqlite3_last_insert_rowid(db_); }
    bool ReadOnly() override { return sqlite3_db_readonly(db_, "main") == 1; }
    void Begin() override { Exec("BEGIN IMMEDIATE"); }
    // BEGIN IMMEDIATE already keeps every other writer out until the transaction ends.
    void LockNames(const std::vector<std::string>&) override {}
    std::string_view LocalNowSql() const override {
        return "strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')";
    }
    sqlite3* SqliteHandle() const override { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace

Database::Database(const std::filesystem::path& file, Mode mode)
    : engine_(std::make_unique<SqliteConnection>(file, mode)), file_(file) {}

Statement& Statement::BindAll(const std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        Bind(static_cast<int>(i + 1), values[i]);
    return *this;
}

void Statement::Run() {
    while (Step()) {
    }
}

std::optional<double> Statement::Number(int col) const {
    if (IsNull(col)) return std::nullopt;
    return Real(col);
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.engine().Begin();
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        db_.Exec("ROLLBACK");
    } catch (const std::exception&) {
        // A failed statement may already have ended the transaction, or the server is gone
        // and took the transaction with it; nothing is left to undo.
    }
}

void Transaction::Commit() {
    db_.Exec("COMMIT");
    done_ = true;
}

std::string Quoted(std::string_view identifier) {
    std::string q = "\"";
    for (char c : identifier) {
        if (c == '"') q.push_back('"');
        q.push_back(c);
    }
    q.push_back('"');
    return q;
}

}  // namespace wb
