#pragma once

#include <initializer_list>
#include <map>

#include "store/ServerSettings.h"
#include "store/engine/Engine.h"
#include "store/pg/PgStatement.h"

namespace store::pg {

// One database on a PostgreSQL server through libpq. The program's SQL is read in the server's
// dialect (PgSql.h); the tables are made as PgSchema.h describes them.
class PgEngine final : public Engine {
  public:
    explicit PgEngine(const ServerSettings& settings);
    ~PgEngine() override;
    PgEngine(const PgEngine&) = delete;
    PgEngine& operator=(const PgEngine&) = delete;

    const std::string& name() const noexcept override { return session_.name; }
    DataIdentity identity() const noexcept override { return identity_; }
    bool isServer() const noexcept override { return true; }

    std::unique_ptr<EngineStatement> prepare(std::string_view sql) const override;
    void exec(const std::string& sql) override;
    bool tryExec(const char* sql) noexcept override;
    std::int64_t lastInsertRowId() const noexcept override { return session_.lastInsertRowId; }
    int changes() const noexcept override { return session_.changes; }
    bool inAutocommit() const noexcept override;
    void releaseMemory() noexcept override {}

    void begin() override;
    void commit() override;
    bool tryRollback() noexcept override;
    void beginReadSnapshot() override;
    const char* rowLockClause() const noexcept override { return " FOR UPDATE"; }

    int schemaVersion() const override;
    void setSchemaVersion(int version) override;
    bool holdsTable(const std::string& table) const override;
    std::string counterColumn(const std::string& table) const override;
    void createTable(const schema::TableDef& table) override;
    void counterFollowsRows(const std::string& table) override;

    void learnNewContents() noexcept override;
    std::unique_ptr<ChangeWatch> watchChanges() const override;

    // The connection, for a trace of what goes to the server (ExchangeCounter).
    PGconn* connectionForTracing() const noexcept { return session_.connection.get(); }

  private:
    // The engine's own statements, in the server's dialect; throws the server's failure.
    ResultHandle run(const std::string& sql,
                     std::initializer_list<std::string> parameters = {}) const;
    std::string identityColumn(const std::string& table) const;
    bool inCatalogue(const std::string& table) const;

    ServerSettings settings_;
    mutable Session session_;
    // What the catalogue told of the tables this connection made or found: a table, once
    // there, keeps its counter for the program's run.
    mutable std::map<std::string, std::string, std::less<>> counters_;
    DataIdentity identity_;
};

}  // namespace store::pg
