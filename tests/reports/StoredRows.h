#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"

using StoredRow = std::map<std::string, std::string>;

// Appends rows to a table of the current directory's data.mdb through a connection of its own.
inline void storeRows(const char* table, const std::vector<StoredRow>& rows) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.select(table);
    query.open();
    store::WriteTransaction transaction(connection);
    for (const StoredRow& row : rows) {
        query.append();
        for (const auto& [field, text] : row) query.setFieldText(field, text);
        query.post();
    }
    transaction.commit();
}
