#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Decimal.h"
#include "store/Schema.h"

namespace store {
class Connection;
class Statement;
}  // namespace store

namespace sales {

// The goods row's running figures that a sale and a return move, in the order they are read.
inline constexpr std::array<const char*, 5> kMovedColumns = {
    store::schema::column::kSaleQuantity, store::schema::column::kSaleAmount,
    store::schema::column::kSaleProfit, store::schema::column::kStockQuantity,
    store::schema::column::kStockAmount};

// The numbers in these columns of one row of table, by its ID, as the file holds them now, each
// read as the lists read it (the value of the stored number's shortest text); none when the row is
// gone. A stored text that is not a number stops with the store's conversion message. Read for a
// write in the caller's transaction: on a server the row stays locked until that transaction
// ends, so that no other counter moves its figures in between.
std::optional<std::vector<store::Decimal>> storedNumbers(store::Connection& connection,
                                                         const std::string& table,
                                                         std::int64_t rowId,
                                                         const std::vector<std::string>& columns);

// The number in column index of the statement's current row, read the same way; name is the
// column's name for the message.
store::Decimal storedNumber(const store::Statement& row, int index, const std::string& name);

}  // namespace sales
