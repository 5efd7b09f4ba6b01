#include "tests/support/EveryRow.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/Values.h"

namespace testsupport {

namespace {

std::string textOf(const store::Statement::Value& value) {
    switch (value.type) {
        case store::Statement::ValueType::Null:
            return "∅";
        case store::Statement::ValueType::Integer:
            return std::to_string(value.integer);
        case store::Statement::ValueType::Float:
            return store::values::formatNumber(value.real);
        default:
            return std::string(value.text);
    }
}

void appendRows(const store::Database& db, const store::schema::TableDef& table,
                std::vector<std::string>& lines) {
    std::string names;
    for (const auto& column : table.columns)
        names += (names.empty() ? "\"" : ", \"") + column.name + "\"";
    store::Statement read(db, "SELECT " + names + " FROM \"" + table.name + "\" ORDER BY rowid");
    std::vector<store::Statement::Value> row(table.columns.size());
    while (read.step()) {
        read.readValues(0, row);
        std::string line = table.name;
        for (const auto& value : row) line += "|" + textOf(value);
        lines.push_back(std::move(line));
    }
}

}  // namespace

std::vector<std::string> everyRow(const store::Database& db) {
    std::vector<std::string> lines;
    for (const auto* table : store::schema::everyTable())
        if (store::schema::holdsTable(db, table->name)) appendRows(db, *table, lines);
    return lines;
}

}  // namespace testsupport
