#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"

namespace exporttest {

using Row = std::map<std::string, std::string>;  // column -> text; absent columns stay empty

// Rows of a table of data.mdb in the current directory, written and read through a connection
// of their own, as another window would.
inline void appendRows(const std::string& table, const std::vector<Row>& rows) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.select(table);
    query.open();
    for (const Row& row : rows) {
        query.append();
        for (const auto& [column, text] : row) query.setFieldText(column, text);
        query.post();
    }
}

// Every row with every column; NULL reads as "<null>" so that it differs from empty text.
inline std::vector<Row> storedRows(const std::string& table) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.select(table);
    query.open();
    std::vector<Row> rows;
    for (int i = 0; i < query.recordCount(); ++i) {
        query.moveTo(i);
        Row row;
        for (const store::FieldDef& field : query.fields())
            row[field.name] =
                query.fieldIsNull(field.name) ? "<null>" : query.fieldText(field.name);
        rows.push_back(std::move(row));
    }
    return rows;
}

// Two goods rows: one with every column, one with empty numbers and texts.
inline std::vector<Row> twoGoods() {
    return {{{"商品编码", "001"},
             {"商品名称", "中性笔"},
             {"商品型号", "M-1"},
             {"商品规格", "0.5mm"},
             {"单位", "支"},
             {"进货单价", "12.5"},
             {"进货数量", "3"},
             {"进货金额", "37.5"},
             {"销售单价", "15"},
             {"销售数量", "1"},
             {"销售金额", "15"},
             {"销售利润", "2.5"},
             {"库存数量", "2"},
             {"库存金额", "25"},
             {"供货单位", "惠民批发"},
             {"联系人", "王经理"},
             {"联系电话", "0571"},
             {"详细地址", "杭州"},
             {"备注", "=1+1"}},
            {{"商品编码", "002"}, {"进货单价", "0.1"}}};
}

}  // namespace exporttest
