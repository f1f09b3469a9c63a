#include "store/pg/PgConnection.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unordered_map>

#include "store/Audit.h"
#include "store/Scales.h"
#include "store/Schema.h"
#include "store/pg/SocketWait.h"

namespace wb {
namespace {

// Column types as the server numbers them.
constexpr Oid kBoolOid = 16, kInt8Oid = 20, kInt2Oid = 21, kInt4Oid = 23, kFloat4Oid = 700, kFloat8Oid = 701,
              kNumericOid = 1700;

// The store's SQL in the server's: "?" placeholders become $1, $2 ...; quoted names are
// folded to lower case as the server folds unquoted ones, so "Date" and Date name one column.
std::string Translate(std::string_view sql, int* placeholders = nullptr) {
    std::string out;
    out.reserve(sql.size() + 16);
    int n = 0;
    char quote = 0;
    for (char c : sql) {
        if (quote != 0) {
            if (c == quote) quote = 0;
            out.push_back(quote == '"' && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
            continue;
        }
        if (c == '\'' || c == '"') quote = c;
        if (c == '?') {
            out += "$" + std::to_string(++n);
            continue;
        }
        out.push_back(c);
    }
    if (placeholders != nullptr) *placeholders = n;
    return out;
}

bool Starts(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}
bool Has(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

EngineError::Kind KindOf(std::string_view state) {
    if (state == "53100") return EngineError::Kind::DiskFull;
    if (state == "25006" || state == "42501") return EngineError::Kind::ReadOnly;
    if (state == "40001" || state == "40P01" || state == "55P03") return EngineError::Kind::Busy;
    // A statement past its time limit, a server shutting down, a connection cut.
    if (state == "57014" || Starts(state, "57P") || Starts(state, "08")) return EngineError::Kind::ServerLost;
    return EngineError::Kind::Other;
}

class PgConnection;

class PgStatement final : public StatementEngine {
  public:
    PgStatement(PgConnection& conn, std::string sql, int placeholders = 0)
        : conn_(conn), sql_(std::move(sql)), placeholders_(placeholders) {}
    ~PgStatement() override { PQclear(result_); }
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

    void Bind(int index, const Value& value) override {
        if (index < 1) return;
        if (params_.size() < static_cast<size_t>(index)) params_.resize(static_cast<size_t>(index));
        std::optional<std::string>& p = params_[static_cast<size_t>(index - 1)];
        if (std::holds_alternative<std::monostate>(value)) {
            p.reset();
        } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
            p = std::to_string(*i);
        } else if (const auto* d = std::get_if<double>(&value)) {
            char buf[64];
            auto res = std::to_chars(buf, buf + sizeof buf, *d);
            p = std::string(buf, res.ptr);
        } else {
            p = std::get<std::string>(value);
        }
    }

    bool Step() override;

    void Reset() override {
        PQclear(result_);
        result_ = nullptr;
        row_ = -1;
        params_.clear();
    }

    int ColumnCount() const override { return result_ != nullptr ? PQnfields(result_) : 0; }
    bool IsNull(int col) const override { return !Valid(col) || PQgetisnull(result_, row_, col) == 1; }

    std::int64_t Int(int col) const override {
        if (IsNull(col)) return 0;
        const std::string_view v = Raw(col);
        if (Type(col) == kBoolOid) return v == "t" ? 1 : 0;
        if (IsReal(col)) return static_cast<std::int64_t>(Real(col));
        std::int64_t i = 0;
        std::from_chars(v.data(), v.data() + v.size(), i);
        return i;
    }

    double Real(int col) const override {
        if (IsNull(col)) return 0;
        const std::string_view v = Raw(col);
        if (Type(col) == kBoolOid) return v == "t" ? 1 : 0;
        double d = 0;
        std::from_chars(v.data(), v.data() + v.size(), d);
        return d;
    }

    // As the local engine gives them: yes/no as 1 and 0, real numbers in their plain form.
    Nullable Text(int col) const override {
        if (IsNull(col)) return std::nullopt;
        if (Type(col) == kBoolOid) return std::string(Raw(col) == "t" ? "1" : "0");
        if (IsReal(col)) return PlainNumber(Real(col));
        return std::string(Raw(col));
    }

    Value Get(int col) const override {
        if (IsNull(col)) return {};
        const Oid t = Type(col);
        if (t == kBoolOid || t == kInt2Oid || t == kInt4Oid || t == kInt8Oid) return Int(col);
        if (IsReal(col)) return Real(col);
        return std::string(Raw(col));
    }

    std::string ColumnName(int col) const override {
        const char* name = result_ != nullptr ? PQfname(result_, col) : nullptr;
        return name != nullptr ? name : "";
    }

  private:
    bool Valid(int col) const {
        return result_ != nullptr && row_ >= 0 && row_ < PQntuples(result_) && col >= 0 &&
               col < PQnfields(result_);
    }
    Oid Type(int col) const { return PQftype(result_, col); }
    bool IsReal(int col) const {
        const Oid t = Type(col);
        return t == kFloat8Oid || t == kFloat4Oid || t == kNumericOid;
    }
    std::string_view Raw(int col) const {
        return {PQgetvalue(result_, row_, col), static_cast<size_t>(PQgetlength(result_, row_, col))};
    }

    PgConnection& conn_;
    std::string sql_;
    int placeholders_;  // a parameter never bound is Null, as with the local engine
    std::vector<std::optional<std::string>> params_;
    PGresult* result_ = nullptr;
    int row_ = -1;
};

// What opens a connection again: the client library's keywords and values.
using ConnectParams = std::vector<std::pair<std::string, std::string>>;

PGconn* Connect(const ConnectParams& params) {
    std::vector<const char*> keys, values;
    for (const auto& [key, value] : params) {
        keys.push_back(key.c_str());
        values.push_back(value.c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn* conn = PQconnectdbParams(keys.data(), values.data(), 0);
    // Sending never blocks: a statement that does not fit in the socket is sent on within the
    // time limit (see Answer).
    if (conn != nullptr && PQstatus(conn) == CONNECTION_OK) PQsetnonblocking(conn, 1);
    return conn;
}

class PgConnection final : public ConnectionEngine {
  public:
    PgConnection(PGconn* conn, ConnectParams params, int limitSeconds)
        : conn_(conn), params_(std::move(params)), limit_(std::chrono::seconds(limitSeconds)) {}
    ~PgConnection() override { PQfinish(conn_); }
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    void Exec(std::string_view sql) override {
        const bool ending = sql == "COMMIT" || sql == "ROLLBACK";
        // A transaction the server dropped with the connection has nothing left to undo.
        if (sql == "ROLLBACK" && (broken_ || PQstatus(conn_) == CONNECTION_BAD)) {
            inTransaction_ = false;
            return;
        }
        EnsureConnected();
        const bool committing = sql == "COMMIT";
        if (ending) inTransaction_ = false;
        try {
            if (PQsendQuery(conn_, Translate(sql).c_str()) == 0) Lost();
            Check(Answer());
        } catch (const EngineError& e) {
            // The commit was sent and its answer never came: it may have been stored.
            if (committing && e.kind() == EngineError::Kind::ServerLost)
                throw EngineError(EngineError::Kind::CommitUnknown, e.what());
            throw;
        }
    }

    std::unique_ptr<StatementEngine> Prepare(std::string_view sql) override {
        int placeholders = 0;
        std::string translated = Translate(sql, &placeholders);
        return std::make_unique<PgStatement>(*this, std::move(translated), placeholders);
    }

    std::int64_t LastInsertRowid() override {
        PgStatement s(*this, "SELECT lastval()");
        return s.Step() ? s.Int(0) : 0;
    }

    bool ReadOnly() override { return false; }

    void Begin() override {
        Retried(true, [&] { Exec("BEGIN"); });
        inTransaction_ = true;
    }

    // Transaction-scoped advisory locks, taken in one order so that two saves never wait on
    // each other crosswise.
    void LockNames(const std::vector<std::string>& names) override {
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (const std::string& name : sorted) {
            PgStatement s(*this, "SELECT pg_advisory_xact_lock(hashtextextended($1, 0))");
            s.Bind(1, "weightbalance " + name);
            s.Step();
        }
    }

    std::string_view LocalNowSql() const override {
        return "to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')";
    }

    // The server process of a connection given up on ends its transaction, stored or not,
    // before it goes: until it has gone, what that transaction did is not final.
    bool AbandonedWorkEnded() override {
        if (abandoned_ == 0) return true;
        // Idle, or gone, it has ended its transaction one way or the other.
        PgStatement s(*this, "SELECT 1 FROM pg_stat_activity WHERE pid = $1 AND xact_start IS NOT NULL");
        s.Bind(1, std::int64_t{abandoned_});
        if (s.Step()) return false;
        abandoned_ = 0;
        return true;
    }

    // Runs `sql` with its parameters; the result is the caller's.
    // Each statement text is prepared once per connection and then only executed: a save's
    // long multi-row insert is parsed and planned once, not at every save.
    PGresult* Run(const std::string& sql, const std::vector<std::optional<std::string>>& params) {
        PGresult* r = nullptr;
        // Only a read is sent again: a write may have been done before its answer was lost.
        const bool read = sql.compare(0, 6, "SELECT") == 0 || sql.compare(0, 6, "select") == 0;
        Retried(read, [&] { r = RunOnce(sql, params); });
        return r;
    }

  private:
    // A connection found dead when a statement outside any transaction is sent (the server
    // restarted while this workstation was idle) is made again and the statement sent once
    // more, so that the mechanic's press goes through: only a step that changes nothing (a
    // read, a BEGIN), since a write may have been done before the connection failed. A server
    // that did not answer in time is not asked twice.
    template <class Step>
    void Retried(bool harmless, Step step) {
        if (inTransaction_ || !harmless) return step();
        const bool seemedUp = !broken_ && PQstatus(conn_) == CONNECTION_OK;
        try {
            step();
        } catch (const EngineError& e) {
            if (e.kind() != EngineError::Kind::ServerLost || !seemedUp || timedOut_ || !broken_) throw;
            step();
        }
    }

    PGresult* RunOnce(const std::string& sql, const std::vector<std::optional<std::string>>& params) {
        EnsureConnected();
        std::vector<const char*> values;
        values.reserve(params.size());
        for (const auto& p : params)
            values.push_back(p ? p->c_str() : nullptr);
        auto known = prepared_.find(sql);
        if (known == prepared_.end()) {
            if (prepared_.size() >= kMostPrepared) {
                if (PQsendQuery(conn_, "DEALLOCATE ALL") == 0) Lost();
                Check(Answer());
                prepared_.clear();
            }
            const std::string name = "wb" + std::to_string(++preparedCount_);
            if (PQsendPrepare(conn_, name.c_str(), sql.c_str(), static_cast<int>(values.size()), nullptr) ==
                0)
                Lost();
            Check(Answer());
            known = prepared_.emplace(sql, name).first;
        }
        if (PQsendQueryPrepared(conn_, known->second.c_str(), static_cast<int>(values.size()), values.data(),
                                nullptr, nullptr, 0) == 0)
            Lost();
        PGresult* r = Answer();
        Check(r, false);
        return r;
    }

    // A connection lost since the last statement is made again by itself, but never inside a
    // transaction: its earlier statements went with the old connection.
    void EnsureConnected() {
        if (!broken_ && PQstatus(conn_) == CONNECTION_OK) return;
        if (inTransaction_)
            throw EngineError(EngineError::Kind::ServerLost, "the connection to the server was lost");
        // The prepared statements went with the old connection.
        prepared_.clear();
        PQfinish(conn_);
        conn_ = Connect(params_);
        broken_ = conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK;
        timedOut_ = false;
        if (broken_)
            throw EngineError(EngineError::Kind::ServerLost,
                              conn_ != nullptr ? Trimmed(PQerrorMessage(conn_)) : "out of memory");
    }

    // The connection is gone, or as good as gone: whatever the client library's status reads,
    // the next statement outside a transaction connects afresh.
    [[noreturn]] void Lost(std::string message = {}, bool timedOut = false) {
        if (message.empty()) message = Trimmed(PQerrorMessage(conn_));
        if (message.empty()) message = "the connection to the server was lost";
        if (conn_ != nullptr) abandoned_ = PQbackendPID(conn_);
        timedOut_ = timedOut;
        broken_ = true;
        inTransaction_ = false;
        throw EngineError(EngineError::Kind::ServerLost, message);
    }

    // Waits for the answer to what was sent, no longer than the time limit: the server's own
    // statement limit never fires on a server that is stopped or hung, so the limit is kept
    // here. Past it the statement is cancelled and the connection closed, so that a server
    // that wakes up finds nobody waiting and drops the transaction. The first error of a
    // multi-statement text wins, otherwise the last result.
    PGresult* Answer() {
        const auto deadline = std::chrono::steady_clock::now() + limit_;
        const auto left = [&] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                         std::chrono::steady_clock::now())
                .count();
        };
        // The connection does not block on sending: what did not fit in the socket is sent here,
        // within the same limit, reading meanwhile so that a server answering early is not stuck.
        for (int flushed = PQflush(conn_); flushed != 0; flushed = PQflush(conn_)) {
            if (flushed < 0) Lost();
            const SocketWait waited = left() > 0
                                          ? WaitReadable(PQsocket(conn_), static_cast<int>(left()), true)
                                          : SocketWait::TimedOut;
            if (waited == SocketWait::TimedOut) Abandon();
            if (waited == SocketWait::Failed || PQconsumeInput(conn_) == 0) Lost();
        }
        PGresult* kept = nullptr;
        for (;;) {
            while (PQisBusy(conn_) != 0) {
                const SocketWait waited = left() > 0 ? WaitReadable(PQsocket(conn_), static_cast<int>(left()))
                                                     : SocketWait::TimedOut;
                if (waited == SocketWait::TimedOut) {
                    PQclear(kept);
                    Abandon();
                }
                if (waited == SocketWait::Failed || PQconsumeInput(conn_) == 0) {
                    PQclear(kept);
                    Lost();
                }
            }
            PGresult* r = PQgetResult(conn_);
            if (r == nullptr) break;
            const bool keptFailed = kept != nullptr && PQresultStatus(kept) != PGRES_COMMAND_OK &&
                                    PQresultStatus(kept) != PGRES_TUPLES_OK;
            if (keptFailed) {
                PQclear(r);  // the first error stands
            } else {
                PQclear(kept);
                kept = r;
            }
        }
        return kept;
    }

    [[noreturn]] void Abandon() {
        // Cancelling connects to the server anew, which can itself hang: it goes on beside.
        if (PGcancel* cancel = PQgetCancel(conn_)) {
            std::thread([cancel] {
                char error[256];
                PQcancel(cancel, error, sizeof error);
                PQfreeCancel(cancel);
            }).detach();
        }
        abandoned_ = PQbackendPID(conn_);
        PQfinish(conn_);
        conn_ = nullptr;  // the client library takes no connection as a bad one
        prepared_.clear();
        Lost("the server did not answer within " + std::to_string(limit_.count()) + " s", true);
    }

    // Throws for a failed result (and frees it unless `keep` the caller's result on success).
    void Check(PGresult* r, bool free = true) {
        const ExecStatusType status = r != nullptr ? PQresultStatus(r) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
            if (free) PQclear(r);
            return;
        }
        const char* field = r != nullptr ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        const std::string state = field != nullptr ? field : "";
        std::string message =
            Trimmed(r != nullptr && *PQresultErrorMessage(r) != '\0' ? PQresultErrorMessage(r)
                                                                     : PQerrorMessage(conn_));
        PQclear(r);
        // An error the server did not send (no state) is the client library's own: the
        // connection itself failed.
        if (PQstatus(conn_) == CONNECTION_BAD || state.empty()) Lost(message);
        throw EngineError(KindOf(state), message);
    }

    static constexpr size_t kMostPrepared = 256;
    PGconn* conn_;
    ConnectParams params_;
    std::chrono::seconds limit_;
    bool broken_ = false;
    bool inTransaction_ = false;
    int abandoned_ = 0;      // the server process of the connection last given up on
    bool timedOut_ = false;  // it was given up on for not answering in time
    std::unordered_map<std::string, std::string> prepared_;  // statement text, its name
    std::uint64_t preparedCount_ = 0;
};

bool PgStatement::Step() {
    if (result_ == nullptr) {
        if (params_.size() < static_cast<size_t>(placeholders_))
            params_.resize(static_cast<size_t>(placeholders_));
        result_ = conn_.Run(sql_, params_);
        row_ = -1;
    }
    ++row_;
    return row_ < PQntuples(result_);
}

// A connection's reason for failing, from the client library's words.
ServerRefused Refusal(PGconn* conn, const ServerAddress& address) {
    const std::string text = Trimmed(PQerrorMessage(conn));
    const std::string where = ShownAddress(address);
    using R = ServerRefused::Reason;
    if (PQconnectionNeedsPassword(conn) == 1)
        return {R::Password, "The shop server " + where + " asks for a password."};
    if (Has(text, "password authentication failed") || Has(text, "authentication failed"))
        return {R::Password,
                "The shop server " + where + " refused the user name or password.\n\n(" + text + ")"};
    if (Has(text, "does not exist") && Has(text, "database"))
        return {R::NoDatabase,
                "The shop server has no database named \"" + address.database + "\".\n\n(" + text + ")"};
    if (Has(text, "role") && Has(text, "does not exist"))
        return {R::Other, "The shop server has no user named \"" + address.user + "\".\n\n(" + text + ")"};
    if (Has(text, "SSL") || Has(text, "certificate") || Has(text, "TLS"))
        return {R::Tls, "The secure (TLS) connection to the shop server " + where + " was refused.\n\n(" +
                            text + ")"};
    if (Has(text, "Connection refused") || Has(text, "could not connect") || Has(text, "No such file") ||
        Has(text, "translate host name") || Has(text, "timeout") || Has(text, "unreachable") ||
        Has(text, "No route"))
        return {R::NoServer, "No shop server answers at " + where +
                                 ". Check the host and port, and that the server is running.\n\n(" + text +
                                 ")"};
    return {R::Other, "The shop server " + where + " could not be used.\n\n(" + text + ")"};
}

bool HasTable(Database& db, std::string_view name) {
    Statement s = db.Prepare(
        "SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = current_schema() AND tablename = lower(?)");
    s.Bind(1, std::string(name));
    return s.Step();
}

// Columns added in version 4: they stand last, where the upgrade adds them, as in the local file.
bool AddedInVersion4(std::string_view column) {
    const auto& weighing = WeighingColumns();
    return column == "Units" || column == "Lemac" || column == "Mac" ||
           std::any_of(weighing.begin(), weighing.end(), [&](const auto& w) { return w.first == column; });
}

// The Aircraft columns (and a revision's) in the server's types, those of version 4 left out.
std::string AircraftColumnsSql() {
    std::string sql;
    for (const AircraftColumn& c : AircraftColumns()) {
        if (AddedInVersion4(c.name)) continue;
        sql += ", " + Quoted(c.name) + " ";
        if (c.name == "Date")
            sql += "date";
        else
            sql += c.kind == AircraftColumn::Number ? "double precision" : "text COLLATE ucs_basic";
    }
    return sql;
}

// The folded columns of a table, as the program writes them (see FoldedColumns).
std::string FoldedColumnsSql(std::string_view table) {
    std::string sql;
    for (const auto& [t, column] : FoldedColumns())
        if (t == table) sql += ", " + Quoted("Folded" + std::string(column)) + " text COLLATE ucs_basic";
    return sql;
}

// The unit system and the chord (version 4).
constexpr std::string_view kUnitColumnsSql =
    ", Units text COLLATE ucs_basic, Lemac double precision, Mac double precision";

void CreateFoldedIndexes(Database& db) {
    db.Exec("CREATE INDEX IF NOT EXISTS Aircraft_FoldedTail ON Aircraft (FoldedTail, \"Date\")");
    db.Exec(
        "CREATE INDEX IF NOT EXISTS Equipment_FoldedTail ON Equipment (FoldedTail, \"Date\", List, RowNum)");
    db.Exec(
        "CREATE INDEX IF NOT EXISTS AircraftRevision_FoldedTail ON AircraftRevision (FoldedTail, \"Date\")");
}

// Version 3 on a server of version 2: the identity column, and the folded columns in place of
// the server's folding function, whose Unicode tables were its own, filled by the program.
void UpgradeToVersion3(Database& db) {
    db.Exec("ALTER TABLE Aircraft ADD COLUMN IF NOT EXISTS WorksheetId bigint");
    db.Exec("DROP INDEX IF EXISTS Aircraft_FoldedTail");
    db.Exec("DROP INDEX IF EXISTS Equipment_FoldedTail");
    db.Exec("DROP INDEX IF EXISTS AircraftRevision_Tail");
    for (const auto& [table, column] : FoldedColumns())
        db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN IF NOT EXISTS " +
                Quoted("Folded" + std::string(column)) + " text COLLATE ucs_basic");
    FillFoldedColumns(db);
    CreateFoldedIndexes(db);
    db.Exec("DROP FUNCTION IF EXISTS fold_case(text)");
}

// Version 4: the unit system and the mean aerodynamic chord (see the local file's Aircraft table).
void UpgradeToVersion4(Database& db) {
    for (const char* table : {"Aircraft", "AircraftRevision"}) {
        db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN IF NOT EXISTS Units text COLLATE ucs_basic");
        for (const char* column : {"Lemac", "Mac"})
            db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN IF NOT EXISTS " + Quoted(column) +
                    " double precision");
    }
}

