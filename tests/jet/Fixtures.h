// Where the legacy Jet fixtures live, and EXPECTED.json loaded once.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace wb::jet::testing {

inline std::filesystem::path FixtureDir() {
    if (const char* env = std::getenv("WB_LEGACY_JET_FIXTURES"); env && *env) return env;
    return WB_LEGACY_JET_FIXTURES;
}

inline bool HaveFixtures() {
    return std::filesystem::exists(FixtureDir() / "EXPECTED.json");
}

inline const nlohmann::json& Expected() {
    static const nlohmann::json expected = [] {
        std::ifstream in(FixtureDir() / "EXPECTED.json");
        return nlohmann::json::parse(in);
    }();
    return expected;
}

}  // namespace wb::jet::testing

#define WB_NEED_JET_FIXTURES()                                                                       \
    do {                                                                                             \
        if (!::wb::jet::testing::HaveFixtures())                                                     \
            GTEST_SKIP() << "The legacy Jet fixtures belong in " << ::wb::jet::testing::FixtureDir() \
                         << " (shared/fixtures/legacy-jet beside the repository, or set "            \
                            "WB_LEGACY_JET_FIXTURES); not found.";                                   \
    } while (false)
