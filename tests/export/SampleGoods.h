#pragma once

#include <vector>

#include "tests/support/StoredRows.h"

namespace exporttest {

using testsupport::Row;

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
