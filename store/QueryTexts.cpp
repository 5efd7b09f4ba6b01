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
        index.emplace(values::trimBlanks(rows.cell(row, static_cast<std::size_t>(column))),
                      static_cast<int>(row));
    }
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
    const auto [from, to] = index.equal_range(wanted);
    std::vector<int> rows;
    for (auto at = from; at != to; ++at) rows.push_back(at->second);
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace store
