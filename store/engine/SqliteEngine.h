#pragma once

#include <memory>
#include <string>

#include "store/Database.h"
#include "store/engine/Engine.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One open SQLCipher database file. The key is applied and checked on opening: a wrong key or a
// file that is not a database throws StoreError with a message naming the file. Its statements
// know decimal_round(x, n): x rounded to n decimals as the entry panels show it (half away from
// zero on the value of x's stored text).
class SqliteEngine final : public Engine {
  public:
    SqliteEngine(const std::string& file, const std::string& key, Database::Mode mode);
    ~SqliteEngine() override;

    const std::string& name() const noexcept override { return file_; }
    DataIdentity identity() const noexcept override { return identity_; }
    bool isServer() const noexcept override { return false; }

    std::unique_ptr<EngineStatement> prepare(std::string_view sql) const override;
    void exec(const std::string& sql) override;
    bool tryExec(const char* sql) noexcept override;
    std::int64_t lastInsertRowId() const noexcept override;
    int changes() const noexcept override;
    bool inAutocommit() const noexcept override;
    void releaseMemory() noexcept override;

    void begin() override;
    void commit() override;
    bool tryRollback() noexcept override;
    void beginReadSnapshot() override;
    const char* rowLockClause() const noexcept override { return ""; }

    int schemaVersion() const override;
    void setSchemaVersion(int version) override;
    bool holdsTable(const std::string& table) const override;
    std::string counterColumn(const std::string& table) const override;
    void createTable(const schema::TableDef& table) override;
    void counterFollowsRows(const std::string&) override {}

    std::unique_ptr<ChangeWatch> watchChanges() const override;

    // SQLite's online backup of the whole file into target, under the same key.
    void backupTo(const std::string& targetFile, Database::CopyPermissions permissions) const;

    sqlite3* handle() const noexcept { return db_.get(); }

  private:
    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    std::string file_;
    std::string key_;
    DataIdentity identity_;
};

// The SQLite statement behind a Statement of a file, for measurements that compare the store
// with SQLite's own loop; null for a statement of a server.
sqlite3_stmt* sqliteStatementOf(const EngineStatement& statement) noexcept;

}  // namespace store
