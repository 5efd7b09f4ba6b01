#include "grid/SortMarks.h"

namespace grid {

SortMark SortMarks::at(int column) const {
    if (column < 0 || column >= static_cast<int>(marks_.size())) return SortMark::None;
    return marks_[static_cast<std::size_t>(column)];
}

void SortMarks::click(int column, bool ctrl) {
    if (column < 0 || column >= static_cast<int>(marks_.size())) return;
    SortMark& mark = marks_[static_cast<std::size_t>(column)];
    const SortMark before = mark;
    if (!ctrl) {
        for (SortMark& other : marks_) other = SortMark::None;
    }
    switch (before) {
        case SortMark::None:
            mark = SortMark::Down;
            break;
        case SortMark::Down:
            mark = SortMark::Up;
            break;
        case SortMark::Up:
            mark = ctrl ? SortMark::None : SortMark::Down;
            break;
    }
}

}  // namespace grid
