#include "store/WindowTables.h"

#include "store/ConnectionString.h"

namespace store {

namespace {

// The window tables that let go of the file for a restore; one thread uses them.
std::vector<WindowTables*>& releasedForRestore() {
    static std::vector<WindowTables*> list;
    return list;
}

}  // namespace

WindowTables::WindowTables(const std::vector<std::string>& tables, OnRestore onRestore)
    : connection_(initialConnectionString()), onRestore_(onRestore) {
    queries_.reserve(tables.size());
    for (const std::string& table : tables)
        queries_.push_back({std::make_unique<Query>(connection_), table});
    if (onRestore_ == OnRestore::Release) releasedForRestore().push_back(this);
}

WindowTables::~WindowTables() { std::erase(releasedForRestore(), this); }

void WindowTables::releaseAllForRestore() {
    for (WindowTables* tables : releasedForRestore()) tables->connection_.close();
}

std::vector<std::pair<Query*, std::string>> WindowTables::queriesAndTables() const {
    std::vector<std::pair<Query*, std::string>> list;
    for (const TableQuery& entry : queries_) list.emplace_back(entry.query.get(), entry.table);
    return list;
}

void WindowTables::prepare() {
    connection_.setLoginPrompt(false);
    connection_.open();
    for (TableQuery& entry : queries_) entry.query->select(entry.table);
}

void WindowTables::open() {
    prepare();
    for (TableQuery& entry : queries_) entry.query->open();
}

void WindowTables::reread() { reconnectAndRequery(connection_, queriesAndTables()); }

}  // namespace store
