#include "tests/support/GoodsDatabases.h"

#include <map>
#include <memory>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "tools/DemoData.h"

namespace testsupport {

const TestDatabase& goodsDatabase(int rows) {
    static std::map<int, std::unique_ptr<TestDatabase>> made;
    auto& slot = made[rows];
    if (!slot) {
        slot = std::make_unique<TestDatabase>(TestDatabase::Content::Empty, false);
        store::Database db(slot->path(), store::kDatabasePassword);
        tools::appendGeneratedGoods(db, rows);
    }
    return *slot;
}

const TestDatabase& shopDatabase(int goods, int sales) {
    static std::map<std::pair<int, int>, std::unique_ptr<TestDatabase>> made;
    auto& slot = made[{goods, sales}];
    if (!slot) {
        slot = std::make_unique<TestDatabase>(TestDatabase::Content::Empty, false);
        store::Database db(slot->path(), store::kDatabasePassword);
        tools::appendGeneratedGoods(db, goods);
        tools::appendGeneratedSales(db, sales);
    }
    return *slot;
}

}  // namespace testsupport
