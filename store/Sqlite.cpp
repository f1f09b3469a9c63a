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

// The shortest plain text that reads back as the same double ("0.000001", not "1E-06"), so
// that a stored number comes back as it was typed. Never through printf: the window toolkit
// sets the user's LC_NUMERIC, and a decimal comma would be read back as the end of the number.
std::string PlainNumber(double v) {
    // The longest fixed form of a double: 309 integer digits, or "0." and 324 decimals.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

}  // namespace

SqliteError::Kind SqliteError::kind() const {
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

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

Statement& Statement::Bind(int index, const Value& value) {
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
    return *this;
}

Statement& Statement::BindAll(const std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        Bind(static_cast<int>(i + 1), values[i]);
    return *this;
}

bool Statement::Step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, rc);
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

bool Statement::IsNull(int col) const {
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

std::int64_t Statement::Int(int col) const {
    return sqlite3_column_int64(stmt_, col);
}

double Statement::Real(int col) const {
    return sqlite3_column_double(stmt_, col);
}

Nullable Statement::Text(int col) const {
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

std::optional<double> Statement::Number(int col) const {
    if (IsNull(col)) return std::nullopt;
    return sqlite3_column_double(stmt_, col);
}

Value Statement::Get(int col) const {
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

Database::Database(const std::filesystem::path& file, Mode mode) : file_(file) {
    int flags = SQLITE_OPEN_READWRITE | (mode == Mode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    if (mode == Mode::ReadOnly) flags = SQLITE_OPEN_READONLY;
    int rc = sqlite3_open_v2(file.string().c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw SqliteError(rc, message);
    }
    sqlite3_extended_result_codes(db_, 1);
    // The Tail indexes are built on it: without it no Aircraft or Equipment row can be written.
    rc = RegisterFoldCase(db_);
    if (rc != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw SqliteError(rc, message);
    }
    // Another program (or a copy of this one on a shared drive) may hold the file briefly.
    sqlite3_busy_timeout(db_, 5000);
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), file_(std::move(other.file_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
        file_ = std::move(other.file_);
    }
    return *this;
}

void Database::Exec(std::string_view sql) {
    std::string text(sql);
    char* error = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error != nullptr ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw SqliteError(sqlite3_extended_errcode(db_), message);
    }
}

Statement Database::Prepare(std::string_view sql) {
    return Statement(db_, sql);
}

std::int64_t Database::LastInsertRowid() const {
    return sqlite3_last_insert_rowid(db_);
}

bool Database::ReadOnly() const {
    return sqlite3_db_readonly(db_, "main") == 1;
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.Exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        db_.Exec("ROLLBACK");
    } catch (const SqliteError&) {
        // A failed statement may already have ended the transaction; nothing is left to undo.
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
