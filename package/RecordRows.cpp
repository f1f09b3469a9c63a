#include "package/RecordRows.h"

#include "package/Container.h"
#include "store/Canonical.h"
#include "store/CaseFold.h"

namespace wb::record {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

json RowObject(const Statement& s, const std::set<std::string>& skip) {
    json row = json::object();
    for (int c = 0; c < s.ColumnCount(); ++c) {
        const std::string name = Lower(s.ColumnName(c));
        if (skip.count(name) || name.rfind("folded", 0) == 0 || s.IsNull(c)) continue;
        const Value v = s.Get(c);
        if (const auto* i = std::get_if<std::int64_t>(&v))
            row[name] = *i;
        else if (const auto* d = std::get_if<double>(&v))
            row[name] = *d;
        else if (const auto* t = std::get_if<std::string>(&v))
            row[name] = *t;
    }
    return row;
}

std::string Canonical(const json& v) {
    switch (v.type()) {
        case json::value_t::object: {
            // nlohmann keeps members sorted by their bytes, which for names of ASCII letters and
            // digits is the order of their UTF-16 code units that RFC 8785 asks for.
            std::string out = "{";
            for (const auto& [key, member] : v.items()) {
                if (out.size() > 1) out += ',';
                AppendJsonString(out, key);
                out += ':' + Canonical(member);
            }
            return out + "}";
        }
        case json::value_t::array: {
            std::string out = "[";
            for (const json& item : v)
                out += (out.size() > 1 ? "," : "") + Canonical(item);
            return out + "]";
        }
        case json::value_t::string:
            return JsonString(v.get_ref<const std::string&>());
        case json::value_t::number_integer:
            return std::to_string(v.get<std::int64_t>());
        case json::value_t::number_unsigned:
            return std::to_string(v.get<std::uint64_t>());
        case json::value_t::number_float:
            return JsonNumber(v.get<double>());
        case json::value_t::boolean:
            return v.get<bool>() ? "true" : "false";
        default:
            return "null";
    }
}

Value StoredValue(const json& v) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_integer()) return v.get<std::int64_t>();
    if (v.is_number()) return v.get<double>();
    return {};
}

Columns::Columns(Database& db, std::string_view table, const std::set<std::string>& internal) {
    Statement s = db.Prepare("SELECT * FROM " + Quoted(table) + " WHERE 1 = 0");
    s.Step();
    for (int c = 0; c < s.ColumnCount(); ++c) {
        const std::string own = s.ColumnName(c);
        const std::string lower = Lower(own);
        if (lower.rfind("folded", 0) == 0)
            folded_[lower.substr(6)] = own;
        else if (!internal.count(lower))
            names_[lower] = own;
    }
}

const std::string* Columns::Folded(const std::string& lower) const {
    const auto found = folded_.find(lower);
    return found == folded_.end() ? nullptr : &found->second;
}

const std::string* Columns::Find(const std::string& lower) const {
    const auto found = names_.find(lower);
    return found == names_.end() ? nullptr : &found->second;
}

std::int64_t InsertRow(Database& db, std::string_view table, const Columns& columns, const json& row,
                       const std::vector<std::pair<std::string, Value>>& extra, const std::string& where) {
    std::vector<std::pair<std::string, Value>> values = extra;
    for (const auto& [key, member] : row.items()) {
        const std::string* own = columns.Find(key);
        if (!own)
            throw PackageError("record.json: " + where + " has a member \"" + key +
                               "\" that this program does not keep. It was made by a newer program, or "
                               "changed.");
        values.emplace_back(*own, StoredValue(member));
    }
    // The folded copies the finds by tail number and the search read.
    for (const auto& [key, member] : row.items())
        if (const std::string* folded = columns.Folded(key); folded && member.is_string())
            values.emplace_back(*folded, FoldCase(member.get<std::string>()));
    std::string names, marks;
    std::vector<Value> params;
    for (const auto& [name, value] : values) {
        names += (names.empty() ? "" : ", ") + Quoted(name);
        marks += marks.empty() ? "?" : ", ?";
        params.push_back(value);
    }
    Statement insert = db.Prepare("INSERT INTO " + Quoted(table) + " (" + names + ") VALUES (" + marks + ")");
    insert.BindAll(params);
    insert.Run();
    return db.LastInsertRowid();
}

}  // namespace wb::record
