#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>

#include "store/ServerSettings.h"

// The libpq handles of the server engine, owned; only the engine's own files include this.
namespace store::pg {

struct ConnectionCloser {
    void operator()(PGconn* connection) const noexcept { PQfinish(connection); }
};
struct ResultClearer {
    void operator()(PGresult* result) const noexcept { PQclear(result); }
};
using ConnectionHandle = std::unique_ptr<PGconn, ConnectionCloser>;
using ResultHandle = std::unique_ptr<PGresult, ResultClearer>;

// A connection to the server's database, in UTF-8, with the server's notices kept quiet (the
// program shows its own messages). Throws StoreError with kServerUnreachable, naming the server
// and what to check, when it cannot be made.
ConnectionHandle connect(const ServerSettings& settings);
// The same without the message: a null or failed handle when it could not be made.
ConnectionHandle tryConnect(const ServerSettings& settings) noexcept;

// Sets what the program relies on in a new connection's session; false when the server refused.
bool prepareSession(PGconn* connection) noexcept;

// The server as the connection reached it: the settings with what libpq took from its defaults
// and the PG* environment filled in.
ServerSettings reachedServer(const PGconn* connection, const ServerSettings& settings);

}  // namespace store::pg
