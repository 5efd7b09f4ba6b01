#include "export/StagingCopy.h"

#include <vector>

#include "store/Connection.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Values.h"

namespace exporting {

namespace {

std::string quoted(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

struct CopiedColumn {
    int from;  // column of the list
    const store::FieldDef* to;
};

std::vector<CopiedColumn> copiedColumns(const store::Query& list, const store::Query& staging) {
    std::vector<CopiedColumn> columns;
    for (const auto& column : store::schema::table(staging.tableName()).columns) {
        if (column.type == store::FieldType::Counter) continue;
        const int from = list.fieldIndex(column.name);
        const int to = staging.fieldIndex(column.name);
        if (from < 0 || to < 0) throw store::StoreError("Field '" + column.name + "' not found");
        columns.push_back({from, &staging.fields()[static_cast<std::size_t>(to)]});
    }
    return columns;
}

// Binds a value as a row written through the staging query would store it.
void bindAsText(store::Statement& insert, int parameter, const store::FieldDef& field,
                std::string_view text) {
    if (field.type == store::FieldType::Double) {
        if (text.empty()) return insert.bindNull(parameter);
        const auto number = store::values::parseNumber(text);
        if (!number)
            throw store::StoreError("'" + std::string(text) +
                                    "' is not a valid floating point value for field '" +
                                    field.name + "'");
        return insert.bindDouble(parameter, *number);
    }
    if (field.size > 0) {
        const auto count = store::values::characterCount(text);
        if (count > static_cast<std::size_t>(field.size))
            throw store::StoreError("字段“" + field.name + "”最多 " + std::to_string(field.size) +
                                    " 个字符，复制的文本有 " + std::to_string(count) + " 个字符");
    }
    // An empty view may carry no pointer, which SQLite would store as NULL; a text column gets
    // the empty text, as a row written through a query does.
    insert.bindText(parameter, text.empty() ? std::string_view("") : text);
}

std::string insertSql(const std::string& table, const std::vector<CopiedColumn>& columns) {
    std::string names, marks;
    for (const auto& column : columns) {
        names += (names.empty() ? "" : ", ") + quoted(column.to->name);
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + quoted(table) + " (" + names + ") VALUES (" + marks + ")";
}

}  // namespace

void refreshForExport(store::Connection& connection, store::Query& list, store::Query& staging,
                      const std::string& stagingTable, store::Query* sales) {
    std::vector<std::pair<store::Query*, std::string>> queries{{&list, store::schema::kGoods},
                                                               {&staging, stagingTable}};
    if (sales != nullptr) queries.emplace_back(sales, store::schema::kSales);
    store::reconnectAndRequery(connection, queries);
}

void fillStaging(store::Connection& connection, store::Query& list, store::Query& staging) {
    if (!staging.canModify() || !list.isOpen())
        throw store::StoreError("导出数据失败：导出表没有打开");
    const std::vector<CopiedColumn> columns = copiedColumns(list, staging);
    {
        store::WriteTransaction transaction(connection);
        store::Database& db = connection.database();
        db.exec("DELETE FROM " + quoted(staging.tableName()));
        store::Statement insert(db, insertSql(staging.tableName(), columns));
        for (int row = 0; row < list.recordCount(); ++row) {
            insert.reset();
            int parameter = 1;
            for (const auto& column : columns)
                bindAsText(insert, parameter++, *column.to, list.fieldTextAt(row, column.from));
            insert.step();
        }
        transaction.commit();
    }
    // The staging list reads the table it has just filled, standing on its first row.
    staging.close();
    staging.open();
    if (!list.isEmpty()) list.last();
}

std::string workbookFileName(const std::string& chosenName) { return chosenName + ".xls"; }

}  // namespace exporting
