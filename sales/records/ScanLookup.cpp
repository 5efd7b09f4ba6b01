#include "sales/records/ScanLookup.h"

#include <optional>

#include "store/Decimal.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Values.h"

namespace sales {

namespace {

namespace column = store::schema::column;

std::optional<store::Decimal> stockAt(const store::Query& goods, int row, int stockColumn) {
    const std::optional<store::Decimal> stock =
        store::Decimal::parse(goods.fieldTextAt(row, stockColumn));
    if (!stock) return std::nullopt;
    return stock->roundedToDecimals(2);
}

}  // namespace

ScanMatch findGoodsByCode(const store::Query& goods, std::string_view code) {
    ScanMatch match;
    const int codeColumn = goods.fieldIndex(column::kGoodsCode);
    const int stockColumn = goods.fieldIndex(column::kStockQuantity);
    if (!goods.isOpen() || codeColumn < 0 || stockColumn < 0) return match;

    match.code = std::string(store::values::trimBlanks(code));
    if (match.code.empty()) return match;
    const std::vector<int> rows = goods.rowsWithText(codeColumn, match.code);
    if (rows.empty()) return match;
    const store::Decimal zero = store::Decimal::read("0");
    const store::Decimal one = store::Decimal::read("1");
    int withStock = 0;
    int oldestWithStock = -1;
    int oldestWithAUnit = -1;
    const auto older = [&goods](int row, int than) {
        return than < 0 || goods.rowIdAt(row) < goods.rowIdAt(than);
    };
    for (const int row : rows) {
        const std::optional<store::Decimal> stock = stockAt(goods, row, stockColumn);
        if (!stock || !(*stock > zero)) continue;
        ++withStock;
        if (older(row, oldestWithStock)) oldestWithStock = row;
        if (!(*stock < one) && older(row, oldestWithAUnit)) oldestWithAUnit = row;
    }
    match.row = oldestWithAUnit >= 0 ? oldestWithAUnit : oldestWithStock;
    match.outcome = withStock > 0 ? ScanMatch::Outcome::Found : ScanMatch::Outcome::NoStock;
    match.severalRows = withStock > 1;
    return match;
}

}  // namespace sales
