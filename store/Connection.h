#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/Database.h"

namespace store {

class Query;

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

  private:
    friend class Query;
    void attach(Query* query);
    void detach(Query* query) noexcept;

    std::string connectionString_;
    bool loginPrompt_ = false;
    std::unique_ptr<Database> db_;
    std::vector<Query*> queries_;
};

// Closes the window's connection and queries, rebuilds the connection string from the current
// directory, sets every query's statement to "select * from " + its table and opens them again.
void reconnectAndRequery(Connection& connection,
                         const std::vector<std::pair<Query*, std::string>>& queriesAndTables);

// A window's first connection: opened on its stored initial connection string with the login
// prompt off, then every query opened on "select * from " + its table.
void openOnCreation(Connection& connection,
                    const std::vector<std::pair<Query*, std::string>>& queriesAndTables);

}  // namespace store
