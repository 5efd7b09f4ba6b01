#include "sales/records/SaleDetailRecords.h"

#include "sales/records/ReturnRecords.h"
#include "store/Connection.h"
#include "store/Decimal.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/RowDeletion.h"
#include "store/RowLock.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/Values.h"

namespace saledetail {

namespace column = store::schema::column;

std::optional<int> searchField(const SearchTexts& texts) {
    const int field = store::filledSearchField(texts);
    return field < 0 ? std::nullopt : std::optional<int>(field);
}

void SaleDetailRecords::refresh() {
    store::reconnectAndRequery(connection_, {{&query_, store::schema::kSales}});
}

std::optional<std::int64_t> SaleDetailRecords::load(const FieldSetter& setField) {
    if (query_.isEmpty()) return std::nullopt;

    const std::int64_t rowId = query_.rowIdAt(query_.currentIndex());
    for (int i = 0; i < kFieldCount; ++i) {
        const std::string text = query_.fieldText(kFieldColumns[static_cast<std::size_t>(i)]);
        setField(i, text);
        if (i == kPriceField || i == kQuantityField) setField(i, store::values::roundTo2Text(text));
    }
    return rowId;
}

WriteBackOutcome SaleDetailRecords::writeBack(std::int64_t rowId, const SaleFields& fields) {
    return store::retryOnConflict(connection_, [&] { return writeBackOnce(rowId, fields); });
}

WriteBackOutcome SaleDetailRecords::writeBackOnce(std::int64_t rowId, const SaleFields& fields) {
    if (query_.isEmpty()) return WriteBackOutcome::NoCurrentRow;
    const int index = indexOfRow(rowId);
    if (index < 0) return WriteBackOutcome::RowGone;

    const auto& t = fields.texts;
    // The returns are counted under the write lock the correction is stored in: a return stored
    // by another connection cannot come in between.
    store::WriteTransaction transaction(connection_);
    // On a server a return of the sale waits until the correction is stored, and the other way
    // round.
    store::lockRows(connection_, store::schema::kSales, {rowId});
    if (fields.changed[kQuantityField]) {
        const auto quantity = store::Decimal::parse(t[kQuantityField]);
        if (quantity && *quantity < salereturn::returnedQuantity(connection_, rowId))
            return WriteBackOutcome::BelowReturned;
    }
    const auto writeChanged = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            const auto f = static_cast<std::size_t>(i);
            if (fields.changed[f]) query_.setFieldText(kFieldColumns[f], t[f]);
        }
    };
    query_.moveTo(index);
    query_.edit();
    try {
        writeChanged(0, kFirstCustomerField);
        query_.setFieldText(column::kSaleAmount,
                            store::values::productText(t[kPriceField], t[kQuantityField]));
        writeChanged(kFirstCustomerField, kFieldCount);
        query_.post();
        transaction.commit();
    } catch (const store::RowNotFound&) {
        // Another copy of the program deleted the sale since the list was read: the list is read
        // again, with the search in force, so that it no longer offers the sale.
        query_.close();
        query_.open();
        return WriteBackOutcome::RowGone;
    } catch (...) {
        query_.cancel();
        throw;
    }
    return WriteBackOutcome::Written;
}

bool SaleDetailRecords::search(const SearchTexts& texts) {
    return store::searchByFilledField(query_, store::schema::kSales, kSearchColumns, texts);
}

DeleteOutcome SaleDetailRecords::deleteRows(const std::vector<int>& rows) {
    // Looked at in the deletion's own transaction: a return stored meanwhile by another
    // connection is seen.
    const auto noneReturned = [&](const std::vector<int>& deleted) {
        store::lockRows(connection_, store::schema::kSales, store::idsOfRows(query_, deleted));
        for (const int row : deleted)
            if (!salereturn::returnedQuantity(connection_, query_.rowIdAt(row)).isZero())
                return false;
        return true;
    };
    return store::deleteRowsTogether(query_, rows, noneReturned) ? DeleteOutcome::Deleted
                                                                 : DeleteOutcome::HasReturns;
}

int SaleDetailRecords::indexOfRow(std::int64_t rowId) const noexcept {
    if (rowId <= 0) return -1;
    for (int i = 0; i < query_.recordCount(); ++i)
        if (query_.rowIdAt(i) == rowId) return i;
    return -1;
}

}  // namespace saledetail
