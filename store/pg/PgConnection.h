#pragma once

#include <libpq-fe.h>

#include <functional>
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

// A statement of the program runs on its own: inside a transaction under a savepoint of its own,
// so that its failure takes back only itself and the transaction goes on, as in the data file
// (the server would otherwise refuse the rest of the transaction), in one exchange with the
// server. begin, when not null, is the BEGIN of the transaction the statement is the first of: it
// goes ahead in the same exchange. The result is the statement's, or the failure that kept it
// from running (the BEGIN's too); null when the connection failed.
// send() sends the statement as the given number of commands (PQsendPrepare, PQsendQueryParams,
// PQsendQueryPrepared …); the last one's result is the statement's, a failure of any the
// statement's failure.
ResultHandle runAlone(PGconn* connection, const char* begin, int commands,
                      const std::function<int(PGconn*)>& send) noexcept;
// One or more statements without parameters; the result is the last statement's.
ResultHandle execAlone(PGconn* connection, const char* begin, std::string sql) noexcept;

// The server's description of a statement's columns (PQnfields, PQfname, PQftype … of a result
// without rows), or the failure that kept it from being described; prepared as the unnamed
// statement and described in one exchange.
ResultHandle describe(PGconn* connection, const std::string& sql) noexcept;

// The server as the connection reached it: the settings with what libpq took from its defaults
// and the PG* environment filled in.
ServerSettings reachedServer(const PGconn* connection, const ServerSettings& settings);

}  // namespace store::pg
