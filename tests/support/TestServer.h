// The record-store cases run on both engines: the local file, and a PostgreSQL server that
// scripts/test.sh starts for the run (PGHOST, PGPORT and PGUSER point at it, WB_TEST_PG=1).
// Each test process gets a database of its own there, emptied before each case.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "store/pg/PgConnection.h"

namespace wb::test {

enum class Engine { File, Server };

inline std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::File ? "File" : "Server";
}
inline auto BothEngines() {
    return ::testing::Values(Engine::File, Engine::Server);
}

// Empty when the server cases can run; otherwise why not.
inline std::string ServerMissing() {
    return std::getenv("WB_TEST_PG") != nullptr
               ? std::string()
               : "no PostgreSQL test server: WB_TEST_PG is not set (scripts/test.sh starts a throwaway one)";
}

// Skips the case (fails it under CI) when there is no test server. Use in SetUp or a test body.
#define WB_REQUIRE_TEST_SERVER()                                                 \
    do {                                                                         \
        if (const std::string why = ::wb::test::ServerMissing(); !why.empty()) { \
            if (std::getenv("CI") != nullptr) FAIL() << why;                     \
            GTEST_SKIP() << why;                                                 \
        }                                                                        \
    } while (false)

// This process's database on the test server; host, port and user come from the environment.
inline ServerAddress TestServerAddress() {
    static const std::string name = [] {
        std::random_device random;
        return "wb_test_" + std::to_string(random()) + std::to_string(random() % 1000);
    }();
    ServerAddress a;
    a.database = name;
    return a;
}

// An empty database for the next case: created at the first call, its tables dropped after.
inline void FreshServerDatabase() {
    static bool created = false;
    if (!created) {
        ServerAddress admin;
        admin.database = "postgres";
        ConnectServer(admin).Exec("CREATE DATABASE " + TestServerAddress().database);
        created = true;
        std::atexit([] {
            try {
                ServerAddress admin;
                admin.database = "postgres";
                ConnectServer(admin).Exec("DROP DATABASE IF EXISTS " + TestServerAddress().database +
                                          " WITH (FORCE)");
            } catch (const std::exception&) {
                // The throwaway server goes with the run.
            }
        });
    }
    ConnectServer(TestServerAddress()).Exec("DROP SCHEMA public CASCADE; CREATE SCHEMA public");
}

}  // namespace wb::test