// Version 4: the shop's scales, and the weighing record's columns of Aircraft and
// AircraftRevision (store/Scales.h), Null in every Worksheet stored before. New tables get the
// columns here too, so that they stand last as in the local file.
void AddServerScaleTables(Database& db) {
    db.Exec(
        "CREATE TABLE IF NOT EXISTS Scale (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
        "Serial text COLLATE ucs_basic NOT NULL UNIQUE, MakeModel text COLLATE ucs_basic, Capacity double "
        "precision, Calibrated date, IntervalMonths integer NOT NULL DEFAULT 24, Retired boolean NOT NULL "
        "DEFAULT "
        "false)");
    for (const char* table : {"Aircraft", "AircraftRevision"})
        for (const auto& [column, number] : WeighingColumns())
            db.Exec("ALTER TABLE " + Quoted(table) + " ADD COLUMN IF NOT EXISTS " + Quoted(column) +
                    (number ? " double precision" : " text COLLATE ucs_basic"));
    // The due list's sums of the marked change rows, from the index alone.
    db.Exec(
        "CREATE INDEX IF NOT EXISTS Equipment_Changes ON Equipment (FoldedTail, \"Date\", List, Install, "
        "Remove, Weight) WHERE List = 'changes' AND (Install OR Remove)");
}

