#pragma once

#include <vector>

namespace grid {

enum class SortMark { None, Down, Up };

// The sort marks of a grid's titles. They are only shown: the rows keep the order in which the
// database returned them.
class SortMarks {
  public:
    void resize(int columnCount) {
        marks_.assign(static_cast<std::size_t>(columnCount), SortMark::None);
    }
    SortMark at(int column) const;
    // A click on a column's title: without Ctrl every other mark is cleared first; the clicked
    // mark then goes none -> down -> up -> down, or up -> none when Ctrl is held.
    void click(int column, bool ctrl);

  private:
    std::vector<SortMark> marks_;
};

}  // namespace grid
