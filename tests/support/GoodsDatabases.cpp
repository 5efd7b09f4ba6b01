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

}  // namespace testsupport
