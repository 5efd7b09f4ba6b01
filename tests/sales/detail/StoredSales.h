#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"

namespace detailtest {

using Row = std::map<std::string, std::string>;

// The rows of a table as the database file holds them, read through a connection of its own.
inline std::vector<Row> storedRows(const char* table) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.setSql(std::string("select * from ") + table);
    query.open();
    std::vector<Row> rows;
    for (int i = 0; i < query.recordCount(); ++i) {
        query.moveTo(i);
        Row row;
        for (const store::FieldDef& field : query.fields())
            row[field.name] = query.fieldText(field.name);
        rows.push_back(std::move(row));
    }
    return rows;
}

inline std::vector<Row> storedSales() { return storedRows("表3"); }

// Appends rows to a table through a connection of its own; columns not given stay empty.
inline void addRows(const char* table, const std::vector<Row>& rows) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.setSql(std::string("select * from ") + table);
    query.open();
    store::WriteTransaction transaction(connection);
    for (const Row& row : rows) {
        query.append();
        for (const auto& [column, text] : row) query.setFieldText(column, text);
        query.post();
    }
    transaction.commit();
}

inline void addSales(const std::vector<Row>& rows) { addRows("表3", rows); }

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
