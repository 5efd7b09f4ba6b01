#pragma once

#include <vector>

#include "export/Workbook.h"

namespace workbook {

// How wide each column of an exported sheet must be to show its widest value whole, header
// included, in characters of the sheet's default width: a wide (CJK, full-width) character
// counts two, a number the length of its shortest text. Filled while the rows are read anyway,
// so working the widths out costs no pass of its own.
class ColumnWidths {
  public:
    // The columns of table, each at least as wide as its name.
    explicit ColumnWidths(const TableSource& table);

    void add(int column, const Cell& cell);

    // The column's width in characters, at most kMaxCharacters.
    int characters(int column) const;

    // The widest a column is made, however long its texts.
    static constexpr int kMaxCharacters = 50;

  private:
    std::vector<int> widest_;
};

// The display width of a UTF-8 text in characters, a wide character counting two.
int displayWidth(std::string_view utf8);

}  // namespace workbook
