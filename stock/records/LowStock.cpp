#include "stock/records/LowStock.h"

#include <algorithm>
#include <unordered_set>

#include "stock/records/LowStockMessages.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/RowLock.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"

namespace stock {

namespace {

namespace schema = store::schema;
namespace column = store::schema::column;
namespace values = store::values;

std::string quoted(const char* name) { return "\"" + std::string(name) + "\""; }

const std::string& levelsTable() {
    static const std::string name = quoted(schema::kStockLevels);
    return name;
}

Level levelFrom(const store::Statement& row, int first) {
    return {row.isNull(first) ? 0 : values::toTenThousandths(row.doubleValue(first)),
            !row.isNull(first + 1) && row.doubleValue(first + 1) != 0};
}

// The level of one code in a file that holds the table of levels; lock is the row lock clause
// of a read whose told flag the caller's transaction writes back.
std::optional<Level> storedLevel(store::Connection& connection, std::string_view code,
                                 const std::string& lock = {}) {
    store::Statement row(connection.database(),
                         "SELECT " + quoted(column::kStockLevel) + ", " +
                             quoted(column::kLowStockTold) + " FROM " + levelsTable() + " WHERE " +
                             quoted(column::kGoodsCode) + " = ? AND " +
                             quoted(column::kStockLevel) + " IS NOT NULL" + lock);
    row.bindText(1, values::trimBlanks(code));
    if (!row.step()) return std::nullopt;
    return levelFrom(row, 0);
}

// The level's text as a number of ten-thousandths; none for an empty text.
std::optional<Total> parseLevel(std::string_view text) {
    const std::string_view trimmed = values::trimBlanks(text);
    if (trimmed.empty()) return std::nullopt;
    const std::optional<double> number = values::parseNumber(trimmed);
    if (!number) throw store::StoreError(kLevelNotANumber);
    if (*number < 0) throw store::StoreError(kLevelBelowZero);
    if (*number > values::kLargestNumber) throw store::StoreError(kLevelNotANumber);
    return values::toTenThousandths(*number);
}

void storeTold(store::Database& db, std::string_view code, bool told) {
    store::Statement update(db, "UPDATE " + levelsTable() + " SET " +
                                    quoted(column::kLowStockTold) + " = ? WHERE " +
                                    quoted(column::kGoodsCode) + " = ?");
    update.bindDouble(1, told ? 1 : 0);
    update.bindText(2, code);
    update.step();
}

double asNumber(Total tenThousandths) {
    return values::parseNumber(values::tenThousandthsText(tenThousandths)).value_or(0);
}

// The newest goods row with the code; -1 when there is none.
int newestRowOf(const store::Query& goods, std::string_view code) {
    const std::vector<int> rows = goods.rowsWithText(goods.fieldIndex(column::kGoodsCode), code);
    int newest = -1;
    for (const int row : rows)
        if (newest < 0 || goods.rowIdAt(row) > goods.rowIdAt(newest)) newest = row;
    return newest;
}

std::string textAt(const store::Query& goods, int row, const char* name) {
    return std::string(goods.fieldTextAt(row, goods.fieldIndex(name)));
}

}  // namespace

Total stockOfCode(const store::Query& goods, std::string_view code) {
    return goods.sumWithText(goods.fieldIndex(column::kGoodsCode), code,
                             goods.fieldIndex(column::kStockQuantity));
}

namespace {

// Every level of a file that holds the table of levels; lock as for storedLevel.
Levels allLevels(store::Connection& connection, const std::string& lock = {}) {
    Levels levels;
    store::Statement rows(connection.database(), "SELECT " + quoted(column::kGoodsCode) + ", " +
                                                     quoted(column::kStockLevel) + ", " +
                                                     quoted(column::kLowStockTold) + " FROM " +
                                                     levelsTable() + lock);
    while (rows.step()) {
        if (rows.isNull(0) || rows.isNull(1)) continue;
        levels.emplace(std::string(values::trimBlanks(rows.text(0))), levelFrom(rows, 1));
    }
    return levels;
}

}  // namespace

Levels readLevels(store::Connection& connection) {
    // A file of an earlier version opened read-only has no levels to read.
    if (!schema::holdsTable(connection.database(), schema::kStockLevels)) return {};
    return allLevels(connection);
}

std::optional<Level> levelOf(store::Connection& connection, std::string_view code) {
    if (!schema::holdsTable(connection.database(), schema::kStockLevels)) return std::nullopt;
    return storedLevel(connection, code);
}

namespace {

// Removes the code's level and stores the new one, in one transaction.
void storeLevel(store::Connection& connection, const store::Query& goods, std::string_view key,
                const std::optional<Total>& level) {
    store::Database& db = connection.database();
    store::Transaction transaction(db);
    store::Statement remove(
        db, "DELETE FROM " + levelsTable() + " WHERE " + quoted(column::kGoodsCode) + " = ?");
    remove.bindText(1, key);
    remove.step();
    if (level) {
        store::Statement insert(db, schema::insertSql(schema::table(schema::kStockLevels)));
        insert.bindText(1, key);
        insert.bindDouble(2, asNumber(*level));
        insert.bindDouble(3, isLow(stockOfCode(goods, key), *level) ? 1 : 0);
        insert.step();
    }
    transaction.commit();
}

}  // namespace

void setLevel(store::Connection& connection, const store::Query& goods, std::string_view code,
              std::string_view levelText) {
    const std::string_view key = values::trimBlanks(code);
    if (key.empty()) throw store::StoreError(kNoCode);
    const std::optional<Total> level = parseLevel(levelText);
    store::retryOnConflict(connection, [&] { storeLevel(connection, goods, key, level); });
}

std::vector<std::string> codesOfRows(const store::Query& goods, const std::vector<int>& rows) {
    std::vector<std::string> codes;
    const int code = goods.fieldIndex(column::kGoodsCode);
    for (const int row : rows) codes.emplace_back(goods.fieldTextAt(row, code));
    return codes;
}

std::string lowStockNotice(std::string_view code, std::string_view name, Total stock, Total level) {
    std::string goods(code);
    if (!name.empty()) goods += " " + std::string(name);
    return "商品 " + goods + " 库存只剩 " + values::tenThousandthsDisplay(stock) +
           "，已低于最低库存 " + values::tenThousandthsDisplay(level);
}

namespace {

std::vector<std::string> noticesOnce(store::Connection& connection, const store::Query& goods,
                                     const std::vector<std::string>& touchedCodes) {
    std::vector<std::string> notices;
    store::Database& db = connection.database();
    store::Transaction transaction(db);
    // The told flags are read in the transaction that writes them, locked on a server: two
    // counters selling the last units of a code at once tell its fall once.
    const std::string lock = store::rowLockClause(connection);
    // A change of a few codes (a sale) looks their levels up; one of many (an import) reads them
    // all at once.
    constexpr std::size_t kLookedUpOneByOne = 16;
    const std::optional<Levels> all = touchedCodes.size() > kLookedUpOneByOne
                                          ? std::optional<Levels>(allLevels(connection, lock))
                                          : std::nullopt;
    const auto levelOfCode = [&](std::string_view code) -> std::optional<Level> {
        if (!all) return storedLevel(connection, code, lock);
        const auto found = all->find(code);
        return found == all->end() ? std::nullopt : std::optional<Level>(found->second);
    };
    std::unordered_set<std::string_view> seen;
    for (const std::string& touched : touchedCodes) {
        const std::string_view code = values::trimBlanks(touched);
        if (code.empty() || !seen.insert(code).second) continue;
        const std::optional<Level> level = levelOfCode(code);
        if (!level) continue;
        const Total stock = stockOfCode(goods, code);
        const bool low = isLow(stock, level->level);
        if (low == level->told) continue;
        storeTold(db, code, low);
        if (!low) continue;
        const int row = newestRowOf(goods, code);
        notices.push_back(
            lowStockNotice(code, row < 0 ? std::string() : textAt(goods, row, column::kGoodsName),
                           stock, level->level));
    }
    transaction.commit();
    return notices;
}

}  // namespace

std::vector<std::string> lowStockNotices(store::Connection& connection, const store::Query& goods,
                                         const std::vector<std::string>& touchedCodes) {
    // A file of an earlier version opened read-only has no levels.
    if (!schema::holdsTable(connection.database(), schema::kStockLevels)) return {};
    return store::retryOnConflict(connection,
                                  [&] { return noticesOnce(connection, goods, touchedCodes); });
}

namespace {

std::string joined(const std::vector<std::string>& notices, std::string_view separator) {
    std::string text;
    for (const std::string& notice : notices)
        text += (text.empty() ? "" : std::string(separator)) + notice;
    return text;
}

}  // namespace

std::string lowStockNoticeText(store::Connection& connection, const store::Query& goods,
                               const std::vector<std::string>& touchedCodes,
                               std::string_view separator) {
    return joined(lowStockNotices(connection, goods, touchedCodes), separator);
}

std::string lowStockNoticeText(store::Connection& connection,
                               const std::vector<std::string>& touchedCodes,
                               std::string_view separator) {
    return joined(lowStockNotices(connection, touchedCodes), separator);
}

std::vector<std::string> levelledCodes(store::Connection& connection) {
    std::vector<std::string> codes;
    for (const auto& entry : readLevels(connection)) codes.push_back(entry.first);
    return codes;
}

std::vector<std::string> lowStockNotices(store::Connection& connection,
                                         const std::vector<std::string>& touchedCodes) {
    store::Query goods(connection);
    goods.select(schema::kGoods);
    goods.open();
    return lowStockNotices(connection, goods, touchedCodes);
}

std::vector<LowStockLine> lowStockLines(const store::Query& goods, const Levels& levels) {
    std::vector<LowStockLine> lines;
    for (const auto& [code, level] : levels) {
        const int row = newestRowOf(goods, code);
        if (row < 0) continue;
        const Total stock = stockOfCode(goods, code);
        if (!isLow(stock, level.level)) continue;
        lines.push_back({code, textAt(goods, row, column::kGoodsName),
                         textAt(goods, row, column::kModel), textAt(goods, row, column::kGoodsSize),
                         textAt(goods, row, column::kUnit), stock, level.level});
    }
    std::sort(lines.begin(), lines.end(), [](const LowStockLine& a, const LowStockLine& b) {
        if (a.shortfall() != b.shortfall()) return a.shortfall() > b.shortfall();
        return a.code < b.code;
    });
    return lines;
}

namespace {

void stageOnce(store::Connection& connection, const store::Query& goods) {
    const std::vector<LowStockLine> lines = lowStockLines(goods, readLevels(connection));
    store::Database& db = connection.database();
    store::Transaction transaction(db);
    db.exec("DELETE FROM " + quoted(schema::kLowStockList));
    store::Statement insert(db, schema::insertSql(schema::table(schema::kLowStockList)));
    for (const LowStockLine& line : lines) {
        int parameter = 1;
        for (const std::string* text :
             {&line.code, &line.name, &line.model, &line.size, &line.unit})
            insert.bindText(parameter++, *text);
        for (const Total number : {line.stock, line.level, line.shortfall()})
            insert.bindDouble(parameter++, asNumber(number));
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

}  // namespace

void stageLowStock(store::Connection& connection, const store::Query& goods) {
    store::retryOnConflict(connection, [&] { stageOnce(connection, goods); });
}

}  // namespace stock
