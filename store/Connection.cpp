#include "store/Connection.h"

#include <algorithm>

#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/ServerSettings.h"

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
    if (const ServerSettings* server = currentServer()) {
        db_ = std::make_unique<Database>(Database::onServer(*server));
        return;
    }
    auto target = connectionTarget(connectionString_);
    db_ = std::make_unique<Database>(target.file, target.password);
}

void Connection::close() noexcept {
    // Copy: a query's close does not detach it, but stay safe against changes of the list.
    auto queries = queries_;
    for (Query* query : queries) query->close();
    // Closing the handle rolls back a transaction in progress; its queries are closed already.
    if (transaction_ != nullptr) transaction_->database_ = nullptr;
    transaction_ = nullptr;
    written_.clear();
    db_.reset();
}

Database& Connection::database() {
    open();
    return *db_;
}

void Connection::attach(Query* query) { queries_.push_back(query); }

void Connection::detach(Query* query) noexcept {
    queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
    written_.erase(std::remove(written_.begin(), written_.end(), query), written_.end());
}

void Connection::noteWrite(Query* query) {
    if (transaction_ == nullptr) return;
    if (std::find(written_.begin(), written_.end(), query) == written_.end())
        written_.push_back(query);
}

// --- WriteTransaction

WriteTransaction::WriteTransaction(Connection& connection)
    : connection_(connection), database_(&connection.database()) {
    if (connection_.transaction_ != nullptr) throw StoreError("此连接上已有一个未完成的事务");
    // IMMEDIATE takes the write lock now, so another connection cannot slip in between the
    // writes, and a locked file is reported before anything is written.
    database_->exec("BEGIN IMMEDIATE");
    connection_.transaction_ = this;
    connection_.written_.clear();
}

WriteTransaction::~WriteTransaction() {
    if (!done_) rollback();
}

void WriteTransaction::commit() {
    if (done_) return;
    if (database_ == nullptr) {
        rollback();
        throw StoreError("数据库连接已关闭，未能保存本次修改");
    }
    database_->exec("COMMIT");
    done_ = true;
    connection_.transaction_ = nullptr;
    connection_.written_.clear();
}

void WriteTransaction::rollback() noexcept {
    done_ = true;
    // A connection closed meanwhile has rolled back with its handle, and its queries are closed.
    if (database_ == nullptr) return;
    connection_.transaction_ = nullptr;
    auto written = std::move(connection_.written_);
    connection_.written_.clear();
    database_->tryExec("ROLLBACK");
    for (Query* query : written) query->reread();
}

void reconnectAndRequery(Connection& connection,
                         const std::vector<std::pair<Query*, std::string>>& queriesAndTables) {
    connection.close();
    for (const auto& entry : queriesAndTables) entry.first->close();
    connection.setConnectionString(buildConnectionStringForCurrentDirectory());
    connection.setLoginPrompt(false);
    for (const auto& [query, table] : queriesAndTables) query->select(table);
    for (const auto& entry : queriesAndTables) entry.first->open();
    connection.open();
}

}  // namespace store
