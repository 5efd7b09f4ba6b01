#include "store/RowDeletion.h"

#include <exception>
#include <optional>
#include <unordered_set>

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Retry.h"

namespace store {

namespace {

using Allowed = std::function<bool(const std::vector<int>& rows)>;

bool deleteOnce(Query& query, const std::vector<int>& rows, const Allowed& allowed) {
    std::optional<WriteTransaction> transaction;
    if (!query.connection().inTransaction()) transaction.emplace(query.connection());
    if (allowed && !allowed(rows)) return false;
    std::exception_ptr refusal;
    try {
        query.removeRows(rows);
    } catch (const StoreError& error) {
        // A server gives up the whole transaction: nothing of it can be stored.
        if (error.code() == StoreError::kServerConflict) throw;
        refusal = std::current_exception();
    } catch (...) {
        refusal = std::current_exception();
    }
    try {
        if (transaction) transaction->commit();
    } catch (...) {
        // The rollback re-reads the list; the refusal, where there was one, says why.
        if (!refusal) throw;
    }
    if (refusal) std::rethrow_exception(refusal);
    return true;
}

}  // namespace

std::vector<std::int64_t> idsOfRows(const Query& query, const std::vector<int>& rows) {
    std::vector<std::int64_t> ids;
    for (const int row : rows)
        if (query.isOpen() && row >= 0 && row < query.recordCount())
            ids.push_back(query.rowIdAt(row));
    return ids;
}

std::vector<int> rowsWithIds(const Query& query, const std::vector<std::int64_t>& ids) {
    const std::unordered_set<std::int64_t> wanted(ids.begin(), ids.end());
    std::vector<int> rows;
    for (int i = 0; query.isOpen() && i < query.recordCount(); ++i)
        if (wanted.count(query.rowIdAt(i)) != 0) rows.push_back(i);
    return rows;
}

void deleteRowsTogether(Query& query, const std::vector<int>& rows) {
    deleteRowsTogether(query, rows, {});
}

bool deleteRowsTogether(Query& query, const std::vector<int>& rows, const Allowed& allowed) {
    if (query.connection().inTransaction()) return deleteOnce(query, rows, allowed);
    const std::vector<std::int64_t> ids = idsOfRows(query, rows);
    bool retry = false;
    return retryOnConflict(query.connection(), [&] {
        const std::vector<int> now = retry ? rowsWithIds(query, ids) : rows;
        retry = true;
        return deleteOnce(query, now, allowed);
    });
}

}  // namespace store
