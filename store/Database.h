#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One open SQLCipher database file. The key is applied and checked on opening: a wrong key or a
// file that is not a database throws StoreError with a message naming the file. Its statements
// know decimal_round(x, n): x rounded to n decimals as the entry panels show it (half away from
// zero on the value of x's stored text).
class Database {
  public:
    enum class Mode { ReadWrite, ReadOnly, Create };
    Database(const std::string& file, const std::string& key, Mode mode = Mode::ReadWrite);
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;

    const std::string& file() const noexcept { return file_; }

    // Which file the handle holds: the device and inode it had when it was opened, so that a
    // file replaced under the same name later is told apart. Zero when it could not be told.
    struct FileIdentity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        bool known() const noexcept { return inode != 0; }
        bool operator==(const FileIdentity&) const = default;
        auto operator<=>(const FileIdentity&) const = default;
    };
    const FileIdentity& fileIdentity() const noexcept { return identity_; }

    void exec(const std::string& sql);
    bool tryExec(const char* sql) noexcept;  // for clean-up paths: false when it failed
    std::int64_t lastInsertRowId() const noexcept;
    int changes() const noexcept;
    // Whether no transaction is open on the handle (each statement commits on its own).
    bool inAutocommit() const noexcept;
    // Gives back the page cache the handle holds, once a large read is done with it.
    void releaseMemory() noexcept;

    // Copies the whole database into target (replacing it) with SQLite's online backup, under
    // the same key, so the copy is consistent even while other connections write. The copy is
    // made with the user's umask and, holding the same data, is never more open than this file;
    // or, replacing a file, keeps that file's permissions.
    enum class CopyPermissions { NoMoreOpenThanSource, KeepTarget };
    void backupTo(const std::string& targetFile,
                  CopyPermissions permissions = CopyPermissions::NoMoreOpenThanSource) const;

  private:
    friend class Statement;
    friend class TableCache;  // opens its watching connection with the same key
    sqlite3* handle() const noexcept { return db_.get(); }
    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    std::string file_;
    std::string key_;
    FileIdentity identity_;
};

// The identity of the file a path names now; not known when it cannot be read.
Database::FileIdentity fileIdentityOf(const std::string& path);

// Checks that file opens with key as a database; the message of the failure otherwise.
bool canOpenDatabase(const std::string& file, const std::string& key, std::string* error = nullptr);

// A prepared statement. Columns are read while the statement stands on a row.
class Statement {
  public:
    enum class ValueType { Null, Integer, Float, Text, Blob };

    Statement(const Database& db, std::string_view sql);
    ~Statement();
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;

    bool step();  // true while a row is available
    // Back to the start with no parameters bound. reset() throws the failure of the last step, if
    // it failed; tryReset() only tells whether there was none.
    void reset();
    bool tryReset() noexcept;

    void bindNull(int index);  // 1-based like SQLite
    void bindText(int index, std::string_view text);
    void bindDouble(int index, double value);
    void bindInt64(int index, std::int64_t value);

    // Columns count from 0. The readers of values throw StoreError unless step() has just
    // returned a row and the column exists; the names need only the column.
    int columnCount() const noexcept;
    std::string columnName(int index) const;
    std::string columnDeclType(int index) const;  // empty when not a table column
    ValueType type(int index) const;              // how the value of the current row is stored
    // A column's value as it is stored: the number of an integer or a float, the bytes of a text
    // or a blob (valid until the next step or reset). Only the member of its type is set.
    struct Value {
        ValueType type = ValueType::Null;
        std::int64_t integer = 0;
        double real = 0;
        std::string_view text;
    };
    // The values of the columns from first on, as many as values holds, checked once for all.
    void readValues(int first, std::vector<Value>& values) const;
    bool isNull(int index) const;
    bool isText(int index) const;  // stored as text, not as a number, a blob or NULL
    std::string_view text(int index) const;
    double doubleValue(int index) const;
    std::int64_t int64Value(int index) const;

    // For measurements that compare the store with SQLite's own loop.
    sqlite3_stmt* handle() const noexcept { return stmt_.get(); }

  private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept;
    };
    void checkColumn(int index) const;
    void checkValue(int index) const;

    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    sqlite3* db_;
    bool hasRow_ = false;
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
