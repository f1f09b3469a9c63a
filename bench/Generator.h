// Main databases full of realistic Worksheets for the benchmarks, written once and kept in
// the build folder so that later runs start at once.
#pragma once

#include <filesystem>
#include <string>

namespace wb::bench {

// The number of aircraft among `worksheets` Worksheets: a shop weighs each one every year
// or two, so a database holds a few dozen Worksheets per tail.
int TailCount(int worksheets);
// The k-th tail number, "N" and digits and letters ("N1042K").
std::string TailName(int k);

// A main database holding `worksheets` Worksheets over 30 years, each with 5 scale and 5
// fluid rows, 5 to 30 change rows and 20 to 100 equipment-list rows. Made on first use.
std::filesystem::path CachedDatabase(int worksheets);

// The 200 generated Worksheets made the one tail kOneTail's, 40 days apart, audited and each
// signed in date order (a chain of 200): a long-lived aircraft's whole record. Made once.
inline constexpr const char* kOneTail = "N200PK";
std::filesystem::path OneTailDatabase();

}  // namespace wb::bench