void AddServerImportTables(Database& db);

// Version 4: signers, signatures, corrections and the audit trail, as in the local file
// (store/SignatureSchema.cpp), with the same triggers; then one audit entry per stored
// Worksheet, so that the records stored before are covered from then on.
void AddSignatureTables(Database& db) {
    const char* statements[] = {
        "CREATE TABLE Signer (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Name text NOT NULL, "
        "CertKind text NOT NULL, CertNumber text NOT NULL, PublicKey text NOT NULL, SealedKey text NOT NULL, "
        "Salt text NOT NULL, Nonce text NOT NULL, OpsLimit bigint NOT NULL, MemLimit bigint NOT NULL, "
        "Retired integer NOT NULL DEFAULT 0, Added text NOT NULL)",
        "CREATE TABLE Signature (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Tail text NOT NULL, "
        "FoldedTail text COLLATE ucs_basic NOT NULL, \"Date\" text NOT NULL, SignerId bigint NOT NULL, "
        "SignerName text NOT NULL, CertKind text NOT NULL, CertNumber text NOT NULL, PublicKey text NOT "
        "NULL, "
        "Statement text NOT NULL, Signed text NOT NULL, Form integer NOT NULL, Previous text, Hash text NOT "
        "NULL, "
        "Ed25519 text NOT NULL)",
        "CREATE INDEX Signature_Worksheet ON Signature (FoldedTail, \"Date\")",
        "CREATE TABLE Correction (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, Tail text NOT "
        "NULL, "
        "FoldedTail text COLLATE ucs_basic NOT NULL, \"Date\" text NOT NULL, CorrectionDate text NOT NULL, "
        "Reason text NOT NULL, Made text NOT NULL)",
        "CREATE INDEX Correction_Worksheet ON Correction (FoldedTail, \"Date\")",
        "CREATE TABLE AuditTrail (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, At text NOT NULL, "
        "UserName text NOT NULL, Workstation text NOT NULL, Event text NOT NULL, Tail text, "
        "FoldedTail text COLLATE ucs_basic, \"Date\" text, Record text, Previous text, Hash text NOT NULL)",
        "CREATE INDEX AuditTrail_Worksheet ON AuditTrail (FoldedTail, \"Date\", Id)",
        // Rows of these tables are only ever added, whoever connects.
        "CREATE OR REPLACE FUNCTION wb_only_added() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "RAISE EXCEPTION 'rows of % are never changed or removed', TG_TABLE_NAME; END $$",
        "CREATE OR REPLACE FUNCTION wb_signer_kept() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF TG_OP = 'DELETE' THEN "
        "IF EXISTS (SELECT 1 FROM Signature WHERE SignerId = OLD.Id) THEN "
        "RAISE EXCEPTION 'a signer whose signatures are stored is never removed'; END IF; RETURN OLD; END "
        "IF; "
        "IF (NEW.Name, NEW.CertKind, NEW.CertNumber, NEW.PublicKey) IS DISTINCT FROM "
        "(OLD.Name, OLD.CertKind, OLD.CertNumber, OLD.PublicKey) THEN "
        "RAISE EXCEPTION 'a signer''s name, certificate and key never change'; END IF; RETURN NEW; END $$",
        "CREATE TRIGGER Signer_Kept BEFORE UPDATE OR DELETE ON Signer FOR EACH ROW EXECUTE FUNCTION "
        "wb_signer_kept()",
    };
    // A database made by a program that already had them (and marked older by hand) keeps its own.
    if (!HasTable(db, "Signer")) {
        for (const char* sql : statements)
            db.Exec(sql);
        for (const char* table : {"Signature", "Correction", "AuditTrail"}) {
            db.Exec(std::string("CREATE TRIGGER ") + table + "_Kept BEFORE UPDATE OR DELETE ON " + table +
                    " FOR EACH ROW EXECUTE FUNCTION wb_only_added()");
            db.Exec(std::string("CREATE TRIGGER ") + table + "_NotEmptied BEFORE TRUNCATE ON " + table +
                    " FOR EACH STATEMENT EXECUTE FUNCTION wb_only_added()");
        }
    }
    // The entries are written with every column of this version's trail.
    AddServerImportTables(db);
    AuditEveryWorksheet(db, audit::kUpgrade);
}

