#include "store/RowLock.h"

#include "store/Connection.h"
#include "store/Database.h"

namespace store {

std::string rowLockClause(Connection& connection) {
    return connection.database().engine().rowLockClause();
}

void lockRows(Connection& connection, const std::string& table,
              const std::vector<std::int64_t>& rowIds) {
    const std::string clause = rowLockClause(connection);
    if (clause.empty() || rowIds.empty()) return;
    Statement lock(connection.database(),
                   "SELECT rowid FROM \"" + table + "\" WHERE rowid = ?" + clause);
    for (const std::int64_t id : rowIds) {
        lock.bindInt64(1, id);
        while (lock.step()) {
        }
        lock.reset();
    }
}

}  // namespace store
