#pragma once

#include <libpq-fe.h>

#include <string>
#include <string_view>

#include "store/Error.h"
#include "store/ServerSettings.h"

// What the server's failures tell the user: a Chinese sentence naming the server, the table or
// the column and what to do, with the server's own text after it in brackets.
namespace store::pg {

// A connection that could not be made, from libpq's text: the server not running or the host or
// port wrong, the password or the user, the database missing, SSL; kServerUnreachable.
StoreError connectFailure(std::string_view libpqText, const ServerSettings& server);

// What the server said of a statement it refused.
struct ServerFailure {
    std::string sqlstate;  // five characters, empty when the server sent none
    std::string text;      // its primary message
    std::string table;
    std::string column;
    std::string constraint;
    bool connectionLost = false;
};
// Conflicts with another connection (serialization failure, deadlock) carry kServerConflict, a
// lost connection kServerUnreachable.
StoreError failureOf(const ServerFailure& failure, const std::string& server);

// The failure of result (a null result: of the connection), as failureOf() tells it.
StoreError statementFailure(const PGresult* result, const PGconn* connection,
                            const std::string& server);

}  // namespace store::pg
