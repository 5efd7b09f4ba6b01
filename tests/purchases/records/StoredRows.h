#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/StoredRows.h"

namespace purchasetest {

using testsupport::Row;

// The rows of 表1 as the database file holds them, read through a connection of its own.
inline std::vector<Row> storedGoods() { return testsupport::storedRows(store::schema::kGoods); }

// Sets columns of the stored row with the given ID, through a connection of its own.
inline void changeStoredGoods(const std::string& id, const Row& values) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.select(store::schema::kGoods);
    query.open();
    for (int i = 0; i < query.recordCount(); ++i) {
        query.moveTo(i);
        if (query.fieldText("ID") != id) continue;
        query.edit();
        for (const auto& [column, text] : values) query.setFieldText(column, text);
        query.post();
        return;
    }
}

// Deletes the stored row with the given ID, through a connection of its own.
inline void deleteStoredGoods(const std::string& id) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.select(store::schema::kGoods, "ID = ?", {id});
    query.open();
    if (!query.isEmpty()) query.remove();
}

}  // namespace purchasetest
