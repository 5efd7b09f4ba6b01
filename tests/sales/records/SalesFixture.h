#pragma once

#include <map>
#include <string>
#include <vector>

#include "sales/records/SaleEntry.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "tests/support/StoredRows.h"

namespace salestest {

using testsupport::Row;

// The rows of a table as the file holds them, read through a connection of its own.
inline std::vector<Row> stored(const char* table) { return testsupport::storedRows(table); }

// Appends rows to a table through a connection of its own; returns their IDs.
inline std::vector<std::string> insert(const char* table, const std::vector<Row>& rows) {
    return testsupport::appendRows(table, rows);
}

// A goods row as a purchase entry leaves it: no sales, the whole quantity in stock.
inline Row purchase(const std::string& code, const std::string& price, const std::string& quantity,
                    const std::string& stockAmount) {
    return {{"商品编码", code},     {"商品名称", "名称" + code},
            {"商品型号", "M1"},     {"商品规格", "S1"},
            {"单位", "个"},         {"进货单价", price},
            {"进货数量", quantity}, {"进货金额", stockAmount},
            {"销售单价", "0"},      {"销售数量", "0"},
            {"销售金额", "0"},      {"销售利润", "0"},
            {"库存数量", quantity}, {"库存金额", stockAmount}};
}

// The entry the sale panel makes for the goods row it opened for, with the typed texts.
inline sales::SaleEntry saleOf(const sales::GoodsForSale& goods, const std::string& date,
                               const std::string& price, const std::string& quantity,
                               const std::string& customer) {
    sales::SaleEntry entry;
    entry.goodsId = goods.goodsId;
    entry.date = date;
    entry.goods = goods.goods;
    entry.purchasePrice = goods.purchasePrice;
    entry.stock = goods.stock;
    entry.price = price;
    entry.quantity = quantity;
    entry.customer = customer;
    return entry;
}

}  // namespace salestest
