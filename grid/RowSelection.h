#pragma once

#include <set>
#include <vector>

#include "store/Query.h"

namespace grid {

// The grid's selection: a set of row bookmarks without duplicates, so it stays right while rows
// are deleted before or after the selected ones.
class RowSelection {
  public:
    using Bookmark = store::Query::Bookmark;

    void clear() noexcept { marks_.clear(); }
    int count() const noexcept { return static_cast<int>(marks_.size()); }
    bool empty() const noexcept { return marks_.empty(); }
    bool contains(Bookmark mark) const { return marks_.count(mark) != 0; }
    void add(Bookmark mark) { marks_.insert(mark); }
    void remove(Bookmark mark) { marks_.erase(mark); }
    void toggle(Bookmark mark);
    // Adds (or removes) every row between two positions, both included.
    void addRange(const store::Query& query, int from, int to);
    void removeRange(const store::Query& query, int from, int to);
    // The positions of the selected rows still in the result set, in row order.
    std::vector<int> rowsInOrder(const store::Query& query) const;

  private:
    std::set<Bookmark> marks_;
};

}  // namespace grid
