#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/engine/Engine.h"

struct sqlite3_stmt;

namespace store {

struct ServerSettings;

// One open database: an SQLCipher file (the data.mdb of the program's folder, a backup) or the
// shop's database on a server, through its engine. Opening a file applies and checks the key: a
// wrong key or a file that is not a database throws StoreError with a message naming the file.
// Its statements know decimal_round(x, n): x rounded to n decimals as the entry panels show it
// (half away from zero on the value of x's stored text).
class Database {
  public:
    enum class Mode { ReadWrite, ReadOnly, Create };
    Database(const std::string& file, const std::string& key, Mode mode = Mode::ReadWrite);
    explicit Database(std::unique_ptr<Engine> engine);
    // The server's database; throws StoreError naming the server and what to check.
    static Database onServer(const ServerSettings& server);
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;

    Engine& engine() noexcept { return *engine_; }
    const Engine& engine() const noexcept { return *engine_; }
    bool isServer() const noexcept { return engine_->isServer(); }
    // The file's path, or the server and database as the user is told of them.
    const std::string& file() const noexcept { return engine_->name(); }

    // Which data the handle holds: for a file, the device and inode it had when it was opened,
    // so that a file replaced under the same name later is told apart. Zero when it could not
    // be told.
    using FileIdentity = DataIdentity;
    FileIdentity fileIdentity() const noexcept { return engine_->identity(); }

    void exec(const std::string& sql) { engine_->exec(sql); }
    // For clean-up paths: false when it failed.
    bool tryExec(const char* sql) noexcept { return engine_->tryExec(sql); }
    std::int64_t lastInsertRowId() const noexcept { return engine_->lastInsertRowId(); }
    int changes() const noexcept { return engine_->changes(); }
    // Whether no transaction is open on the handle (each statement commits on its own).
    bool inAutocommit() const noexcept { return engine_->inAutocommit(); }
    // Gives back the page cache the handle holds, once a large read is done with it.
    void releaseMemory() noexcept { engine_->releaseMemory(); }

    // Copies the whole database into target (replacing it): an encrypted file under the
    // program's key, consistent even while other connections write. The copy is made with the
    // user's umask and, holding the same data, is never more open than this file; or, replacing
    // a file, keeps that file's permissions.
    enum class CopyPermissions { NoMoreOpenThanSource, KeepTarget };
    void backupTo(const std::string& targetFile,
                  CopyPermissions permissions = CopyPermissions::NoMoreOpenThanSource) const;

  private:
    std::unique_ptr<Engine> engine_;
};

// The identity of the file a path names now; not known when it cannot be read.
Database::FileIdentity fileIdentityOf(const std::string& path);

// Checks that file opens with key as a database; the message of the failure otherwise.
bool canOpenDatabase(const std::string& file, const std::string& key, std::string* error = nullptr);

// A prepared statement. Columns are read while the statement stands on a row.
class Statement {
  public:
    using ValueType = store::ValueType;
    using Value = StoredValue;

    Statement(const Database& db, std::string_view sql);
    ~Statement();
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;

    bool step();  // true while a row is available
    // Back to the start with no parameters bound. reset() throws the failure of the last step, if
    // it failed; tryReset() only tells whether there was none.
    void reset();
    bool tryReset() noexcept;
    void expectManyRows() noexcept { statement_->expectManyRows(); }

    void bindNull(int index) { statement_->bindNull(index); }  // 1-based like SQLite
    void bindText(int index, std::string_view text) { statement_->bindText(index, text); }
    void bindDouble(int index, double value) { statement_->bindDouble(index, value); }
    void bindInt64(int index, std::int64_t value) { statement_->bindInt64(index, value); }

    // Columns count from 0. The readers of values throw StoreError unless step() has just
    // returned a row and the column exists; the names need only the column.
    int columnCount() const noexcept { return statement_->columnCount(); }
    std::string columnName(int index) const;
    std::string columnDeclType(int index) const;  // empty when not a table column
    ValueType type(int index) const;              // how the value of the current row is stored
    // The values of the columns from first on, as many as values holds, checked once for all.
    // Texts are valid until the next step or reset.
    void readValues(int first, std::vector<Value>& values) const;
    bool isNull(int index) const;
    bool isText(int index) const;  // stored as text, not as a number, a blob or NULL
    std::string_view text(int index) const;
    double doubleValue(int index) const;
    std::int64_t int64Value(int index) const;

    // For measurements that compare the store with SQLite's own loop; null on a server.
    sqlite3_stmt* handle() const noexcept;

  private:
    void checkColumn(int index) const;
    void checkValue(int index) const;
    Value valueAt(int index) const;

    std::unique_ptr<EngineStatement> statement_;
    bool hasRow_ = false;
    mutable std::string converted_;  // a number read as text
};

// Begins in its constructor, commits only when told, rolls back in its destructor otherwise.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    Database& db_;
    bool done_ = false;
};

}  // namespace store
