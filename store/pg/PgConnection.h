// The record store on a shop's PostgreSQL server: a connection through the server's C client
// library behind the engine seam, the tables made on an empty server database, and the plain
// reasons a server could not be used.
#pragma once

#include <stdexcept>
#include <string>

#include "store/Engine.h"
#include "store/pg/ServerAddress.h"

namespace wb {

// Why a shop server could not be used, in words for the mechanic; the client library's own
// text follows for whoever looks after the server.
class ServerRefused : public std::runtime_error {
  public:
    enum class Reason { NoServer, Password, NoDatabase, Newer, Tls, NotOurs, Other };
    ServerRefused(Reason reason, const std::string& message) : std::runtime_error(message), reason_(reason) {}
    Reason reason() const { return reason_; }

  private:
    Reason reason_;
};

// Connects to the server; `password` only when the mechanic typed one at the prompt (empty:
// the client library's password file and environment). Throws ServerRefused.
Database ConnectServer(const ServerAddress& address, const std::string& password = {});

// Connects and makes sure the record tables are there at this program's version: an empty
// database gets them, in one transaction; a newer one, or one holding other tables under our
// names, is refused. Throws ServerRefused.
Database OpenServer(const ServerAddress& address, const std::string& password = {});

// The set-up panel's "Test": empty when the server can be used as it stands, otherwise why not.
// A database without the tables yet passes: they are made at the first start on it.
std::string TestServer(const ServerAddress& address, const std::string& password = {});

// Whether the database holds at least one stored Worksheet (a copy-up target must not).
bool HoldsWorksheets(Database& db);

}  // namespace wb
