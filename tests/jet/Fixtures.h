// Where the legacy Jet fixtures live, and EXPECTED.json loaded once.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace wb::jet::testing {

inline std::filesystem::path FixtureDir() {
    if (const char* env = std::getenv("WB_LEGACY_JET_FIXTURES"); env && *env) return env;
    return WB_LEGACY_JET_FIXTURES;
}

inline const nlohmann::json& Expected() {
    static const nlohmann::json expected = [] {
        std::ifstream in(FixtureDir() / "EXPECTED.json");
        return nlohmann::json::parse(in);
    }();
    return expected;
}

// A file's bytes, and the names in a folder: for checking that nothing was changed or left.
inline std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::set<std::string> FilesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace wb::jet::testing

#define WB_NEED_JET_FIXTURES()                                                                       \
    do {                                                                                             \
        if (!std::filesystem::exists(::wb::jet::testing::FixtureDir() / "EXPECTED.json"))            \
            GTEST_SKIP() << "The legacy Jet fixtures belong in " << ::wb::jet::testing::FixtureDir() \
                         << " (shared/fixtures/legacy-jet beside the repository, or set "            \
                            "WB_LEGACY_JET_FIXTURES); not found.";                                   \
    } while (false)
