#include "store/RowDeletion.h"

#include <exception>
#include <optional>

#include "store/Connection.h"
#include "store/Query.h"

namespace store {

void deleteRowsTogether(Query& query, const std::vector<int>& rows) {
    deleteRowsTogether(query, rows, {});
}

bool deleteRowsTogether(Query& query, const std::vector<int>& rows,
                        const std::function<bool()>& allowed) {
    std::optional<WriteTransaction> transaction;
    if (!query.connection().inTransaction()) transaction.emplace(query.connection());
    if (allowed && !allowed()) return false;
    std::exception_ptr refusal;
    try {
        query.removeRows(rows);
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

}  // namespace store
