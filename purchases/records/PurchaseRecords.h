#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "purchases/records/PurchaseFields.h"
#include "store/Schema.h"

namespace store {
class Connection;
class Query;
}  // namespace store

namespace purchases {

namespace column = store::schema::column;

// The four search fields of the query panel, Edit13 to Edit16, and the column each searches.
inline constexpr int kSearchFieldCount = 4;
inline constexpr std::array<std::string_view, kSearchFieldCount> kSearchColumns = {
    column::kGoodsCode, column::kGoodsName, column::kContact, column::kPhone};
using SearchTexts = std::array<std::string, kSearchFieldCount>;

// The search field to use: the one filled field when exactly one is filled (a text of blanks
// counts as filled), none otherwise.
std::optional<int> searchCase(const SearchTexts& texts);

enum class AddOutcome { Empty, Refused, Added };
enum class WriteBackOutcome { NoCurrentRow, RowGone, Refused, Written };

// The refusal of a negative price or quantity (which only a paste can put there), naming the
// field; empty when neither is negative. Texts that are not numbers are left to the conversion.
std::string refusalOf(const PurchaseFields& fields);

// The purchase commands of the main window over its connection and its query on 表1, without the
// window. A write-back names the row the entry panel was loaded from by its ID, so it lands on
// that row even after the user moved in the list, searched or refreshed.
class PurchaseRecords {
  public:
    using FieldSetter = std::function<void(int field, const std::string& text)>;

    PurchaseRecords(store::Connection& connection, store::Query& query)
        : connection_(connection), query_(query) {}

    // Reconnect-and-requery of 表1: all rows, the first current, a search in force dropped.
    void refresh();

    // Re-reads 表1, then appends and posts one row from the fields (sales columns 0, the whole
    // quantity in stock). Nothing is stored when every field is empty, or when refusalOf refuses
    // the fields. A row that cannot be
    // completed (a text that is not a number, a refused post) is cancelled before the error goes
    // on, so nothing half-set stays in the result set.
    AddOutcome add(const PurchaseFields& fields);

    // Reads the current row into the fields through setField, price and quantity reduced to two
    // decimals, and returns the row's ID; none when the list has no rows. A price or quantity that
    // is not a number stops the load with the conversion error; the fields set before keep their
    // texts.
    std::optional<std::int64_t> load(const FieldSetter& setField);

    // Writes the changed fields and the recomputed purchase amount into the row with the ID rowId
    // and posts it; the sales and stock columns stay as they are. Where the list holds that row,
    // it shows the new values and becomes the current row; a row a search hides from the list is
    // written in the file all the same. RowGone when the file no longer holds the row; Refused,
    // nothing written, when refusalOf refuses the fields. On an
    // error the row's edit is cancelled before the error goes on.
    WriteBackOutcome writeBack(std::int64_t rowId, const PurchaseFields& fields);

    // Narrows the list to the rows whose column contains the one filled search text. Runs only
    // when the list has rows and exactly one field is filled; true when it ran.
    bool search(const SearchTexts& texts);

    // Deletes the list's rows at these indexes from 表1, together (store::deleteRowsTogether):
    // a refused row stops the deletion with its error, the rows deleted before it stay deleted.
    // Their sales stay in 表3.
    void deleteRows(const std::vector<int>& rows);

  private:
    AddOutcome addOnce(const PurchaseFields& fields);
    WriteBackOutcome writeBackOnce(std::int64_t rowId, const PurchaseFields& fields);
    int indexOfRow(std::int64_t rowId) const noexcept;
    void writeInto(store::Query& query, const PurchaseFields& fields);

    store::Connection& connection_;
    store::Query& query_;
};

}  // namespace purchases
