#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sales/records/SaleEntry.h"
#include "store/Decimal.h"

namespace store {
class Connection;
}

// Returns of sold goods: each a dated row of its own linked to the sale, its quantity back in
// stock on the goods row the sale was made from. What can still be returned is always worked out
// from the returns stored, inside the transaction that stores the next one.
namespace salereturn {

// A goods row a return may go back to, as the panel lists it.
struct GoodsRowChoice {
    std::int64_t goodsId = 0;
    std::string purchasePrice;  // rounded to two decimals, the cost the return uses
    std::string stock;
    std::string supplier;
};

// A sale as the return panel shows it.
struct SaleForReturn {
    std::int64_t saleId = 0;
    std::string date;
    sales::GoodsTexts goods;
    std::string price;       // the sale unit price
    std::string sold;        // the quantity sold
    std::string returned;    // the sum of its returns
    std::string returnable;  // sold − returned
    std::string customer;
    // The goods rows the return may go back to: the one the sale noted, or for an older sale the
    // rows with its code, name, model (型号), size (规格) and unit; none when the purchase was
    // deleted.
    std::vector<GoodsRowChoice> goodsRows;
};

// What "确定" stores, as the panel holds it.
struct ReturnEntry {
    std::int64_t saleId = 0;
    std::int64_t goodsId = 0;  // one of the sale's goods rows
    std::string date;          // 退货日期, already formatted
    std::string quantity;
    std::string refund;
    std::string reason;
};

struct ReturnResult {
    // Refused: refusal says why, naming the number; SaleGone: the sale was deleted; NoGoodsRow:
    // no goods row to go back to; ChooseGoodsRow: goodsId is not one of the sale's goods rows.
    enum class Outcome { Returned, Refused, SaleGone, NoGoodsRow, ChooseGoodsRow };
    Outcome outcome = Outcome::Refused;
    std::string refusal;
};

enum class DeleteOutcome { Deleted, ReturnGone, GoodsRowGone };

class ReturnRecords {
  public:
    explicit ReturnRecords(store::Connection& connection) : connection_(connection) {}

    // The sale with the ID saleId for the panel; none when it is gone.
    std::optional<SaleForReturn> load(std::int64_t saleId);

    // In one transaction: works out what can still be returned, refuses a quantity that is
    // empty, not a number, zero, negative or above it and a refund that is empty, not a number,
    // negative or above quantity × sale price; stores the return row and moves the goods row:
    // 销售数量 −q, 销售金额 −refund, 销售利润 −(refund − q × C), 库存数量 +q, 库存金额 +q × C,
    // C the goods row's purchase price rounded to two decimals as a sale rounds it. 表3 is not
    // changed. All or nothing; an error of the store rolls back and is thrown on. On a server the
    // sale row and the goods row are locked from their read to the commit, so that two counters
    // never return more than was sold, and a try that met another counter's change is run again.
    ReturnResult confirm(const ReturnEntry& entry);

    // Deletes the return with the ID returnId and undoes its movement of the goods row, with the
    // purchase price it used, in one transaction.
    DeleteOutcome deleteReturn(std::int64_t returnId);
    // The first half of that, inside the caller's transaction: undoes the return's movement of
    // its goods row and leaves the return row where it is (Deleted: the movement was undone).
    DeleteOutcome undoReturn(std::int64_t returnId);

  private:
    ReturnResult confirmOnce(const ReturnEntry& entry);  // one try, in its own transaction
    DeleteOutcome deleteReturnOnce(std::int64_t returnId);

    store::Connection& connection_;
};

// The refund the panel proposes for a typed quantity: quantity × the sale price, as it is stored;
// empty when the quantity is not a number.
std::string proposedRefund(const std::string& quantity, const std::string& price);

// The most a refund may be for a typed quantity, quantity × the sale price, when the typed refund
// is above it; none when it is not, or when a text is not a number (确定 says so then).
std::optional<std::string> refundAboveMost(const std::string& refund, const std::string& quantity,
                                           const std::string& price);

// Throws StoreError with kReturnsNotUpgraded when the file lacks the returns' tables: one of an
// earlier version that was opened read-only and so could not be upgraded.
void requireReturnTables(store::Connection& connection);

// The sum of the returns of the sale saleId as stored now (in the caller's transaction).
store::Decimal returnedQuantity(store::Connection& connection, std::int64_t saleId);

}  // namespace salereturn
