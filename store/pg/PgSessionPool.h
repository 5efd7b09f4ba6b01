#pragma once

#include <optional>

#include "store/ServerSettings.h"
#include "store/pg/PgStatement.h"

namespace store::pg {

// Sessions whose engine was closed, kept open for the next engine of the process that opens the
// same server with the same settings and environment. A window that closes its connection and
// opens it again before it reads would otherwise have the server start a new process each time,
// which then reads its catalogue and the table's pages afresh.
//
// A session is kept only when it is healthy, outside a transaction, and has not changed its own
// settings; one that was lost while kept is never handed out.
std::optional<Session> takeKeptSession(const ServerSettings& settings) noexcept;
void keepSession(const ServerSettings& settings, Session session) noexcept;

}  // namespace store::pg
