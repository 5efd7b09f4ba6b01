#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A workbook file as FreeXL reads it: every worksheet with its size and its cells. A cell is
// kept as "t:" + its text, "n:" + its number in the shortest round-trip form, or absent when the
// reader reports no value.
struct ReadSheet {
    std::string name;
    unsigned rows = 0;
    unsigned columns = 0;
    std::map<std::pair<unsigned, unsigned>, std::string> cells;  // (row, column) from 0

    std::string at(unsigned row, unsigned column) const;  // "" when there is no cell
};

struct ReadWorkbook {
    bool opened = false;
    std::string error;  // why FreeXL refused the file
    unsigned codePage = 0;
    std::vector<ReadSheet> sheets;
};

ReadWorkbook readWorkbook(const std::string& file);

// The text of "t:" cells, the number of "n:" cells, as the tests write them.
std::string textCell(const std::string& text);
std::string numberCell(double value);

}  // namespace testsupport
