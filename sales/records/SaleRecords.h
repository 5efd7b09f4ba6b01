#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sales/records/SaleEntry.h"

namespace store {
class Connection;
class Query;
}  // namespace store

namespace sales {

// What "确定" came to: the sale stored, or refused before anything was written, with what the
// window needs for its message.
struct SaleResult {
    // Refused: the entry must not be stored; GoodsGone: the file no longer holds the goods row;
    // StockShort: the file's stock no longer covers the quantity (another copy of the program
    // sold from the row).
    enum class Outcome { Sold, Refused, GoodsGone, StockShort };
    Outcome outcome = Outcome::Refused;
    std::string refusal;  // Refused: why, naming the field or the text that does not fit
    std::string stock;    // StockShort: the file's stock as the panel shows it
};

// The sales window's record work over its connection, its goods query on 表1 and its sales query
// on 表3, without the window.
class SaleRecords {
  public:
    SaleRecords(store::Connection& connection, store::Query& goods, store::Query& sales)
        : connection_(connection), goods_(goods), sales_(sales) {}

    // Reconnect-and-requery of 表1 alone: every other query of the connection is closed and opens
    // again when it is next used.
    void reloadGoods();

    // Narrows the goods list to the rows whose code (or name) contains the typed text, when the
    // list has rows and exactly one of the two texts is filled (a text of blanks counts as
    // filled). True when it ran.
    bool search(const std::string& code, const std::string& name);

    // The goods query's current row as the sale entry panel shows it; none when the list is
    // empty. A purchase price or stock that is not a number stops with the conversion error.
    std::optional<GoodsForSale> goodsForSale() const;

    // Re-runs the sales query on the distinct customer names of 表3 and returns them in the order
    // read; an empty name gives an empty item. The sales query holds that list from then on.
    std::vector<std::string> customerNames();

    // The details of the first earlier sale whose customer name contains name, read by a query
    // of its own. Nothing to do (none) when name is empty or the sales query holds no
    // rows. A name no earlier sale contains empties the sales query, so that later names fill
    // nothing until the customer list is read again. Only the first match is read.
    std::optional<CustomerDetails> customerDetails(const std::string& name);

    // Reads the entry's numbers once and checks them, then stores the 表3 row (through a query of
    // its own, so the sales query keeps the customer list) and moves the six sales and stock
    // figures of the goods row with the entry's goodsId, together in one transaction with the
    // note of the goods row the sale was made from (its returns go back there): all or nothing.
    // Each figure is the exact decimal result of the texts' arithmetic, rounded to 15 digits when
    // it is stored. The goods row is only moved while the file's stock, rounded to two decimals,
    // still covers the quantity; otherwise nothing is stored (StockShort). The goods list shows the
    // moved row where it holds it and keeps its current row. A refusal names the field; an error of
    // the store rolls back and is thrown on. On a server the goods row is locked from its read to
    // the commit, and a try that met another counter's change is run again (retryOnConflict).
    SaleResult confirm(const SaleEntry& entry);

    // Deletes the goods list's rows at these indexes from 表1, together
    // (store::deleteRowsTogether): a refused row stops the deletion with its error, the rows
    // deleted before it stay deleted.
    void deleteRows(const std::vector<int>& rows);

  private:
    SaleResult confirmOnce(const SaleEntry& entry);  // one try, in its own transaction

    store::Connection& connection_;
    store::Query& goods_;
    store::Query& sales_;
};

// price × quantity as the amount field shows it (throws on a text that is not a number).
std::string amountText(const std::string& price, const std::string& quantity);

// Whether the typed quantity exceeds the stock shown (throws on a text that is not a number).
bool exceedsStock(const std::string& quantity, const std::string& stock);

}  // namespace sales
