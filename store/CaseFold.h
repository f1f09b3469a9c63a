// Tail numbers and search texts compare without regard to case over the whole of Unicode
// ("École" is found by "é", "STRASSE" matches "Straße"), while the stored texts stay as typed.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace wb {

// The text with its case folded (Unicode full default folding, then NFC, so that a composed
// and a decomposed accent compare alike). Malformed UTF-8 counts as U+FFFD.
std::string FoldCase(std::string_view utf8);

// The SQL function fold_case(text), which the Tail indexes of the main database are built
// on; every connection registers it before it reads or writes those tables.
inline constexpr const char* kFoldCaseFunction = "fold_case";
int RegisterFoldCase(sqlite3* db);  // the engine's result code

}  // namespace wb
