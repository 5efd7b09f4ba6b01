#include "sales/records/ReturnRecords.h"

#include <algorithm>
#include <array>

#include "sales/records/GoodsTextMatch.h"
#include "sales/records/ReturnMessages.h"
#include "sales/records/StoredNumbers.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/RowLock.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/Values.h"

namespace salereturn {

namespace {

namespace schema = store::schema;
namespace column = store::schema::column;
using store::Decimal;
using Outcome = ReturnResult::Outcome;

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

// The sale's texts and numbers as 表3 holds them.
struct StoredSale {
    std::string date;
    sales::GoodsTexts goods;
    std::string customer;
    Decimal price;
    Decimal sold;
};

// Locked, on a server, for the rest of the caller's transaction where forReturn: the returns
// counted against the sale and its price stay as read until the return is stored.
std::optional<StoredSale> readSale(store::Connection& connection, std::int64_t saleId,
                                   bool forReturn) {
    std::string sql = "SELECT " + quoted(column::kSaleDate) + ", " + quoted(column::kCustomer);
    for (const auto& name : sales::kGoodsTextColumns) sql += ", " + quoted(std::string(name));
    sql += ", " + quoted(column::kSalePrice) + ", " + quoted(column::kSaleQuantity) + " FROM " +
           quoted(schema::kSales) + " WHERE rowid = ?";
    if (forReturn) sql += store::rowLockClause(connection);
    store::Statement select(connection.database(), sql);
    select.bindInt64(1, saleId);
    if (!select.step()) return std::nullopt;
    const auto textAt = [&](int i) {
        return select.isNull(i) ? std::string() : std::string(select.text(i));
    };
    StoredSale sale;
    sale.date = textAt(0);
    sale.customer = textAt(1);
    for (int i = 0; i < sales::kGoodsTextCount; ++i)
        sale.goods[static_cast<std::size_t>(i)] = textAt(2 + i);
    const int price = 2 + sales::kGoodsTextCount;
    sale.price = sales::storedNumber(select, price, column::kSalePrice);
    sale.sold = sales::storedNumber(select, price + 1, column::kSaleQuantity);
    return sale;
}

// The goods rows a return of the sale goes back to: the row the sale noted when it was made,
// while it is there; for a sale made before sales noted their row, the rows of 表1 with the
// same code, name, model (型号), size (规格) and unit.
std::vector<std::int64_t> goodsRowsOf(store::Connection& connection, std::int64_t saleId,
                                      const StoredSale& sale) {
    store::Database& db = connection.database();
    store::Statement link(db, "SELECT " + quoted(column::kGoodsId) + " FROM " +
                                  quoted(schema::kSaleGoods) + " WHERE " + quoted(column::kSaleId) +
                                  " = ?");
    link.bindInt64(1, saleId);
    const std::string select = "SELECT rowid FROM " + quoted(schema::kGoods) + " WHERE ";
    std::optional<store::Statement> rows;
    if (link.step()) {
        rows.emplace(db, select + "rowid = ?");
        rows->bindInt64(1, link.int64Value(0));
    } else {
        rows.emplace(db, select + sales::sameGoodsTexts({}) + " ORDER BY rowid");
        for (int i = 0; i < sales::kGoodsTextCount; ++i)
            rows->bindText(i + 1, sale.goods[static_cast<std::size_t>(i)]);
    }
    std::vector<std::int64_t> ids;
    while (rows->step()) ids.push_back(rows->int64Value(0));
    return ids;
}

// A goods row's purchase price as a sale takes it for its cost: rounded to two decimals.
Decimal costOf(const Decimal& purchasePrice) {
    return Decimal::read(store::values::roundTo2Text(purchasePrice.text()));
}

// Adds delta to the five moved figures of the goods row and stores them; false when the row is
// gone.
bool moveGoodsRow(store::Connection& connection, std::int64_t goodsId,
                  const std::array<Decimal, sales::kMovedColumns.size()>& delta) {
    const auto stored =
        sales::storedNumbers(connection, schema::kGoods, goodsId,
                             {sales::kMovedColumns.begin(), sales::kMovedColumns.end()});
    if (!stored) return false;
    store::Query row(connection);
    row.select(schema::kGoods, "rowid = ?", {std::to_string(goodsId)});
    row.open();
    if (row.isEmpty()) return false;
    row.edit();
    try {
        for (std::size_t i = 0; i < delta.size(); ++i)
            row.setFieldText(sales::kMovedColumns[i], ((*stored)[i] + delta[i]).text());
        row.post();
    } catch (...) {
        row.cancel();
        throw;
    }
    return true;
}

// The figures a return of quantity with refund at cost moves, added to the goods row.
std::array<Decimal, sales::kMovedColumns.size()> returnMovement(const Decimal& quantity,
                                                                const Decimal& refund,
                                                                const Decimal& cost) {
    const Decimal stockValue = quantity * cost;
    return {-quantity, -refund, -(refund - stockValue), quantity, stockValue};
}

// A typed number, or the refusal naming the field and the text.
std::optional<Decimal> readTyped(const std::string& text, const char* field, std::string& refusal) {
    if (text.empty()) {
        refusal = std::string("请输入") + field + "！";
        return std::nullopt;
    }
    auto number = Decimal::parse(text);
    if (!number) refusal = std::string(field) + "“" + text + "”不是有效的数字，请重新输入！";
    return number;
}

std::string reasonRefusal(const std::string& reason) {
    const auto& table = schema::table(schema::kReturns);
    for (const auto& def : table.columns)
        if (def.name == column::kReason &&
            store::values::characterCount(reason) > static_cast<std::size_t>(def.size))
            return std::string("退货原因最多 ") + std::to_string(def.size) + " 个字符，请缩短！";
    return {};
}

void writeReturnRow(store::Connection& connection, const ReturnEntry& entry, const StoredSale& sale,
                    const std::string& quantity, const std::string& refund, const Decimal& cost) {
    store::Query row(connection);
    row.select(schema::kReturns, "0");
    row.open();
    row.append();
    try {
        row.setFieldText(column::kReturnDate, entry.date);
        row.setFieldText(column::kSaleId, std::to_string(entry.saleId));
        row.setFieldText(column::kGoodsId, std::to_string(entry.goodsId));
        for (int i = 0; i < sales::kGoodsTextCount; ++i)
            row.setFieldText(sales::kGoodsTextColumns[static_cast<std::size_t>(i)],
                             sale.goods[static_cast<std::size_t>(i)]);
        row.setFieldText(column::kReturnQuantity, quantity);
        row.setFieldText(column::kRefundAmount, refund);
        row.setFieldText(column::kPurchasePrice, cost.text());
        row.setFieldText(column::kCustomer, sale.customer);
        row.setFieldText(column::kReason, entry.reason);
        row.post();
    } catch (...) {
        row.cancel();
        throw;
    }
}

}  // namespace

std::string proposedRefund(const std::string& quantity, const std::string& price) {
    const auto q = Decimal::parse(quantity);
    const auto p = Decimal::parse(price);
    return q && p ? (*q * *p).text() : std::string();
}

std::optional<std::string> refundAboveMost(const std::string& refund, const std::string& quantity,
                                           const std::string& price) {
    const auto r = Decimal::parse(refund);
    const auto q = Decimal::parse(quantity);
    const auto p = Decimal::parse(price);
    if (!r || !q || !p || *r <= *q * *p) return std::nullopt;
    return (*q * *p).text();
}

Decimal returnedQuantity(store::Connection& connection, std::int64_t saleId) {
    store::Statement rows(connection.database(), "SELECT " + quoted(column::kReturnQuantity) +
                                                     " FROM " + quoted(schema::kReturns) +
                                                     " WHERE " + quoted(column::kSaleId) + " = ?");
    rows.bindInt64(1, saleId);
    Decimal sum;
    while (rows.step()) sum += sales::storedNumber(rows, 0, column::kReturnQuantity);
    return sum;
}

void requireReturnTables(store::Connection& connection) {
    const store::Database& db = connection.database();
    if (store::schema::holdsTable(db, schema::kReturns) &&
        store::schema::holdsTable(db, schema::kSaleGoods))
        return;
    std::string text = kReturnsNotUpgraded;
    text.replace(text.find("%1"), 2, db.file());
    throw store::StoreError(text);
}

std::optional<SaleForReturn> ReturnRecords::load(std::int64_t saleId) {
    requireReturnTables(connection_);
    const auto sale = readSale(connection_, saleId, false);
    if (!sale) return std::nullopt;
    SaleForReturn shown;
    shown.saleId = saleId;
    shown.date = sale->date;
    shown.goods = sale->goods;
    shown.customer = sale->customer;
    shown.price = sale->price.text();
    shown.sold = sale->sold.text();
    const Decimal returned = returnedQuantity(connection_, saleId);
    shown.returned = returned.text();
    shown.returnable = (sale->sold - returned).text();
    for (const std::int64_t id : goodsRowsOf(connection_, saleId, *sale)) {
        store::Query row(connection_);
        row.select(schema::kGoods, "rowid = ?", {std::to_string(id)});
        row.open();
        if (row.isEmpty()) continue;
        shown.goodsRows.push_back(
            {id, store::values::roundTo2Text(row.fieldText(column::kPurchasePrice)),
             row.fieldText(column::kStockQuantity), row.fieldText(column::kSupplier)});
    }
    return shown;
}

ReturnResult ReturnRecords::confirm(const ReturnEntry& entry) {
    return store::retryOnConflict(connection_, [&] { return confirmOnce(entry); });
}

ReturnResult ReturnRecords::confirmOnce(const ReturnEntry& entry) {
    std::string refusal;
    const auto quantity = readTyped(entry.quantity, "退货数量", refusal);
    if (!quantity) return {Outcome::Refused, refusal};
    if (quantity->isNegative() || quantity->isZero())
        return {Outcome::Refused, "退货数量“" + entry.quantity + "”必须大于零，请重新输入！"};
    const auto refund = readTyped(entry.refund, "退款金额", refusal);
    if (!refund) return {Outcome::Refused, refusal};
    if (refund->isNegative())
        return {Outcome::Refused, "退款金额“" + entry.refund + "”不能为负数，请重新输入！"};
    if (refusal = reasonRefusal(entry.reason); !refusal.empty()) return {Outcome::Refused, refusal};

    store::WriteTransaction transaction(connection_);
    const auto sale = readSale(connection_, entry.saleId, true);
    if (!sale) return {Outcome::SaleGone, {}};
    // Worked out here, under the write lock: a return stored meanwhile by another connection
    // counts.
    const Decimal returnable = sale->sold - returnedQuantity(connection_, entry.saleId);
    if (*quantity > returnable)
        return {Outcome::Refused, "退货数量“" + entry.quantity + "”超过这笔销售还可退的数量 " +
                                      returnable.text() + "，请重新输入！"};
    const Decimal most = *quantity * sale->price;
    if (*refund > most)
        return {Outcome::Refused, "退款金额“" + entry.refund + "”超过退货数量乘销售单价 " +
                                      most.text() + "，请重新输入！"};
    const auto rows = goodsRowsOf(connection_, entry.saleId, *sale);
    if (rows.empty()) return {Outcome::NoGoodsRow, {}};
    if (std::find(rows.begin(), rows.end(), entry.goodsId) == rows.end())
        return {Outcome::ChooseGoodsRow, {}};
    const auto price =
        sales::storedNumbers(connection_, schema::kGoods, entry.goodsId, {column::kPurchasePrice});
    if (!price) return {Outcome::NoGoodsRow, {}};
    const Decimal cost = costOf(price->front());

    // Stored as the texts the file keeps, and moved by the values those texts hold.
    const std::string quantityText = quantity->text();
    const std::string refundText = refund->text();
    writeReturnRow(connection_, entry, *sale, quantityText, refundText, cost);
    if (!moveGoodsRow(connection_, entry.goodsId,
                      returnMovement(Decimal::read(quantityText), Decimal::read(refundText), cost)))
        return {Outcome::NoGoodsRow, {}};
    transaction.commit();
    return {Outcome::Returned, {}};
}

DeleteOutcome ReturnRecords::undoReturn(std::int64_t returnId) {
    // Locked on a server: a second deletion of the same return waits, then finds it gone, and
    // never gives its stock back twice.
    store::Statement find(connection_.database(), "SELECT " + quoted(column::kGoodsId) + " FROM " +
                                                      quoted(schema::kReturns) +
                                                      " WHERE rowid = ?" +
                                                      store::rowLockClause(connection_));
    find.bindInt64(1, returnId);
    if (!find.step()) return DeleteOutcome::ReturnGone;
    const std::int64_t goodsId = static_cast<std::int64_t>(find.doubleValue(0));
    const auto figures = sales::storedNumbers(
        connection_, schema::kReturns, returnId,
        {column::kReturnQuantity, column::kRefundAmount, column::kPurchasePrice});
    if (!figures) return DeleteOutcome::ReturnGone;
    const auto& f = *figures;
    auto undo = returnMovement(f[0], f[1], f[2]);
    for (auto& figure : undo) figure = -figure;
    if (!moveGoodsRow(connection_, goodsId, undo)) return DeleteOutcome::GoodsRowGone;
    return DeleteOutcome::Deleted;
}

DeleteOutcome ReturnRecords::deleteReturn(std::int64_t returnId) {
    return store::retryOnConflict(connection_, [&] { return deleteReturnOnce(returnId); });
}

DeleteOutcome ReturnRecords::deleteReturnOnce(std::int64_t returnId) {
    store::WriteTransaction transaction(connection_);
    if (const DeleteOutcome undone = undoReturn(returnId); undone != DeleteOutcome::Deleted)
        return undone;
    store::Statement remove(connection_.database(),
                            "DELETE FROM " + quoted(schema::kReturns) + " WHERE rowid = ?");
    remove.bindInt64(1, returnId);
    remove.step();
    transaction.commit();
    return DeleteOutcome::Deleted;
}

}  // namespace salereturn
