#include "store/Connection.h"

#include <algorithm>

#include "store/ConnectionString.h"
#include "store/Query.h"

namespace store {

Connection::Connection() : connectionString_(initialConnectionString()) {}

Connection::Connection(std::string connectionString)
    : connectionString_(std::move(connectionString)) {}

Connection::~Connection() {
    close();
    // Queries outliving their connection must not call back into it.
    for (Query* query : queries_) query->connectionGone_ = true;
}

void Connection::setConnectionString(std::string text) { connectionString_ = std::move(text); }

void Connection::open() {
    if (db_) return;
    auto target = connectionTarget(connectionString_);
    db_ = std::make_unique<Database>(target.file, target.password);
}

void Connection::close() noexcept {
    // Copy: a query's close does not detach it, but stay safe against changes of the list.
    auto queries = queries_;
    for (Query* query : queries) query->close();
    db_.reset();
}

Database& Connection::database() {
    open();
    return *db_;
}

void Connection::attach(Query* query) { queries_.push_back(query); }

void Connection::detach(Query* query) noexcept {
    queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
}

void reconnectAndRequery(Connection& connection,
                         const std::vector<std::pair<Query*, std::string>>& queriesAndTables) {
    connection.close();
    for (const auto& entry : queriesAndTables) entry.first->close();
    connection.setConnectionString(buildConnectionStringForCurrentDirectory());
    connection.setLoginPrompt(false);
    for (const auto& [query, table] : queriesAndTables) {
        query->clearSql();
        query->setSql("select * from " + table);
    }
    for (const auto& entry : queriesAndTables) entry.first->open();
    connection.open();
}

void openOnCreation(Connection& connection,
                    const std::vector<std::pair<Query*, std::string>>& queriesAndTables) {
    connection.setLoginPrompt(false);
    connection.open();
    for (const auto& [query, table] : queriesAndTables) {
        query->setSql("select * from " + table);
        query->open();
    }
}

}  // namespace store
