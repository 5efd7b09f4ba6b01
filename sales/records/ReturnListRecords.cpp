#include "sales/records/ReturnListRecords.h"

#include "sales/records/ReturnRecords.h"

#include "store/Connection.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/RowDeletion.h"
#include "store/Search.h"

namespace returnlist {

namespace schema = store::schema;
using salereturn::DeleteOutcome;

void ReturnListRecords::refresh() {
    salereturn::requireReturnTables(connection_);
    store::reconnectAndRequery(connection_, {{&query_, schema::kReturns}});
}

bool ReturnListRecords::search(const SearchTexts& texts) {
    if (store::filledSearchField(texts) != kSaleDateField)
        return store::searchByFilledField(query_, schema::kReturns, kSearchColumns, texts);
    if (!query_.isOpen() || query_.isEmpty()) return false;
    const std::string saleDate = std::string(column::kSaleId) + " in (select " + column::kId +
                                 " from " + schema::kSales + " where " + column::kSaleDate +
                                 " like ?)";
    store::runSearchWhere(query_, schema::kReturns, saleDate, texts[kSaleDateField]);
    return true;
}

DeleteOutcome ReturnListRecords::deleteRows(const std::vector<int>& rows) {
    // A try run again after a rollback, which read the list afresh, finds the returns by their IDs.
    const std::vector<std::int64_t> ids = store::idsOfRows(query_, rows);
    const DeleteOutcome outcome = store::retryOnConflict(
        connection_, [&] { return deleteTogether(store::rowsWithIds(query_, ids)); });
    if (outcome == DeleteOutcome::ReturnGone) {
        query_.close();
        query_.open();
    }
    return outcome;
}

DeleteOutcome ReturnListRecords::deleteTogether(const std::vector<int>& rows) {
    store::WriteTransaction transaction(connection_);
    salereturn::ReturnRecords returns(connection_);
    for (const int row : rows)
        if (const DeleteOutcome undone = returns.undoReturn(query_.rowIdAt(row));
            undone != DeleteOutcome::Deleted)
            return undone;
    store::deleteRowsTogether(query_, rows);
    transaction.commit();
    return DeleteOutcome::Deleted;
}

}  // namespace returnlist
