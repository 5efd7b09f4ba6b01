#pragma once

#include <memory>
#include <optional>
#include <string>

namespace store {

class Engine;

// A PostgreSQL server the program keeps its data on instead of data.mdb. Empty values are left to
// libpq (its defaults, the PG* environment); the password comes from ~/.pgpass or PGPASSWORD.
struct ServerSettings {
    std::string host;
    std::string port;
    std::string database;
    std::string user;
    std::string sslmode;
    // "PostgreSQL 服务器 host:port 上的数据库“database”", for messages.
    std::string describe() const;
    bool operator==(const ServerSettings&) const = default;
};

// The server every connection of the process opens; none (the default): the data.mdb file its
// connection string names.
void useServer(std::optional<ServerSettings> server);
const ServerSettings* currentServer() noexcept;

// Opens the server's database; throws StoreError naming the server and what to check.
std::unique_ptr<Engine> openServerEngine(const ServerSettings& server);
// Closes the connections the process keeps open for its next engines: the server refuses to copy
// or drop a database anyone is connected to.
void closeKeptServerSessions() noexcept;

}  // namespace store
