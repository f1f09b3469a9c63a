// Where a shop's record store lives when it is on a PostgreSQL server, and how that choice is
// kept in the settings: in place of the data folder, as "server: host=... port=...". No
// password is ever kept: the server's client library reads its own password file and
// environment (PGPASSFILE, PGHOST ...), and the program asks at start-up when it must.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wb {

struct ServerAddress {
    std::string host;  // a name, an address, or the folder of a local socket; empty: the default
    std::string port;
    std::string database;
    std::string user;
    // "prefer" (the client library's default): encrypted when the server offers it;
    // "verify-full": only to a server whose certificate matches its name.
    std::string sslmode = "prefer";

    bool operator==(const ServerAddress&) const = default;
};

inline constexpr std::string_view kServerPrefix = "server:";

// Whether a stored data path names a shop server rather than a folder.
bool IsServerPath(std::string_view dataPath);
// The stored form: "server: host='db1' port='5432' dbname='shop' user='mech' sslmode='prefer'".
std::string ServerPath(const ServerAddress& address);
// Nothing when `dataPath` is not a server or cannot be read.
std::optional<ServerAddress> ParseServerPath(std::string_view dataPath);
// "mech@db1:5432/shop", for titles and messages.
std::string ShownAddress(const ServerAddress& address);

}  // namespace wb
