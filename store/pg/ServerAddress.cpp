#include "store/pg/ServerAddress.h"

#include <libpq-fe.h>

#include <memory>

namespace wb {
namespace {

// A value in the client library's keyword form: quoted, with quotes and backslashes escaped.
std::string QuotedValue(std::string_view v) {
    std::string q = "'";
    for (char c : v) {
        if (c == '\'' || c == '\\') q.push_back('\\');
        q.push_back(c);
    }
    return q + "'";
}

}  // namespace

bool IsServerPath(std::string_view dataPath) {
    return dataPath.substr(0, kServerPrefix.size()) == kServerPrefix;
}

std::string ServerPath(const ServerAddress& a) {
    std::string path(kServerPrefix);
    for (const auto& [key, value] : {std::pair<const char*, const std::string*>{"host", &a.host},
                                     {"port", &a.port},
                                     {"dbname", &a.database},
                                     {"user", &a.user},
                                     {"sslmode", &a.sslmode}})
        if (!value->empty()) path += std::string(" ") + key + "=" + QuotedValue(*value);
    return path;
}

std::optional<ServerAddress> ParseServerPath(std::string_view dataPath) {
    if (!IsServerPath(dataPath)) return std::nullopt;
    const std::string conninfo(dataPath.substr(kServerPrefix.size()));
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(conninfo.c_str(), &error), &PQconninfoFree);
    PQfreemem(error);
    if (!options) return std::nullopt;
    ServerAddress a;
    a.sslmode.clear();
    for (PQconninfoOption* o = options.get(); o->keyword != nullptr; ++o) {
        if (o->val == nullptr) continue;
        const std::string_view key = o->keyword;
        if (key == "host") a.host = o->val;
        if (key == "port") a.port = o->val;
        if (key == "dbname") a.database = o->val;
        if (key == "user") a.user = o->val;
        if (key == "sslmode") a.sslmode = o->val;
    }
    if (a.sslmode.empty()) a.sslmode = "prefer";
    return a;
}

std::string ShownAddress(const ServerAddress& a) {
    std::string shown;
    if (!a.user.empty()) shown += a.user + "@";
    shown += a.host.empty() ? "localhost" : a.host;
    if (!a.port.empty()) shown += ":" + a.port;
    return shown + "/" + a.database;
}

}  // namespace wb