// Version 5 (and a new database): what an imported record package keeps, as in the local file
// (store/SignatureSchema.cpp): where an imported signer came from, an audit entry's detail, and
// the audit entries of the databases the records were kept in before, only ever added to.
void AddServerImportTables(Database& db) {
    db.Exec("ALTER TABLE Signer ADD COLUMN IF NOT EXISTS Origin text");
    db.Exec("ALTER TABLE AuditTrail ADD COLUMN IF NOT EXISTS Detail text");
    if (HasTable(db, "ImportedAudit")) return;
    db.Exec(
        "CREATE TABLE ImportedAudit (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
        "Source text NOT NULL, At text NOT NULL, UserName text NOT NULL, Workstation text NOT NULL, "
        "Event text NOT NULL, Tail text, FoldedTail text COLLATE ucs_basic, \"Date\" text, Record text, "
        "Previous text, Hash text NOT NULL, Detail text)");
    db.Exec("CREATE INDEX ImportedAudit_Tail ON ImportedAudit (FoldedTail, Id)");
    db.Exec(
        "CREATE TRIGGER ImportedAudit_Kept BEFORE UPDATE OR DELETE ON ImportedAudit FOR EACH ROW EXECUTE "
        "FUNCTION wb_only_added()");
    db.Exec(
        "CREATE TRIGGER ImportedAudit_NotEmptied BEFORE TRUNCATE ON ImportedAudit FOR EACH STATEMENT EXECUTE "
        "FUNCTION wb_only_added()");
}

