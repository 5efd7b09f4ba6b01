#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Schema.h"

namespace store {
class Connection;
class Query;
}  // namespace store

namespace saledetail {

namespace column = store::schema::column;

// The eleven fields of the sales detail window's entry panel, Edit1 to Edit11, in that order,
// with the column of 表3 behind each. The goods, price and quantity fields are read-only; the
// customer fields and the remark from kFirstCustomerField on are the ones a person corrects.
inline constexpr int kFieldCount = 11;
inline constexpr int kPriceField = 5;          // Edit6
inline constexpr int kQuantityField = 6;       // Edit7
inline constexpr int kFirstCustomerField = 7;  // Edit8
inline constexpr std::array<std::string_view, kFieldCount> kFieldColumns = {
    column::kGoodsCode, column::kGoodsName, column::kModel,        column::kGoodsSize,
    column::kUnit,      column::kSalePrice, column::kSaleQuantity, column::kCustomer,
    column::kPhone,     column::kAddress,   column::kRemark};

// What the panel holds: each field's text and whether the person changed it since the program
// last set it.
struct SaleFields {
    std::array<std::string, kFieldCount> texts;
    std::array<bool, kFieldCount> changed{};
};

// The four search fields of the query panel, Edit12 to Edit15, and the column each searches.
inline constexpr int kSearchFieldCount = 4;
inline constexpr std::array<std::string_view, kSearchFieldCount> kSearchColumns = {
    column::kGoodsCode, column::kGoodsName, column::kCustomer, column::kPhone};
using SearchTexts = std::array<std::string, kSearchFieldCount>;

// The search field to use: the one non-empty field when exactly one is (a text of blanks
// counts), none otherwise.
std::optional<int> searchField(const SearchTexts& texts);

// BelowReturned: the quantity was corrected below what was returned of the sale; nothing written.
enum class WriteBackOutcome { NoCurrentRow, RowGone, BelowReturned, Written };
// HasReturns: one of the sales has returns; nothing was deleted.
enum class DeleteOutcome { Deleted, HasReturns };

// The sales detail commands over the window's connection and its query on 表3, without the
// window. Nothing here touches 表1: a corrected or deleted sale gives no stock back. A write-back
// names the sale the panel was loaded from by its ID, so it lands on that sale even after the
// person moved in the list or searched.
class SaleDetailRecords {
  public:
    using FieldSetter = std::function<void(int field, const std::string& text)>;

    SaleDetailRecords(store::Connection& connection, store::Query& query)
        : connection_(connection), query_(query) {}

    // Reconnect-and-requery of 表3: every sale, the first current, a search in force dropped.
    void refresh();

    // Reads the current sale into the fields through setField, price and quantity reduced to two
    // decimals, and returns its ID; none when the list has no rows. An empty or non-numeric price
    // or quantity stops the load with the conversion error; the fields set before keep their
    // texts.
    std::optional<std::int64_t> load(const FieldSetter& setField);

    // Writes the changed fields and 销售金额 = shown price × shown quantity into the sale with
    // the ID rowId and posts it; that sale becomes the current row. RowGone when the list no
    // longer holds it (deleted meanwhile, or no sale loaded), or when the file no longer does
    // (another copy of the program deleted it): the list is then read again. On an error the edit
    // is given up before the error goes on, so no half-written row stays in the list.
    WriteBackOutcome writeBack(std::int64_t rowId, const SaleFields& fields);

    // Narrows the list to the sales whose column contains the one filled search text (bound as
    // a parameter: "%" and "_" are wildcards, a double quote is a character). Runs only when the
    // list has rows and exactly one field is filled; true when it ran.
    bool search(const SearchTexts& texts);

    // Deletes the list's sales at these indexes from 表3, together (store::deleteRowsTogether):
    // a refused row stops the deletion with its error, the sales deleted before it stay deleted.
    // A sale with returns is not deleted, nor any other then: its returns would lose their sale.
    DeleteOutcome deleteRows(const std::vector<int>& rows);

  private:
    WriteBackOutcome writeBackOnce(std::int64_t rowId, const SaleFields& fields);
    int indexOfRow(std::int64_t rowId) const noexcept;

    store::Connection& connection_;
    store::Query& query_;
};

}  // namespace saledetail
