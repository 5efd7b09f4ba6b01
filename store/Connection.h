#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/Database.h"

namespace store {

class Query;
class WriteTransaction;

// A window's connection to the data store: a connection string and, while open, its own
// database handle. Several connections may hold the same file at once.
class Connection {
  public:
    Connection();
    explicit Connection(std::string connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(std::string text);
    const std::string& connectionString() const noexcept { return connectionString_; }
    // Kept for the window code; the store never prompts for credentials.
    void setLoginPrompt(bool on) noexcept { loginPrompt_ = on; }
    bool loginPrompt() const noexcept { return loginPrompt_; }

    void open();            // no effect when already open
    void close() noexcept;  // closes every query on this connection first
    bool isOpen() const noexcept { return db_ != nullptr; }
    Database& database();  // opens on demand

    bool inTransaction() const noexcept { return transaction_ != nullptr; }

  private:
    friend class Query;
    friend class WriteTransaction;
    void attach(Query* query);
    void detach(Query* query) noexcept;
    // A query is about to write its table: inside a transaction it is noted, so that a rollback
    // can bring its rows back in line with the file.
    void noteWrite(Query* query);

    std::string connectionString_;
    bool loginPrompt_ = false;
    std::unique_ptr<Database> db_;
    std::vector<Query*> queries_;
    WriteTransaction* transaction_ = nullptr;
    std::vector<Query*> written_;  // queries that wrote inside the transaction
};

// Several row writes that belong together, such as a sale row and the stock movement of its goods
// row: begun on the connection in the constructor, stored only by commit(), rolled back by the
// destructor otherwise (an error, an early return). After a rollback every query of the connection
// that wrote inside the transaction reads its rows again, with the same statement, and stands on
// the row it stood on where that row is still there: no list keeps a row the file does not hold,
// and the lists' totals follow. One transaction at a time per connection.
class WriteTransaction {
  public:
    explicit WriteTransaction(Connection& connection);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit();

  private:
    friend class Connection;
    void rollback() noexcept;

    Connection& connection_;
    Database* database_;  // null once the connection was closed, which rolled back
    bool done_ = false;
};

// Closes the window's connection and queries, rebuilds the connection string from the current
// directory, sets every query's statement to "select * from " + its table and opens them again.
void reconnectAndRequery(Connection& connection,
                         const std::vector<std::pair<Query*, std::string>>& queriesAndTables);

}  // namespace store
