#include "tests/support/EveryRow.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/Values.h"
#include "tools/DemoData.h"

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

void addUnusualRows(store::Database& db) {
    db.exec(R"(DELETE FROM "表1" WHERE "ID" = 3;
        INSERT INTO "退货" ("退货日期", "销售ID", "商品ID", "商品编码", "退货数量", "退款金额")
            VALUES ('2024-05-06 10:00:00', 2, 1, 'WJ001', 1.5, NULL);
        INSERT INTO "销售货源" ("销售ID", "商品ID") VALUES (2, 1);
        INSERT INTO "表4" ("商品编码", "商品名称", "进货单价") VALUES ('x''?"y', '', 0.1);
        INSERT INTO "库存预警" ("商品编码", "库存数量", "最低库存") VALUES ('Z9', -2.675, 3);
        INSERT INTO "库存预警" ("商品编码", "库存数量", "最低库存") VALUES ('A1', 1e-5, 1e15);)");
    tools::appendGeneratedGoods(db, 120);
}

}  // namespace testsupport
