#include "store/DataCopy.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/FilePermissions.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/ScratchFiles.h"
#include "store/SqlText.h"
#include "store/Values.h"
#include "store/engine/Engine.h"

namespace store {

namespace {

using schema::TableDef;

std::string columnList(const std::vector<const schema::ColumnDef*>& columns) {
    std::string list;
    for (const schema::ColumnDef* column : columns)
        list += (list.empty() ? "" : ", ") + sql::quotedName(column->name);
    return list;
}

// One read of the source from a consistent state; ended (nothing was written) when it goes.
class ReadSnapshot {
  public:
    explicit ReadSnapshot(Engine& engine) : engine_(engine) { engine_.beginReadSnapshot(); }
    ~ReadSnapshot() { engine_.tryRollback(); }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

  private:
    Engine& engine_;
};

// What the copy read of one table, to be found again in the target.
struct TableTally {
    std::int64_t rows = 0;
    std::vector<values::Total> sums;  // one per number column, in whole ten-thousandths
};

// A number column's value as a count of ten-thousandths, each value rounded on its own so that
// the order of adding cannot change the sum. What holds no number adds nothing.
values::Total tenThousandthsOf(const Statement::Value& value) {
    double number = 0;
    switch (value.type) {
        case Statement::ValueType::Float:
            number = value.real;
            break;
        case Statement::ValueType::Integer:
            number = static_cast<double>(value.integer);
            break;
        case Statement::ValueType::Text:
            number = values::parseNumber(value.text).value_or(0);
            break;
        default:
            return 0;
    }
    return values::isAcceptedNumber(number) ? values::toTenThousandths(number) : 0;
}

void bindValue(Statement& insert, int index, const Statement::Value& value) {
    switch (value.type) {
        case Statement::ValueType::Null:
            insert.bindNull(index);
            break;
        case Statement::ValueType::Integer:
            insert.bindInt64(index, value.integer);
            break;
        case Statement::ValueType::Float:
            insert.bindDouble(index, value.real);
            break;
        default:
            insert.bindText(index, value.text);
            break;
    }
}

struct TableColumns {
    std::vector<const schema::ColumnDef*> all;      // in table order, the counter first
    std::vector<int> numbers;                       // positions of the number columns in all
    std::vector<const schema::ColumnDef*> numeric;  // the number columns themselves
};

TableColumns columnsOf(const TableDef& table) {
    TableColumns columns;
    for (const schema::ColumnDef& column : table.columns) {
        if (column.type == FieldType::Double) {
            columns.numbers.push_back(static_cast<int>(columns.all.size()));
            columns.numeric.push_back(&column);
        }
        columns.all.push_back(&column);
    }
    return columns;
}

// A value read from the source that outlives the next step of its statement.
class KeptValue {
  public:
    explicit KeptValue(const Statement::Value& value) : value_(value), text_(value.text) {}
    Statement::Value value() const {
        Statement::Value value = value_;
        value.text = text_;
        return value;
    }

