#include "grid/RowSelection.h"

#include <algorithm>

namespace grid {

void RowSelection::toggle(Bookmark mark) {
    if (!marks_.erase(mark)) marks_.insert(mark);
}

void RowSelection::addRange(const store::Query& query, int from, int to) {
    if (from > to) std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, query.recordCount() - 1);
    for (int row = from; row <= to; ++row) marks_.insert(query.bookmarkAt(row));
}

void RowSelection::removeRange(const store::Query& query, int from, int to) {
    if (from > to) std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, query.recordCount() - 1);
    for (int row = from; row <= to; ++row) marks_.erase(query.bookmarkAt(row));
}

std::vector<int> RowSelection::rowsInOrder(const store::Query& query) const {
    std::vector<int> rows;
    rows.reserve(marks_.size());
    for (Bookmark mark : marks_) {
        const int row = query.indexOf(mark);
        if (row >= 0) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace grid
