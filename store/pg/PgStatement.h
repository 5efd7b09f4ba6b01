#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Error.h"
#include "store/engine/Engine.h"
#include "store/pg/PgConnection.h"
#include "store/pg/PgErrors.h"
#include "store/pg/PgSession.h"
#include "store/pg/PgSql.h"

namespace store::pg {

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
    // A text run again in the session (by this statement or another) is prepared on the server
    // once, so that each further run sends only its parameters.
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
    mutable int rows_ = 0;
    int next_ = 0;
    int row_ = -1;
};

}  // namespace store::pg