  private:
    Statement::Value value_;
    std::string text_;
};

// Parameters of one INSERT at the most: SQLite's smallest limit, which a server's is far above.
constexpr std::size_t kMostParameters = 999;

// "INSERT INTO table (names) VALUES (?, ...), (?, ...)" for rows rows.
std::string insertRowsSql(const TableDef& table, const std::string& names, std::size_t columns,
                          std::size_t rows) {
    std::string row = "(";
    for (std::size_t i = 0; i < columns; ++i) row += i == 0 ? "?" : ", ?";
    row += ")";
    std::string sql =
        "INSERT INTO " + sql::quotedName(table.name) + " (" + names + ") VALUES " + row;
    for (std::size_t i = 1; i < rows; ++i) sql += ", " + row;
    return sql;
}

// Copies the table's rows in the order they were stored: as many rows per INSERT as its
// parameters allow (a server is answered once per statement), the rest one by one.
TableTally copyRows(const Database& source, Database& target, const TableDef& table,
                    const TableColumns& columns) {
    const std::string names = columnList(columns.all);
    const std::size_t width = columns.all.size();
    const std::size_t batch = std::max<std::size_t>(1, kMostParameters / width);
    Statement read(source,
                   "SELECT " + names + " FROM " + sql::quotedName(table.name) + " ORDER BY rowid");
    Statement insertOne(target, insertRowsSql(table, names, width, 1));
    std::optional<Statement> insertMany;
    if (batch > 1) insertMany.emplace(target, insertRowsSql(table, names, width, batch));
    TableTally tally;
    tally.sums.assign(columns.numbers.size(), 0);
    std::vector<Statement::Value> row(width);
    // Rows are bound into the batch as they are read; only a batch left unfilled at the end is
    // written again row by row, from the values kept of it.
    std::vector<std::vector<KeptValue>> pending;
    while (read.step()) {
        read.readValues(0, row);
        Statement& insert = insertMany ? *insertMany : insertOne;
        const int offset = static_cast<int>(pending.size() * width);
        for (std::size_t i = 0; i < width; ++i)
            bindValue(insert, offset + static_cast<int>(i) + 1, row[i]);
        for (std::size_t k = 0; k < columns.numbers.size(); ++k)
            tally.sums[k] += tenThousandthsOf(row[static_cast<std::size_t>(columns.numbers[k])]);
        ++tally.rows;
        if (insertMany) {
            pending.emplace_back();
            for (const Statement::Value& value : row) pending.back().emplace_back(value);
            if (pending.size() < batch) continue;
            pending.clear();
        }
        insert.step();
        insert.reset();
    }
    for (const std::vector<KeptValue>& kept : pending) {
        for (std::size_t i = 0; i < width; ++i)
            bindValue(insertOne, static_cast<int>(i) + 1, kept[i].value());
        insertOne.step();
        insertOne.reset();
    }
    return tally;
}

// What the target holds of the table now, counted the same way.
TableTally tallyOf(const Database& db, const TableDef& table, const TableColumns& columns) {
    TableTally tally;
    tally.sums.assign(columns.numeric.size(), 0);
    if (columns.numeric.empty()) {
        Statement count(db, "SELECT count(*) FROM " + sql::quotedName(table.name));
        if (count.step()) tally.rows = count.int64Value(0);
        return tally;
    }
    Statement read(
        db, "SELECT " + columnList(columns.numeric) + " FROM " + sql::quotedName(table.name));
    std::vector<Statement::Value> row(columns.numeric.size());
    while (read.step()) {
        read.readValues(0, row);
        for (std::size_t k = 0; k < row.size(); ++k) tally.sums[k] += tenThousandthsOf(row[k]);
        ++tally.rows;
    }
    return tally;
}

bool holdsRows(const Database& db, const TableDef& table) {
    Statement any(db, "SELECT 1 FROM " + sql::quotedName(table.name) + " LIMIT 1");
    return any.step();
}

void check(const TableDef& table, const TableColumns& columns, const TableTally& read,
           const TableTally& found) {
    const std::string where = "复制数据后核对不符：表“" + table.name + "”";
    if (read.rows != found.rows)
        throw StoreError(where + "读出 " + std::to_string(read.rows) + " 行，复制后有 " +
                         std::to_string(found.rows) + " 行。没有写入任何数据。");
    for (std::size_t k = 0; k < read.sums.size(); ++k)
        if (read.sums[k] != found.sums[k])
            throw StoreError(where + "列“" + columns.numeric[k]->name + "”的合计读出为 " +
                             values::tenThousandthsText(read.sums[k]) + "，复制后为 " +
                             values::tenThousandthsText(found.sums[k]) + "。没有写入任何数据。");
}

}  // namespace

std::vector<CopiedTable> copyData(Database& source, Database& target) {
    ReadSnapshot snapshot(source.engine());
    const int version = source.engine().schemaVersion();
    if (version > schema::kVersion) throw StoreError(schema::laterVersionRefusal(source, version));
    // A file that opens with the program's password but lacks its tables is no shop's data.
    for (const TableDef& table : schema::tables())
        if (!source.engine().holdsTable(table.name))
            throw StoreError("“" + source.file() + "”中没有表“" + table.name +
                             "”，不是本程序的数据，没有复制。");
    std::vector<CopiedTable> copied;
    for (const TableDef* table : schema::everyTable()) {
        if (!source.engine().holdsTable(table->name)) continue;
        if (!target.engine().holdsTable(table->name))
            target.engine().createTable(*table);
        else if (holdsRows(target, *table))
            throw StoreError("表“" + table->name + "”中已有数据：数据只复制到没有数据的表中。");
        const TableColumns columns = columnsOf(*table);
        const TableTally read = copyRows(source, target, *table, columns);
        if (table->hasCounter()) target.engine().counterFollowsRows(table->name);
        check(*table, columns, read, tallyOf(target, *table, columns));
        copied.push_back({table->name, read.rows});
    }
    if (version > target.engine().schemaVersion()) target.engine().setSchemaVersion(version);
    return copied;
}

std::vector<CopiedTable> replaceAllRows(Database& source, Database& target) {
    Transaction transaction(target);
    for (const TableDef* table : schema::everyTable())
        if (target.engine().holdsTable(table->name))
            target.exec("DELETE FROM " + sql::quotedName(table->name));
    std::vector<CopiedTable> copied = copyData(source, target);
    transaction.commit();
    target.engine().learnNewContents();
    return copied;
}

void writeDatabaseCopy(const std::string& targetFile, Database::CopyPermissions permissions,
                       const std::string& reference,
                       const std::function<void(const std::string& scratchFile)>& write) {
    // What an earlier, killed copy left beside the target goes first.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(targetFile).parent_path();
    removeStaleScratchFiles(folder.empty() ? "." : folder.string());
    const std::string partial = freeScratchNameBeside(targetFile);
    try {
        write(partial);
        if (permissions != Database::CopyPermissions::KeepTarget ||
            !copyPermissionsFrom(partial, targetFile))
            limitPermissionsTo(partial, reference);
        std::filesystem::rename(partial, targetFile);
    } catch (const std::filesystem::filesystem_error& e) {
        std::filesystem::remove(partial, ec);
        throw StoreError("备份数据库失败：无法写入“" + targetFile + "”（" + e.code().message() +
                         "）");
    } catch (...) {
        std::filesystem::remove(partial, ec);
        throw;
    }
}

void copyIntoNewFile(Database& source, const std::string& targetFile,
                     Database::CopyPermissions permissions) {
    writeDatabaseCopy(targetFile, permissions, {}, [&source](const std::string& scratchFile) {
        Database target(scratchFile, kDatabasePassword, Database::Mode::Create);
        Transaction transaction(target);
        copyData(source, target);
        transaction.commit();
    });
}

}  // namespace store
