#include <optional>

#include "store/Query.h"
#include "store/TableCache.h"

namespace store {

values::Total Query::columnTotal(int column) const {
    if (!rows_ || column < 0 || column >= static_cast<int>(fields_.size())) return 0;
    // While a row is being edited its buffer counts, and that sum is not one of the rows'.
    const bool ofTheRows = state_ == State::Browse;
    if (ofTheRows) {
        if (auto it = rows_->columnTotals.find(column); it != rows_->columnTotals.end())
            return it->second;
    }
    values::Total total = 0;
    const int rows = recordCount();
    for (int row = 0; row < rows; ++row) {
        const std::string_view text = fieldTextAt(row, column);
        if (text.empty()) continue;
        if (const std::optional<double> number = values::parseNumber(text))
            total = values::addTenThousandths(total, *number);
    }
    if (ofTheRows) rows_->columnTotals[column] = total;
    return total;
}

}  // namespace store
