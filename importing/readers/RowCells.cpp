#include "importing/readers/RowCells.h"

namespace importing {

void RowCells::clear() {
    text_.clear();
    ends_.clear();
}

void RowCells::endCell() { ends_.push_back(text_.size()); }

void RowCells::setCell(std::size_t column, std::string_view cell) {
    while (ends_.size() < column) endCell();
    text_.append(cell);
    endCell();
}

const std::vector<std::string_view>& RowCells::views() {
    views_.clear();
    std::size_t begin = 0;
    for (const std::size_t end : ends_) {
        views_.emplace_back(text_.data() + begin, end - begin);
        begin = end;
    }
    return views_;
}

}  // namespace importing