// Version 4 (and a new database): the loading data and its superseded versions, in the
// server's types, the same columns as the local file's Loading and LoadingRevision.
void AddServerLoadingTables(Database& db) {
    const std::string columns =
        "Tail text COLLATE ucs_basic, \"Date\" date, "
        "List text COLLATE ucs_basic NOT NULL CHECK (List IN ('aircraft', 'station', 'normal', 'utility')), "
        "RowNum integer, Name text COLLATE ucs_basic, "
        "Kind text COLLATE ucs_basic CHECK (Kind IN ('pilot', 'seat', 'baggage', 'fuel', 'oil')), "
        "Arm double precision, Weight double precision, Seats double precision, Capacity double precision, "
        "MaxLandWt double precision, FuelWt double precision, OilWt double precision, "
        "MetoHp double precision, OccupantWt double precision";
    const std::string id = "Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
    db.Exec("CREATE TABLE IF NOT EXISTS Loading (" + id + ", " + columns +
            ", FoldedTail text COLLATE ucs_basic)");
    db.Exec("CREATE INDEX IF NOT EXISTS Loading_Worksheet ON Loading (FoldedTail, \"Date\", List, RowNum)");
    db.Exec("CREATE TABLE IF NOT EXISTS LoadingRevision (" + id + ", RevisionId bigint NOT NULL, " + columns +
            ")");
    db.Exec(
        "CREATE INDEX IF NOT EXISTS LoadingRevision_Revision ON LoadingRevision (RevisionId, List, RowNum)");
}

