#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "sales/records/ReturnRecords.h"
#include "store/Schema.h"

namespace store {
class Connection;
class Query;
}  // namespace store

// The returns list window "退货明细": every return of 退货, searched and deleted, without the
// window.
namespace returnlist {

namespace column = store::schema::column;

// The five search fields of the query panel, Edit1 to Edit5: goods code, goods name, customer,
// return date and the date of the sale returned (which lives in 表3, not beside the return).
inline constexpr int kSearchFieldCount = 5;
inline constexpr int kSaleDateField = 4;
inline constexpr std::array<std::string_view, kSearchFieldCount> kSearchColumns = {
    column::kGoodsCode, column::kGoodsName, column::kCustomer, column::kReturnDate,
    column::kSaleDate};
using SearchTexts = std::array<std::string, kSearchFieldCount>;

class ReturnListRecords {
  public:
    ReturnListRecords(store::Connection& connection, store::Query& query)
        : connection_(connection), query_(query) {}

    // Reconnect-and-requery of 退货: every return, the first current, a search in force dropped.
    void refresh();

    // Narrows the list to the returns whose column contains the one filled search text; the
    // sale date finds the returns of the sales whose 销售日期 contains it. Runs only when the
    // list has rows and exactly one field is filled; true when it ran.
    bool search(const SearchTexts& texts);

    // Deletes the list's returns at these indexes and gives each one's stock movement back to
    // its goods row, all in one transaction: when one of them cannot be undone (it is gone, or
    // its goods row is), nothing is deleted or moved and its outcome is returned; a return
    // another copy of the program deleted meanwhile also re-reads the list, the search in force
    // kept, so that it no longer shows.
    salereturn::DeleteOutcome deleteRows(const std::vector<int>& rows);

  private:
    salereturn::DeleteOutcome deleteTogether(const std::vector<int>& rows);

    store::Connection& connection_;
    store::Query& query_;
};

}  // namespace returnlist
