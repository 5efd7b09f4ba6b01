#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/TextMap.h"
#include "store/Values.h"

namespace store {
class Connection;
class Query;
}  // namespace store

// The lowest stock the shop keeps of each goods code (最低库存), and what falls to it. The stock of
// a code is the sum of 库存数量 over every 表1 row with that code (its blanks at the ends left
// out), whatever lot the rows came from.
namespace stock {

using store::values::Total;

// The one rule of the program: a code is low when its stock is at or below its level.
constexpr bool isLow(Total stock, Total level) noexcept { return stock <= level; }

// The stock of a code over the rows of a goods query on 表1, as ten-thousandths: a stock that is
// empty or not a number adds nothing. Kept per code with the query's rows, so that it costs a
// look-up, also right after a sale.
Total stockOfCode(const store::Query& goods, std::string_view code);

struct Level {
    Total level = 0;
    bool told = false;  // the shop has been told the code fell to it
};
using Levels = store::TextMap<Level>;

// Every level the file holds, by code.
Levels readLevels(store::Connection& connection);

// The level of one code; none when the code has none.
std::optional<Level> levelOf(store::Connection& connection, std::string_view code);

// Sets the level of a code (blanks at the ends of the code left out), or removes it when the
// text is empty or blanks. A code already at or below its new level counts as told: the shop
// sees its stock while it sets the level, and is told again only after a new dip. Throws
// StoreError with the message for a text that is not a number or is below 0.
void setLevel(store::Connection& connection, const store::Query& goods, std::string_view code,
              std::string_view levelText);

// After a change of 表1 that touched these goods codes — a sale, a return, a correction or
// deletion of a sale or a purchase, a purchase, an import — decides what the shop is to be told,
// once per dip: a code with a level that is low now and was not told yet gives a notice and is
// stored as told; a told code whose stock rose above its level again is stored as not told, so
// that its next fall is told. goods is an open query on 表1 holding the rows after the change.
// Returns the notices' texts, in the order of the codes. Writes in a transaction of its own:
// call it after the change was committed.
std::vector<std::string> lowStockNotices(store::Connection& connection, const store::Query& goods,
                                         const std::vector<std::string>& touchedCodes);
// lowStockNotices' texts joined by separator; empty when there is nothing to tell.
std::string lowStockNoticeText(store::Connection& connection, const store::Query& goods,
                               const std::vector<std::string>& touchedCodes,
                               std::string_view separator);
// The same for a caller without a goods query: 表1 is read on the connection.
std::vector<std::string> lowStockNotices(store::Connection& connection,
                                         const std::vector<std::string>& touchedCodes);

// lowStockNotices' texts joined by separator, for a caller without a goods query.
std::string lowStockNoticeText(store::Connection& connection,
                               const std::vector<std::string>& touchedCodes,
                               std::string_view separator);
// Every code that has a level, for a change that may have touched any of them (an import, or
// taking one back).
std::vector<std::string> levelledCodes(store::Connection& connection);

// The goods codes of these rows of a goods query, for lowStockNotices after they changed.
std::vector<std::string> codesOfRows(const store::Query& goods, const std::vector<int>& rows);

// The notice of a code that fell to its level.
std::string lowStockNotice(std::string_view code, std::string_view name, Total stock, Total level);

// One line of the 库存预警 list: a low code with the texts of its newest goods row.
struct LowStockLine {
    std::string code, name, model, size, unit;
    Total stock = 0;
    Total level = 0;
    Total shortfall() const noexcept { return level - stock; }
};
// The low codes among the levels that have goods rows, the largest shortfall first (ties by
// code).
std::vector<LowStockLine> lowStockLines(const store::Query& goods, const Levels& levels);

// Writes the low codes (lowStockLines) into the table 库存预警 in their order, in place of what it
// held, in one transaction: the list, its report and its export read them there.
void stageLowStock(store::Connection& connection, const store::Query& goods);

}  // namespace stock