// The same tables and columns as the local file's, in the server's types: numbers double
// precision, yes/no boolean, dates date. Texts compare byte by byte (collation ucs_basic, by code point), as
// the local engine compares them, so that the folded-prefix ranges of the search mean the same.
void CreateTables(Database& db) {
    constexpr std::string_view kListColumns =
        "Tail text COLLATE ucs_basic, \"Date\" date, RowNum integer, Description text COLLATE ucs_basic, "
        "Serial text COLLATE ucs_basic, Weight double precision, Arm double precision, "
        "Install boolean NOT NULL DEFAULT false, Remove boolean NOT NULL DEFAULT false, "
        "List text COLLATE ucs_basic NOT NULL CHECK (List IN ('changes', 'equipment'))";
    const std::string id = "Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
    db.Exec("CREATE TABLE Aircraft (" + id + AircraftColumnsSql() + ", WorksheetId bigint" +
            FoldedColumnsSql("Aircraft") + std::string(kUnitColumnsSql) + ")");
    db.Exec("CREATE INDEX Aircraft_Date ON Aircraft (\"Date\", Id)");
    db.Exec("CREATE TABLE Equipment (" + id + ", " + std::string(kListColumns) +
            FoldedColumnsSql("Equipment") + ")");
    db.Exec(
        "CREATE TABLE CompanyInfo (" + id +
        ", CompName text, CompAddress text, CompCSZ text, CompPhone text, FormTitle text, EquipTitle text, "
        "Mechanic text, Cert text, PrintCo boolean, PrintCG boolean, PrintMech boolean, PrintNotes boolean)");
    db.Exec("INSERT INTO CompanyInfo DEFAULT VALUES");
    db.Exec(
        "CREATE TABLE AircraftRevision (" + id +
        ", AircraftId bigint, Superseded text NOT NULL, Reason text NOT NULL CHECK (Reason IN ('replaced', "
        "'deleted')), ReplacedBy bigint, WorksheetId bigint" +
        AircraftColumnsSql() + FoldedColumnsSql("AircraftRevision") + std::string(kUnitColumnsSql) + ")");
    db.Exec("CREATE INDEX AircraftRevision_Worksheet ON AircraftRevision (WorksheetId)");
    CreateFoldedIndexes(db);
    db.Exec("CREATE TABLE EquipmentRevision (" + id + ", RevisionId bigint NOT NULL, " +
            std::string(kListColumns) + ")");
    db.Exec("CREATE INDEX EquipmentRevision_Revision ON EquipmentRevision (RevisionId, List, RowNum)");
    AddServerLoadingTables(db);
    // The layout's version: a newer program's database is refused rather than misread.
    db.Exec("CREATE TABLE SchemaVersion (Version integer NOT NULL)");
    Statement version = db.Prepare("INSERT INTO SchemaVersion (Version) VALUES (CAST(? AS INTEGER))");
    version.Bind(1, std::int64_t{kSchemaVersion});
    version.Run();
}

