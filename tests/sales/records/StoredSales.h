#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/StoredRows.h"

namespace detailtest {

using testsupport::Row;

inline std::vector<Row> storedRows(const char* table) { return testsupport::storedRows(table); }

inline std::vector<Row> storedSales() { return storedRows(store::schema::kSales); }

inline void addRows(const char* table, const std::vector<Row>& rows) {
    testsupport::appendRows(table, rows);
}

inline void addSales(const std::vector<Row>& rows) { addRows(store::schema::kSales, rows); }

// A sale with the usual columns filled: code, name, price, quantity, amount, customer, remark.
inline Row sale(const std::string& code, const std::string& price, const std::string& quantity,
                const std::string& amount, const std::string& customer = "张三",
                const std::string& remark = "") {
    return {{"销售日期", "2024-05-01 10:00:00"},
            {"商品编码", code},
            {"商品名称", "商品" + code},
            {"单位", "个"},
            {"销售单价", price},
            {"销售数量", quantity},
            {"销售金额", amount},
            {"客户姓名", customer},
            {"联系电话", "13800000000"},
            {"备注", remark}};
}

}  // namespace detailtest
