#include "purchases/records/PurchaseRecords.h"

#include "store/Connection.h"
#include "store/Decimal.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/RowDeletion.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/Values.h"

namespace purchases {

namespace column = store::schema::column;

namespace {

// Runs fill on a row in edit or insert state and posts it; the row is given up when anything
// fails, so the result set never keeps a half-set row.
template <typename Fill>
void fillAndPost(store::Query& query, Fill&& fill) {
    try {
        fill();
        query.post();
    } catch (...) {
        query.cancel();
        throw;
    }
}

// Price × quantity; a product too large to store names the two fields the user typed.
std::string amountText(const std::array<std::string, kFieldCount>& texts) {
    return store::values::productText(texts[kPriceField], texts[kQuantityField],
                                      kFieldColumns[kPriceField], kFieldColumns[kQuantityField]);
}

}  // namespace

std::string refusalOf(const PurchaseFields& fields) {
    for (int field : {kPriceField, kQuantityField}) {
        const auto number = store::Decimal::parse(fields.texts[field]);
        if (number && number->isNegative())
            return std::string(kFieldColumns[field]) + "不能为负数，请重新输入！";
    }
    return {};
}

std::optional<int> searchCase(const SearchTexts& texts) {
    std::optional<int> found;
    for (int i = 0; i < kSearchFieldCount; ++i) {
        if (texts[i].empty()) continue;
        if (found) return std::nullopt;
        found = i;
    }
    return found;
}

void PurchaseRecords::refresh() {
    store::reconnectAndRequery(connection_, {{&query_, store::schema::kGoods}});
}

AddOutcome PurchaseRecords::add(const PurchaseFields& fields) {
    return store::retryOnConflict(connection_, [&] { return addOnce(fields); });
}

AddOutcome PurchaseRecords::addOnce(const PurchaseFields& fields) {
    refresh();
    if (fields.allEmpty()) return AddOutcome::Empty;
    if (!refusalOf(fields).empty()) return AddOutcome::Refused;

    const auto& t = fields.texts;
    query_.append();
    fillAndPost(query_, [&] {
        for (int i = 0; i <= kQuantityField; ++i) query_.setFieldText(kFieldColumns[i], t[i]);
        query_.setFieldText(column::kPurchaseAmount, amountText(t));
        for (int i = kQuantityField + 1; i < kFieldCount; ++i)
            query_.setFieldText(kFieldColumns[i], t[i]);
        for (const char* name :
             {column::kSalePrice, column::kSaleQuantity, column::kSaleAmount, column::kSaleProfit})
            query_.setFieldText(name, "0");
        query_.setFieldText(column::kStockQuantity, t[kQuantityField]);
        query_.setFieldText(column::kStockAmount, amountText(t));
    });
    return AddOutcome::Added;
}

std::optional<std::int64_t> PurchaseRecords::load(const FieldSetter& setField) {
    if (query_.isEmpty()) return std::nullopt;

    const std::int64_t rowId = query_.rowIdAt(query_.currentIndex());
    for (int i = 0; i < kFieldCount; ++i) {
        std::string text = query_.fieldText(kFieldColumns[i]);
        setField(i, text);
        if (i == kPriceField || i == kQuantityField) setField(i, store::values::roundTo2Text(text));
    }
    return rowId;
}

WriteBackOutcome PurchaseRecords::writeBack(std::int64_t rowId, const PurchaseFields& fields) {
    return store::retryOnConflict(connection_, [&] { return writeBackOnce(rowId, fields); });
}

WriteBackOutcome PurchaseRecords::writeBackOnce(std::int64_t rowId, const PurchaseFields& fields) {
    if (query_.isEmpty()) return WriteBackOutcome::NoCurrentRow;
    if (!refusalOf(fields).empty()) return WriteBackOutcome::Refused;
    // The file decides whether the row is still there: a search may only hide it from the list.
    store::Query stored(connection_);
    stored.select(store::schema::kGoods, "ID = ?", {std::to_string(rowId)});
    stored.open();
    if (stored.isEmpty()) return WriteBackOutcome::RowGone;

    const int index = indexOfRow(rowId);
    try {
        if (index < 0) {
            writeInto(stored, fields);
            return WriteBackOutcome::Written;
        }
        stored.close();
        query_.moveTo(index);
        writeInto(query_, fields);
    } catch (const store::RowNotFound&) {
        return WriteBackOutcome::RowGone;  // another copy of the program deleted it just now
    }
    return WriteBackOutcome::Written;
}

void PurchaseRecords::writeInto(store::Query& query, const PurchaseFields& fields) {
    const auto& t = fields.texts;
    query.edit();
    fillAndPost(query, [&] {
        for (int i = 0; i <= kQuantityField; ++i)
            if (fields.changed[i]) query.setFieldText(kFieldColumns[i], t[i]);
        query.setFieldText(column::kPurchaseAmount, amountText(t));
        for (int i = kQuantityField + 1; i < kFieldCount; ++i)
            if (fields.changed[i]) query.setFieldText(kFieldColumns[i], t[i]);
    });
}

bool PurchaseRecords::search(const SearchTexts& texts) {
    // A list closed by a failed search counts as a list without rows, like an empty one.
    if (!query_.isOpen() || query_.isEmpty()) return false;
    const std::optional<int> field = searchCase(texts);
    if (!field) return false;
    store::runSearch(query_, store::schema::kGoods, std::string(kSearchColumns[*field]),
                     texts[*field]);
    return true;
}

void PurchaseRecords::deleteRows(const std::vector<int>& rows) {
    store::deleteRowsTogether(query_, rows);
}

int PurchaseRecords::indexOfRow(std::int64_t rowId) const noexcept {
    for (int i = 0; i < query_.recordCount(); ++i)
        if (query_.rowIdAt(i) == rowId) return i;
    return -1;
}

}  // namespace purchases
