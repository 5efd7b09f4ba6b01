#include "export/StagingCopy.h"

#include <vector>

#include "export/CellLimits.h"
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

std::vector<StagedRows::Column> copiedColumns(const store::Query& list,
                                              const std::string& stagingTable) {
    std::vector<StagedRows::Column> columns;
    for (const auto& column : store::schema::table(stagingTable).columns) {
        if (column.type == store::FieldType::Counter) continue;
        const int from = list.fieldIndex(column.name);
        if (from < 0) throw store::StoreError("Field '" + column.name + "' not found");
        columns.push_back({column.name, column.type, column.size, from});
    }
    return columns;
}

// Keeps the deleted staging rows from being overwritten in the file: they are copies of goods
// rows that 表1 still holds, so wiping them protects nothing and costs a write of every page.
// A server manages its own pages.
class FastDelete {
  public:
    explicit FastDelete(store::Database& db) : db_(db) {
        if (db_.isServer()) return;
        store::Statement current(db_, "PRAGMA secure_delete");
        if (current.step()) previous_ = current.int64Value(0);
        db_.exec("PRAGMA secure_delete = 0");
    }
    ~FastDelete() {
        if (db_.isServer()) return;
        const std::string restore = "PRAGMA secure_delete = " + std::to_string(previous_);
        db_.tryExec(restore.c_str());
    }
    FastDelete(const FastDelete&) = delete;
    FastDelete& operator=(const FastDelete&) = delete;

  private:
    store::Database& db_;
    std::int64_t previous_ = 1;
};

// Binds a value as a row written through the staging query would store it.
void bindAsText(store::Statement& insert, int parameter, const StagedRows::Column& field,
                std::string_view text) {
    if (field.type == store::FieldType::Double) {
        if (text.empty()) return insert.bindNull(parameter);
        // An infinite value of 表1 is copied as what it is; the workbook leaves it out.
        const auto number = workbook::storedNumber(text);
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
    insert.bindText(parameter, text);
}

std::string insertSql(const std::string& table, const std::vector<StagedRows::Column>& columns) {
    std::string names, marks;
    for (const auto& column : columns) {
        names += (names.empty() ? "" : ", ") + quoted(column.name);
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + quoted(table) + " (" + names + ") VALUES (" + marks + ")";
}

}  // namespace

void refreshForExport(store::Connection& connection, store::Query& list, store::Query& staging,
                      const std::string& stagingTable, store::Query* sales) {
    std::vector<std::pair<store::Query*, std::string>> queries{{&list, store::schema::kGoods}};
    if (sales != nullptr) queries.emplace_back(sales, store::schema::kSales);
    store::reconnectAndRequery(connection, queries);
    staging.select(stagingTable);
}

std::string_view StagedRows::columnName(int column) const {
    return columns_[static_cast<std::size_t>(column)].name;
}

workbook::Cell StagedRows::cell(int row, int column) const {
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const std::string_view text = list_.fieldTextAt(row, c.from);
    if (text.empty()) return workbook::Cell::empty();
    if (c.type == store::FieldType::Double) {
        // The copy refused anything else, and stored the number that this text reads as.
        if (const auto number = workbook::storedNumber(text))
            return workbook::Cell::ofNumber(*number);
    }
    return workbook::Cell::ofText(text);
}

StagedRows fillStaging(store::Connection& connection, store::Query& list,
                       const store::Query& staging) {
    const std::string& table = staging.tableName();
    if (!list.isOpen() || table.empty()) throw store::StoreError("导出数据失败：导出表没有打开");
    std::vector<StagedRows::Column> columns = copiedColumns(list, table);
    {
        store::WriteTransaction transaction(connection);
        store::Database& db = connection.database();
        {
            FastDelete fastDelete(db);
            db.exec("DELETE FROM " + quoted(table));
        }
        store::Statement insert(db, insertSql(table, columns));
        for (int row = 0; row < list.recordCount(); ++row) {
            insert.reset();
            int parameter = 1;
            for (const auto& column : columns)
                bindAsText(insert, parameter++, column, list.fieldTextAt(row, column.from));
            insert.step();
        }
        transaction.commit();
    }
    if (!list.isEmpty()) list.last();
    return StagedRows(list, std::move(columns));
}

std::string workbookFileName(const std::string& chosenName) { return chosenName + ".xls"; }

}  // namespace exporting
