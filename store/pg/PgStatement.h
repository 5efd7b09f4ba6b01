#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Error.h"
#include "store/engine/Engine.h"
#include "store/pg/PgConnection.h"
#include "store/pg/PgCopyRows.h"
#include "store/pg/PgErrors.h"
#include "store/pg/PgSql.h"

namespace store::pg {

// What the statements of one connection share with their engine.
struct Session {
    ConnectionHandle connection;
    std::string name;  // the server and database, for messages
    std::int64_t lastInsertRowId = 0;
    int changes = 0;
    // Whether a transaction was open when the connection was last seen working.
    bool openTransaction = false;
    int connections = 1;  // counts the connection made again: its prepared statements are gone
    bool changedSettings = false;  // kept by no other engine then (PgSessionPool.h)
    // The rows of a statement still streaming from the server over the connection.
    CopyRows* stream = nullptr;
    int preparedStatements = 0;  // names them
    // The connection to run a statement on. One that was lost outside a transaction is made
    // again (the server restarted, the network came back); inside one it stays lost, and the
    // statement fails, until the transaction is rolled back: its work is gone.
    PGconn* ready() noexcept;
    // The connection free for a statement: the rows still streaming to another one are read
    // into memory first. Never makes the connection again.
    PGconn* idle() noexcept;
    StoreError failure(const PGresult* result) const {
        return statementFailure(result, connection.get(), name);
    }
};

// A statement in the program's SQL, read in the server's dialect. It runs on the server when it
// is first stepped (or its columns are asked for), with its parameters as text whose types the
// server infers; its rows are then read from the whole result, which the values of the current
// row point into. A SELECT without parameters whose every row will be read, outside a
// transaction, streams its rows instead (CopyRows), its columns described by the server first.
class PgStatement final : public EngineStatement {
  public:
    PgStatement(Session& session, std::string_view sql);
    ~PgStatement() override;
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

    bool step() override;
    bool tryReset() noexcept override;
    void throwLastFailure() const override;
    void expectManyRows() noexcept override { manyRows_ = true; }

    void bindNull(int index) override;
    void bindText(int index, std::string_view text) override;
    void bindDouble(int index, double value) override;
    void bindInt64(int index, std::int64_t value) override;

    int columnCount() const noexcept override;
    std::string columnName(int index) const override;
    std::string columnDeclType(int index) const override;
    void readValue(int index, StoredValue& value) const override;

  private:
    enum class Cell : unsigned char { Text, Integer, Float, Numeric, Bool };
    bool execute() const noexcept;  // false when the server refused it (failure_ tells why)
    // A statement run again (the rows of a copy, an export) is prepared on the server once, so
    // that each further run sends only its parameters.
    ResultHandle run(PGconn* connection, const std::vector<const char*>& values) const;
    bool streams(PGconn* connection) const noexcept;
    bool startStream(PGconn* connection) const;
    void cellKinds() const;  // of the columns result_ describes
    void endStream() const noexcept;
    void bind(int index, std::optional<std::string> value);
    void checkColumn(int index) const;

    Session& session_;
    ServerSql sql_;
    std::vector<std::optional<std::string>> parameters_;
    mutable ResultHandle result_;  // of a streamed statement: its columns' description
    mutable std::unique_ptr<CopyRows> stream_;
    bool manyRows_ = false;
    mutable std::vector<Cell> cells_;
    mutable std::optional<StoreError> failure_;
    std::optional<StoreError> lastFailure_;  // of the run before the last reset
    mutable bool executed_ = false;
    mutable int runs_ = 0;
    mutable std::string preparedName_;  // empty until prepared
    mutable int preparedOn_ = 0;        // the session's connection it was prepared on
    mutable int rows_ = 0;
    int next_ = 0;
    int row_ = -1;
};

}  // namespace store::pg