// Nothing, or why this database cannot hold the records.
std::optional<ServerRefused> PrepareTables(Database& db, const ServerAddress& address) {
    using R = ServerRefused::Reason;
    Transaction tx(db);
    // Two workstations starting on a new database at once: one makes the tables, the other finds them.
    db.engine().LockNames({"layout"});
    if (!HasTable(db, "SchemaVersion")) {
        for (const TableLayout& t : MainTables())
            if (HasTable(db, t.name))
                return ServerRefused(R::NotOurs,
                                     "The database \"" + address.database + "\" already holds a table " +
                                         std::string(t.name) +
                                         " that this program did not make. Choose an empty database.");
        CreateTables(db);
        AddServerScaleTables(db);
        AddSignatureTables(db);  // with what an import keeps
        tx.Commit();
        return std::nullopt;
    }
    Statement version = db.Prepare("SELECT max(Version) FROM SchemaVersion");
    const std::int64_t v = version.Step() ? version.Int(0) : 0;
    if (v > kSchemaVersion)
        return ServerRefused(R::Newer,
                             "The shop database was written by a newer version of this program. "
                             "Install that version on this workstation.");
    // Version 2 is the first a server holds; later versions are brought up here, in this transaction.
    // 3: the identity a Worksheet keeps across saves, and the folded columns (see the local
    // file's Aircraft table).
    if (v < 3) UpgradeToVersion3(db);
    // 4: the unit system and the mean aerodynamic chord; the shop's scales and the weighing record; the
    // loading data; signed records and the audit trail (its one entry per stored Worksheet last).
    if (v < 4) {
        UpgradeToVersion4(db);
        AddServerScaleTables(db);
        AddServerLoadingTables(db);
        AddSignatureTables(db);
    }
    // 5: what an imported record package keeps (the step to 4 made it already).
    if (v == 4) AddServerImportTables(db);
    if (v < kSchemaVersion) {
        Statement set = db.Prepare("UPDATE SchemaVersion SET Version = CAST(? AS INTEGER)");
        set.Bind(1, std::int64_t{kSchemaVersion});
        set.Run();
    }
    Statement company = db.Prepare("SELECT 1 FROM CompanyInfo LIMIT 1");
    if (!company.Step()) db.Exec("INSERT INTO CompanyInfo DEFAULT VALUES");
    tx.Commit();
    return std::nullopt;
}

