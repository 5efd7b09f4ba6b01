#include "importing/records/ImportHistory.h"

#include "sales/records/GoodsTextMatch.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Retry.h"
#include "store/RowLock.h"
#include "store/Schema.h"

namespace importing {

namespace {

namespace schema = store::schema;
namespace column = store::schema::column;

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

// The condition on a goods row's ID (goodsId) that it was created by the import importId.
std::string createdBy(const std::string& goodsId, const std::string& importId) {
    return goodsId + " IN (SELECT " + quoted(column::kGoodsId) + " FROM " +
           quoted(schema::kImportedGoods) + " WHERE " + quoted(column::kImportId) + " = " +
           importId + ")";
}

std::string textAt(const store::Statement& row, int index) {
    return row.isNull(index) ? std::string() : std::string(row.text(index));
}

// The import's goods rows with sales, by link or, for sales without one, by their goods texts.
std::vector<SoldRow> soldRowsOf(store::Database& db, std::int64_t importId) {
    const std::string links = quoted(schema::kSaleGoods);
    const std::string linked =
        "EXISTS (SELECT 1 FROM " + links + " l WHERE l." + quoted(column::kGoodsId) + " = g.rowid)";
    const std::string byTexts = "EXISTS (SELECT 1 FROM " + quoted(schema::kSales) + " s WHERE " +
                                sales::sameGoodsTexts("s", "g") + " AND s.rowid NOT IN (SELECT " +
                                quoted(column::kSaleId) + " FROM " + links + "))";
    store::Statement sold(
        db, "SELECT i." + quoted(column::kFileRow) + ", g." + quoted(column::kGoodsCode) + ", g." +
                quoted(column::kGoodsName) + " FROM " + quoted(schema::kGoods) + " g JOIN " +
                quoted(schema::kImportedGoods) + " i ON i." + quoted(column::kGoodsId) +
                " = g.rowid AND i." + quoted(column::kImportId) + " = ?1" + " WHERE " + linked +
                " OR " + byTexts + " ORDER BY i." + quoted(column::kFileRow));
    sold.bindInt64(1, importId);
    std::vector<SoldRow> rows;
    while (sold.step())
        rows.push_back(
            {static_cast<std::int64_t>(sold.doubleValue(0)), textAt(sold, 1), textAt(sold, 2)});
    return rows;
}

void deleteWhere(store::Database& db, const std::string& sql, std::int64_t importId) {
    store::Statement statement(db, sql);
    statement.bindInt64(1, importId);
    statement.step();
}

}  // namespace

std::vector<ImportEntry> listImports(store::Connection& connection) {
    store::Statement list(connection.database(),
                          "SELECT r.rowid, r." + quoted(column::kImportTime) + ", r." +
                              quoted(column::kFileName) + ", r." + quoted(column::kImportedRows) +
                              ", (SELECT count(*) FROM " + quoted(schema::kGoods) + " WHERE " +
                              createdBy("rowid", "r.rowid") + ") FROM " + quoted(schema::kImports) +
                              " r ORDER BY r.rowid DESC");
    std::vector<ImportEntry> imports;
    while (list.step())
        imports.push_back({list.int64Value(0), textAt(list, 1), textAt(list, 2),
                           static_cast<std::int64_t>(list.doubleValue(3)), list.int64Value(4)});
    return imports;
}

namespace {

UndoResult undoOnce(store::Connection& connection, std::int64_t importId) {
    store::Database& db = connection.database();
    store::Transaction transaction(db);
    UndoResult result;
    // On a server the import and its goods rows are locked until the undo is stored: a second
    // undo waits and then finds it gone, a sale of one of its rows waits and then finds the row
    // gone, or, stored first, is seen below.
    const std::string lock = store::rowLockClause(connection);
    store::Statement recorded(
        db, "SELECT 1 FROM " + quoted(schema::kImports) + " WHERE rowid = ?" + lock);
    recorded.bindInt64(1, importId);
    if (!recorded.step()) return result;
    if (!lock.empty()) {
        store::Statement goods(db, "SELECT rowid FROM " + quoted(schema::kGoods) + " WHERE " +
                                       createdBy("rowid", "?1") + lock);
        goods.bindInt64(1, importId);
        while (goods.step()) {
        }
    }

    result.soldRows = soldRowsOf(db, importId);
    if (!result.soldRows.empty()) {
        result.outcome = UndoResult::Outcome::HasSales;
        return result;
    }
    deleteWhere(db, "DELETE FROM " + quoted(schema::kGoods) + " WHERE " + createdBy("rowid", "?1"),
                importId);
    result.removedRows = db.changes();
    deleteWhere(db,
                "DELETE FROM " + quoted(schema::kImportedGoods) + " WHERE " +
                    quoted(column::kImportId) + " = ?1",
                importId);
    deleteWhere(db, "DELETE FROM " + quoted(schema::kImports) + " WHERE rowid = ?1", importId);
    transaction.commit();
    result.outcome = UndoResult::Outcome::Undone;
    return result;
}

}  // namespace

UndoResult undoImport(store::Connection& connection, std::int64_t importId) {
    return store::retryOnConflict(connection, [&] { return undoOnce(connection, importId); });
}

std::string soldRowsText(const std::vector<SoldRow>& rows) {
    constexpr std::size_t kNamed = 10;
    std::string text;
    for (std::size_t i = 0; i < rows.size() && i < kNamed; ++i)
        text += "第 " + std::to_string(rows[i].fileRow) + " 行  " + rows[i].code + "  " +
                rows[i].name + "\n";
    if (rows.size() > kNamed) text += "……等共 " + std::to_string(rows.size()) + " 行\n";
    if (!text.empty()) text.pop_back();
    return text;
}

}  // namespace importing
