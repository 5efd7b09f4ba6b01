#include "tests/support/StoredRows.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"

namespace testsupport {

std::vector<Row> storedRows(const std::string& table, std::string_view nullText) {
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
                query.fieldIsNull(field.name) ? std::string(nullText) : query.fieldText(field.name);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> appendRows(const std::string& table, const std::vector<Row>& rows) {
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    query.select(table);
    query.open();
    store::WriteTransaction transaction(connection);
    std::vector<std::string> ids;
    for (const Row& row : rows) {
        query.append();
        for (const auto& [column, text] : row) query.setFieldText(column, text);
        query.post();
        ids.push_back(query.hasField("ID") ? query.fieldText("ID") : std::string());
    }
    transaction.commit();
    return ids;
}

}  // namespace testsupport
