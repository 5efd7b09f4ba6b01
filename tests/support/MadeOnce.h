#pragma once

#include <map>
#include <memory>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "tests/support/TestDatabase.h"

namespace testsupport {

// A database filled by fill(store::Database&) once per key for the whole process: benchmarks
// measure the same files again and again. Each place that calls it keeps its own files, since
// each fill is a type of its own. The current directory stays.
template <typename Key, typename Fill>
const TestDatabase& madeOnce(const Key& key, Fill fill) {
    static std::map<Key, std::unique_ptr<TestDatabase>> made;
    auto& slot = made[key];
    if (!slot) {
        slot = std::make_unique<TestDatabase>(TestDatabase::Content::Empty, false);
        store::Database db(slot->path(), store::kDatabasePassword);
        fill(db);
    }
    return *slot;
}

}  // namespace testsupport
