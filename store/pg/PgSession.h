#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "store/Error.h"
#include "store/pg/PgConnection.h"
#include "store/pg/PgCopyRows.h"
#include "store/pg/PgEmptyReads.h"
#include "store/pg/PgErrors.h"
#include "store/pg/PgPreparedTexts.h"

namespace store::pg {

// What the statements of one connection share with their engine.
struct Session {
    ConnectionHandle connection;
    std::string name;  // the server and database, for messages
    std::int64_t lastInsertRowId = 0;
    int changes = 0;
    // Whether a transaction was open on the server when the connection was last seen working,
    // or its BEGIN went with the last exchange.
    bool openTransaction = false;
    bool changedSettings = false;  // kept by no other engine then (PgSessionPool.h)
    // The rows of a statement still streaming from the server over the connection.
    CopyRows* stream = nullptr;
    PreparedTexts prepared;
    EmptyReads emptyReads;

    // The connection to run a statement on. One that was lost outside a transaction is made
    // again (the server restarted, the network came back); inside one it stays lost, and the
    // statement fails, until the transaction is rolled back: its work is gone.
    PGconn* ready() noexcept;
    // The connection free for a statement: the rows still streaming to another one are read
    // into memory first. Never makes the connection again.
    PGconn* idle() noexcept;
    // What a statement's successful result tells of its writes: the rows it changed, and the id
    // of the last row stored by an INSERT that returns them.
    void noteWrites(PGresult* result, bool returnsRowId) noexcept;
    StoreError failure(const PGresult* result) const {
        return statementFailure(result, connection.get(), name);
    }

    // Begins a transaction with sql (a BEGIN). On an idle connection it is only noted: the
    // BEGIN goes to the server with the transaction's first statement, in the same exchange. A
    // BEGIN while one is still to be sent changes nothing, as the server's own would; on a
    // connection that is not idle it runs at once. Throws the server's failure.
    void begin(const std::string& sql);
    // Whether a transaction is open: begun, its BEGIN sent or still to be sent.
    bool inTransaction() const noexcept;
    // Ends a transaction whose BEGIN was never sent, sending nothing; false when there is none.
    bool endUnsentTransaction() noexcept;
    // Sends a BEGIN still to be sent on its own, ahead of what cannot take it along. Throws the
    // server's failure.
    void sendBegin();

    // A statement of the program on its own (runAlone()), with count parameters as text:
    // prepared on the server when its text runs again, the BEGIN still to be sent ahead of it.
    ResultHandle runStatement(const std::string& text, int count,
                              const char* const* values) noexcept;
    // runAlone() and execAlone() on the connection, the BEGIN still to be sent ahead of the
    // statement.
    ResultHandle runAlone(int commands, const std::function<int(PGconn*)>& send) noexcept;
    ResultHandle execAlone(std::string sql) noexcept;
    // A statement that begins or ends a transaction or a savepoint, run as it is after the BEGIN
    // still to be sent.
    ResultHandle execControl(const std::string& sql) noexcept;

  private:
    ResultHandle runPlanned(const PreparedTexts::Plan& plan, const std::string& text, int count,
                            const char* const* values) noexcept;
    // The BEGIN to send ahead of the next statement, taken as sent from now on; null when none.
    const char* takeBegin() noexcept;
    // After the exchange that took begin along: when the server did not begin (the BEGIN
    // failed), it is still to be sent.
    void afterBegin(const char* begin) noexcept;

    std::string begin_;
    bool beginUnsent_ = false;
};

}  // namespace store::pg
