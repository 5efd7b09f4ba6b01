#include "tests/support/GoodsDatabases.h"

#include <utility>

#include "tests/support/MadeOnce.h"
#include "tools/DemoData.h"

namespace testsupport {

const TestDatabase& goodsDatabase(int rows) {
    return madeOnce(rows, [rows](store::Database& db) { tools::appendGeneratedGoods(db, rows); });
}

const TestDatabase& shopDatabase(int goods, int sales) {
    return madeOnce(std::pair(goods, sales), [goods, sales](store::Database& db) {
        tools::appendGeneratedGoods(db, goods);
        tools::appendGeneratedSales(db, sales);
    });
}

}  // namespace testsupport
