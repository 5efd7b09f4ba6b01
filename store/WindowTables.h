#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/Query.h"

namespace store {

// A window's connection and its queries, one per table, each reading every row of its table. The
// connection starts on the stored initial connection string; the queries are made ready on the
// window's creation and read again together.
//
// A restore replaces data.mdb while the program runs: every window's connection lets go of the
// file first (releaseAllForRestore) and opens again by itself when next used. A window whose
// query must stay readable meanwhile (the company row the report headings read) keeps it open.
class WindowTables {
  public:
    enum class OnRestore { Release, KeepOpen };

    explicit WindowTables(const std::vector<std::string>& tables,
                          OnRestore onRestore = OnRestore::Release);
    ~WindowTables();
    WindowTables(const WindowTables&) = delete;
    WindowTables& operator=(const WindowTables&) = delete;

    Connection& connection() noexcept { return connection_; }
    Query& query(std::size_t index) { return *queries_.at(index).query; }

    // On creation: the connection opens with the login prompt off, so that a missing or wrong
    // file shows at once, and every query gets its table; no rows are read.
    void prepare();
    // prepare(), then every query reads its rows.
    void open();
    // Closes the connection and the queries, rebuilds the connection string from the current
    // directory, reads every query's table again and opens the connection.
    void reread();

    // Closes the connections of every WindowTables made with OnRestore::Release.
    static void releaseAllForRestore();

  private:
    struct TableQuery {
        std::unique_ptr<Query> query;
        std::string table;
    };
    std::vector<std::pair<Query*, std::string>> queriesAndTables() const;

    Connection connection_;
    std::vector<TableQuery> queries_;  // made after the connection, gone before it
    OnRestore onRestore_;
};

}  // namespace store
