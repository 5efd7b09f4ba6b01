#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace importing {

// The cells of the row being read, kept in one buffer that is reused for every row.
class RowCells {
  public:
    void clear();
    // The text of the cell being built; endCell() closes it.
    std::string& text() { return text_; }
    void endCell();
    // Places a whole cell at column (from 0), leaving the columns skipped before it empty.
    // A column at or before the last one placed is taken as the next one.
    void setCell(std::size_t column, std::string_view cell);
    bool blank() const { return text_.empty(); }
    std::size_t size() const { return ends_.size(); }
    // Valid until the next change of the row.
    const std::vector<std::string_view>& views();

  private:
    std::string text_;
    std::vector<std::size_t> ends_;
    std::vector<std::string_view> views_;
};

}  // namespace importing
