#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/WorkbookReader.h"

namespace testsupport {

struct XlsxFont {
    std::string name;
    double points = 0;
    bool bold = false;
    int charset = -1;  // -1: not given
};

// An .xlsx file unzipped and parsed as a reader of the format does: the cells in the form
// readWorkbook() gives them (texts with their "_xHHHH_" escapes undone), and what they look like.
struct XlsxBook {
    ReadWorkbook book;
    std::vector<XlsxFont> fonts;   // by font id; the first is the Normal style's
    std::vector<int> formatFonts;  // font id of each cell format
    std::map<std::pair<unsigned, unsigned>, int> cellFormats;  // (row, column) -> format
    std::map<unsigned, double> columnWidths;  // column from 0 -> width in characters
    std::map<std::pair<unsigned, unsigned>, std::string> cellTypes;  // the t attribute

    // The font a cell shows: its format's, or the Normal style's when it has none.
    const XlsxFont& fontAt(unsigned row, unsigned column) const;
};

XlsxBook readXlsxWorkbook(const std::string& file);

}  // namespace testsupport
