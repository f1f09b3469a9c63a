#include "store/Canonical.h"

#include <sodium.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "store/CaseFold.h"

namespace wb {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Columns the program keeps for itself: row numbers the engine hands out, the identity a save
// carries on, the folded copies of texts, and the link to the Aircraft row (its Id changes
// when a file is recovered or moved up). None of them is part of what the mechanic recorded.
bool Internal(const std::string& lower, std::string_view link) {
    return lower == "id" || lower == "worksheetid" || lower.rfind("folded", 0) == 0 ||
           (!link.empty() && lower == Lower(std::string(link)));
}

}  // namespace

// The members of a table's rows in their canonical order, worked out once per statement: a
// history verifies thousands of rows.
void CanonicalReader::Layout::Learn(const Statement& s, std::string_view link) {
    if (known) return;
    std::map<std::string, int> sorted;
    for (int c = 0; c < s.ColumnCount(); ++c) {
        std::string name = Lower(s.ColumnName(c));
        if (!Internal(name, link)) sorted.emplace(std::move(name), c);
    }
    for (auto& [name, column] : sorted)
        members.emplace_back(column, JsonString(name) + ":");
    known = true;
}

std::string CanonicalReader::Layout::Row(const Statement& s) const {
    std::string out = "{";
    for (const auto& [column, key] : members) {
        if (s.IsNull(column)) continue;
        if (out.size() > 1) out += ',';
        out += key;
        const Value v = s.Get(column);
        if (const auto* text = std::get_if<std::string>(&v))
            AppendJsonString(out, *text);
        else
            out += JsonValue(v);
    }
    out += '}';
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    size_t plain = 0;  // the start of a run that needs no escape, copied whole
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                }
        }
    }
    out.append(text.substr(plain));
    out += '"';
}

std::string JsonNumber(double v) {
    // JSON has no such numbers; a stored one is kept apart from any real number all the same.
    if (!std::isfinite(v)) return JsonString(std::isnan(v) ? "NaN" : (v > 0 ? "Infinity" : "-Infinity"));
    if (v == 0) return "0";
    // The shortest digits that read back as the same double, then ECMAScript's layout of them.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
    const size_t e = sci.find('e');
    std::string digits;
    bool negative = false;
    for (char c : sci.substr(0, e)) {
        if (c == '-') negative = true;
        if (c >= '0' && c <= '9') digits += c;
    }
    int exponent = 0;
    std::string_view ex = sci.substr(e + 1);
    if (!ex.empty() && ex.front() == '+') ex.remove_prefix(1);
    std::from_chars(ex.data(), ex.data() + ex.size(), exponent);
    const int k = static_cast<int>(digits.size());
    const int n = exponent + 1;  // the value is 0.digits x 10^n
    std::string out = negative ? "-" : "";
    if (k <= n && n <= 21) {
        out += digits + std::string(static_cast<size_t>(n - k), '0');
    } else if (0 < n && n <= 21) {
        out += digits.substr(0, static_cast<size_t>(n)) + "." + digits.substr(static_cast<size_t>(n));
    } else if (-6 < n && n <= 0) {
        out += "0." + std::string(static_cast<size_t>(-n), '0') + digits;
    } else {
        out += digits.substr(0, 1);
        if (k > 1) out += "." + digits.substr(1);
        out += "e" + std::string(n - 1 >= 0 ? "+" : "-") + std::to_string(std::abs(n - 1));
    }
    return out;
}

std::string JsonValue(const Value& v) {
    if (std::holds_alternative<std::monostate>(v)) return "null";
    if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v)) return JsonNumber(*d);
    return JsonString(std::get<std::string>(v));
}

std::string JsonObject(const std::map<std::string, std::string>& members) {
    std::string out = "{";
    for (const auto& [key, value] : members) {
        if (value == "null") continue;
        if (out.size() > 1) out += ",";
        out += JsonString(key) + ":" + value;
    }
    return out + "}";
}

const std::vector<WorksheetTable>& WorksheetTables() {
    static const std::vector<WorksheetTable> tables = {
        {"Equipment", ""},
        {"Loading", ""},
    };
    return tables;
}

CanonicalReader::CanonicalReader(Database& db)
    : db_(db),
      aircraft_(db.Prepare("SELECT * FROM Aircraft WHERE Id = ?")),
      find_(db.Prepare("SELECT Id FROM Aircraft WHERE FoldedTail = ? AND \"Date\" = ? ORDER BY Id DESC")) {
    layouts_.resize(WorksheetTables().size());
    for (const WorksheetTable& t : WorksheetTables())
        tables_.push_back(db.Prepare(
            "SELECT * FROM " + Quoted(t.name) + " WHERE " +
            (t.link.empty() ? std::string("FoldedTail = ? AND \"Date\" = ?") : Quoted(t.link) + " = ?")));
}

std::optional<std::int64_t> CanonicalReader::Find(std::string_view tail, std::string_view isoDate) {
    find_.Reset();
    find_.BindAll({FoldCase(tail), std::string(isoDate)});
    // Reset at once: a statement left on a row holds the file's read lock, and a save waits for it.
    std::optional<std::int64_t> id;
    if (find_.Step()) id = find_.Int(0);
    find_.Reset();
    return id;
}

std::optional<std::string> CanonicalReader::Record(std::int64_t id) {
    aircraft_.Reset();
    aircraft_.Bind(1, id);
    if (!aircraft_.Step()) return std::nullopt;
    std::map<std::string, std::string> record;
    aircraftLayout_.Learn(aircraft_, "");
    record["aircraft"] = aircraftLayout_.Row(aircraft_);
    std::string tail, date;
    for (int c = 0; c < aircraft_.ColumnCount(); ++c) {
        const std::string name = Lower(aircraft_.ColumnName(c));
        if (name == "tail") tail = aircraft_.Text(c).value_or("");
        if (name == "date") date = aircraft_.Text(c).value_or("");
    }
    aircraft_.Reset();
    for (size_t t = 0; t < tables_.size(); ++t) {
        const WorksheetTable& table = WorksheetTables()[t];
        Statement& s = tables_[t];
        s.Reset();
        if (table.link.empty())
            s.BindAll({FoldCase(tail), date});
        else
            s.Bind(1, id);
        std::vector<std::string> rows;
        while (s.Step()) {
            layouts_[t].Learn(s, table.link);
            rows.push_back(layouts_[t].Row(s));
        }
        if (rows.empty()) continue;  // a table added later holds nothing for earlier records
        std::sort(rows.begin(), rows.end());
        std::string list = "[";
        for (const std::string& r : rows)
            list += (list.size() > 1 ? "," : "") + r;
        record[Lower(std::string(table.name))] = list + "]";
    }
    return JsonObject(record);
}

std::string Hex(const unsigned char* bytes, size_t size) {
    std::string out(size * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), bytes, size);
    out.pop_back();
    return out;
}

std::optional<std::vector<unsigned char>> FromHex(std::string_view hex, size_t size) {
    std::vector<unsigned char> out(size);
    size_t got = 0;
    const char* end = nullptr;
    if (sodium_hex2bin(out.data(), out.size(), hex.data(), hex.size(), nullptr, &got, &end) != 0 ||
        got != size || end != hex.data() + hex.size())
        return std::nullopt;
    return out;
}

std::string Sha256Hex(std::string_view bytes) {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return Hex(digest, sizeof digest);
}

std::string UtcNow() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &t);
#else
    gmtime_r(&t, &tm);
#endif
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

}  // namespace wb