int TimeLimitSeconds(const char* variable, int fallback) {
    const char* v = std::getenv(variable);
    return v != nullptr && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

}  // namespace

Database ConnectServer(const ServerAddress& address, const std::string& password) {
    // Time limits of a few seconds, so that the window never waits long on a server that is
    // gone: connecting, each statement, and a network that stops carrying replies.
    const std::string connectTimeout = std::to_string(TimeLimitSeconds("WB_SERVER_CONNECT_TIMEOUT", 5));
    const int limit = TimeLimitSeconds("WB_SERVER_STATEMENT_TIMEOUT", 10);
    const std::string options =
        "-c statement_timeout=" + std::to_string(limit * 1000) + " -c DateStyle=ISO -c extra_float_digits=3";
    std::vector<std::pair<const char*, std::string>> params = {
        {"host", address.host},
        {"port", address.port},
        {"dbname", address.database},
        {"user", address.user},
        {"sslmode", address.sslmode},
        {"password", password},
        {"connect_timeout", connectTimeout},
        {"options", options},
        {"client_encoding", "UTF8"},
        {"application_name", "weightbalance"},
        {"keepalives", "1"},
        {"keepalives_idle", "5"},
        {"keepalives_interval", "2"},
        {"keepalives_count", "2"},
        {"tcp_user_timeout", "10000"},
    };
    ConnectParams kept;
    for (const auto& [key, value] : params)
        if (!value.empty()) kept.emplace_back(key, value);  // empty: the library's default or environment
    PGconn* conn = Connect(kept);
    if (conn == nullptr) throw ServerRefused(ServerRefused::Reason::Other, "Out of memory.");
    if (PQstatus(conn) != CONNECTION_OK) {
        ServerRefused refused = Refusal(conn, address);
        PQfinish(conn);
        throw refused;
    }
    return Database(std::make_unique<PgConnection>(conn, std::move(kept), limit), ShownAddress(address));
}

Database OpenServer(const ServerAddress& address, const std::string& password) {
    Database db = ConnectServer(address, password);
    try {
        if (auto refused = PrepareTables(db, address)) throw *refused;
    } catch (const EngineError& e) {
        throw ServerRefused(ServerRefused::Reason::Other,
                            "The shop database could not be prepared: " + std::string(e.what()));
    }
    return db;
}

std::string TestServer(const ServerAddress& address, const std::string& password) {
    try {
        Database db = ConnectServer(address, password);
        if (!HasTable(db, "SchemaVersion")) {
            for (const TableLayout& t : MainTables())
                if (HasTable(db, t.name))
                    return "The database \"" + address.database + "\" already holds a table " +
                           std::string(t.name) + " that this program did not make. Choose an empty database.";
            return {};
        }
        Statement version = db.Prepare("SELECT max(Version) FROM SchemaVersion");
        if (version.Step() && version.Int(0) > kSchemaVersion)
            return "The shop database was written by a newer version of this program.";
        return {};
    } catch (const ServerRefused& e) {
        return e.what();
    } catch (const EngineError& e) {
        return std::string("The shop server answered with an error: ") + e.what();
    }
}

bool HoldsWorksheets(Database& db) {
    Statement s = db.Prepare("SELECT 1 FROM Aircraft LIMIT 1");
    return s.Step();
}

}  // namespace wb
