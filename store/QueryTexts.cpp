#include <algorithm>

#include "store/Query.h"
#include "store/TableCache.h"
#include "store/Values.h"

namespace store {

namespace {

TableRows::TextIndex textIndexOf(const TableRows& rows, int column) {
    TableRows::TextIndex index;
    index.reserve(rows.count());
    for (std::size_t row = 0; row < rows.count(); ++row) {
        if (rows.isNull(row, static_cast<std::size_t>(column))) continue;
        index.emplace_back(values::trimBlanks(rows.cell(row, static_cast<std::size_t>(column))),
                           static_cast<int>(row));
    }
    std::sort(index.begin(), index.end());
    return index;
}

}  // namespace

std::vector<int> Query::rowsWithText(int column, std::string_view text) const {
    if (!rows_ || column < 0 || column >= static_cast<int>(fields_.size())) return {};
    auto found = rows_->textIndexes.find(column);
    if (found == rows_->textIndexes.end())
        found = rows_->textIndexes.emplace(column, textIndexOf(*rows_, column)).first;
    const TableRows::TextIndex& index = found->second;
    const std::string_view wanted = values::trimBlanks(text);
    auto at = std::lower_bound(index.begin(), index.end(), std::pair(wanted, -1));
    std::vector<int> rows;
    for (; at != index.end() && at->first == wanted; ++at) rows.push_back(at->second);
    return rows;
}

}  // namespace store
