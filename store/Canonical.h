// The canonical form of a stored Worksheet: the bytes its record hash and its signature are
// made over. Canonical JSON (RFC 8785): keys sorted, no blanks, numbers as ECMAScript prints
// them, so that anyone can rebuild the same bytes from the rows with any JSON library. The
// README gives the rules; `kCanonicalForm` is their version, so that later fields can join
// without breaking the signatures made before.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Sqlite.h"

namespace wb {

inline constexpr int kCanonicalForm = 1;

// A JSON text of a string, of a number (ECMAScript's shortest form: 25, 1.5, 1e+21), of a
// stored value (Null gives "null").
std::string JsonString(std::string_view text);
void AppendJsonString(std::string& out, std::string_view text);
std::string JsonNumber(double v);
std::string JsonValue(const Value& v);
// An object from members whose values are JSON texts already; keys in sorted order, members
// whose value is "null" left out.
std::string JsonObject(const std::map<std::string, std::string>& members);

// A table that holds rows of one Worksheet beside its Aircraft row. Its rows are part of the
// signed content. `link` is the column holding the Aircraft row's Id; empty when the rows are
// found, as Equipment's are, by FoldedTail and "Date".
struct WorksheetTable {
    std::string_view name;
    std::string_view link;
};
// Every such table. A table added to the stored Worksheet joins its signed content here.
const std::vector<WorksheetTable>& WorksheetTables();

// Reads stored Worksheets in their canonical form, with statements prepared once.
class CanonicalReader {
  public:
    explicit CanonicalReader(Database& db);
    // The canonical form of the Aircraft row `id` with its rows; nothing without such a row.
    std::optional<std::string> Record(std::int64_t id);
    // The Aircraft row stored under this tail and ISO date (the newest when there are two).
    std::optional<std::int64_t> Find(std::string_view tail, std::string_view isoDate);

  private:
    struct Layout {
        bool known = false;
        std::vector<std::pair<int, std::string>> members;  // column, its key and colon
        void Learn(const Statement& s, std::string_view link);
        std::string Row(const Statement& s) const;
    };
    Database& db_;
    Statement aircraft_, find_;
    std::vector<Statement> tables_;
    Layout aircraftLayout_;
    std::vector<Layout> layouts_;
};

// SHA-256 of the bytes, in lower-case hex.
std::string Sha256Hex(std::string_view bytes);
std::string Hex(const unsigned char* bytes, size_t size);
// Nothing when the text is not hex of exactly `size` bytes.
std::optional<std::vector<unsigned char>> FromHex(std::string_view hex, size_t size);

// The date and time now in UTC, "2026-12-07T18:30:05Z".
std::string UtcNow();

}  // namespace wb
