#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

namespace schema {
struct TableDef;
}

// How a value of a result row is stored.
enum class ValueType { Null, Integer, Float, Text, Blob };

// A column's value as it is stored: the number of an integer or a float, the bytes of a text or a
// blob (valid until the next step or reset). Only the member of its type is set, except that a
// float may come with its text already as values::formatNumber writes it, when the engine read it
// as such text (empty otherwise).
struct StoredValue {
    ValueType type = ValueType::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view text;
};

// Which data a handle holds: a file's device and inode when it was opened, so that a file replaced
// under the same name later is told apart; for a server, a number made from its address and
// database. Zero when it could not be told.
struct DataIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known() const noexcept { return inode != 0; }
    bool operator==(const DataIdentity&) const = default;
    auto operator<=>(const DataIdentity&) const = default;
};

// A prepared statement of one engine. SQL texts are written as the data file's SQL: "?" for
// parameters, double-quoted names, rowid for a row's id, IFNULL and decimal_round(x, n); an
// engine with another dialect reads them in its own.
class EngineStatement {
  public:
    virtual ~EngineStatement() = default;
    virtual bool step() = 0;  // true while a row is available; throws StoreError
    // Back to the start with no parameters bound; false when the last step had failed.
    virtual bool tryReset() noexcept = 0;
    virtual void throwLastFailure() const = 0;  // the failure that made tryReset() false
    // The caller will read every row of the next run (a result set): an engine may then stream
    // them rather than fetch them as one piece.
    virtual void expectManyRows() noexcept {}

    virtual void bindNull(int index) = 0;  // 1-based
    virtual void bindText(int index, std::string_view text) = 0;
    virtual void bindDouble(int index, double value) = 0;
    virtual void bindInt64(int index, std::int64_t value) = 0;

    virtual int columnCount() const noexcept = 0;
    virtual std::string columnName(int index) const = 0;
    // The column's type as the data file declares it ("TEXT(50)", "DOUBLE", "INTEGER"); empty
    // when the column is not a table's.
    virtual std::string columnDeclType(int index) const = 0;
    // Values of the current row, columns checked by the caller.
    virtual void readValue(int index, StoredValue& value) const = 0;
};

// Follows the changes of the tables of one database, seen by every connection of every process.
class ChangeWatch {
  public:
    virtual ~ChangeWatch() = default;
    // A number that differs whenever table changed since it was last told; empty when it cannot
    // be told now (locked, gone, unreachable).
    virtual std::optional<std::int64_t> version(std::string_view table) = 0;
    // Whether one version stands for every table (a file's own), so that a table kept at an
    // older one is known to be out of date before it is asked for.
    virtual bool oneVersionForAllTables() const noexcept { return false; }
};

// One open database of one engine: an SQLCipher file, or a database on a server.
class Engine {
  public:
    virtual ~Engine() = default;

    // The file's path, or the server and database as the user is told of them.
    virtual const std::string& name() const noexcept = 0;
    virtual DataIdentity identity() const noexcept = 0;
    virtual bool isServer() const noexcept = 0;

    virtual std::unique_ptr<EngineStatement> prepare(std::string_view sql) const = 0;
    virtual void exec(const std::string& sql) = 0;  // one or more statements without results
    virtual bool tryExec(const char* sql) noexcept = 0;
    // The row id of the row the last INSERT of this handle stored ("ID" where the table has it).
    virtual std::int64_t lastInsertRowId() const noexcept = 0;
    virtual int changes() const noexcept = 0;  // rows the last write statement changed
    virtual bool inAutocommit() const noexcept = 0;
    virtual void releaseMemory() noexcept = 0;

    // A write transaction: every statement until commit() is stored together or not at all.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual bool tryRollback() noexcept = 0;
    // A read of several statements from one consistent state of the data, while others write;
    // ended by commit() or tryRollback().
    virtual void beginReadSnapshot() = 0;
    // Added to a SELECT of a row inside a transaction that will write it from what it read:
    // other writers of the row wait until the transaction ends.
    virtual const char* rowLockClause() const noexcept = 0;

    // The program's schema version the data holds (0 for a file of the first version).
    virtual int schemaVersion() const = 0;
    virtual void setSchemaVersion(int version) = 0;  // inside the caller's transaction
    virtual bool holdsTable(const std::string& table) const = 0;
    virtual std::string counterColumn(const std::string& table) const = 0;  // empty when none
    // Creates the table with its indexes (and what the engine keeps beside it).
    virtual void createTable(const schema::TableDef& table) = 0;
    // After rows were stored with counter values of their own (a copy), new rows of the table
    // take counter values after the highest.
    virtual void counterFollowsRows(const std::string& table) = 0;

    // After many rows were stored at once (a copy, a restore), outside a transaction: the engine
    // brings what it knows of the tables' contents up to date, so that it plans its reads for the
    // data as it now is. Its failure changes nothing stored and is not told.
    virtual void learnNewContents() noexcept {}

    // A watch of every table's changes, used while nothing else reads.
    virtual std::unique_ptr<ChangeWatch> watchChanges() const = 0;
};

}  // namespace store
