#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A workbook file as a reader made by others sees it: every worksheet with its size and its
// cells. A cell is kept as "t:" + its text, "n:" + its number in the shortest round-trip form, or
// absent when the reader reports no value.
struct ReadSheet {
    std::string name;
    unsigned rows = 0;
    unsigned columns = 0;
    std::map<std::pair<unsigned, unsigned>, std::string> cells;  // (row, column) from 0
    // xlrd only: each cell's font, and each column's width in 1/256 of a character.
    std::map<std::pair<unsigned, unsigned>, unsigned> cellFonts;
    std::map<unsigned, unsigned> columnWidths;

    std::string at(unsigned row, unsigned column) const;  // "" when there is no cell
};

struct ReadFont {
    std::string name;
    unsigned characterSet = 0;
    unsigned height = 0;  // twips
    unsigned weight = 0;  // 400 regular, 700 bold
};

struct ReadWorkbook {
    bool opened = false;
    std::string error;      // why the reader refused the file
    unsigned codePage = 0;  // FreeXL only
    std::vector<ReadSheet> sheets;
    std::map<unsigned, ReadFont> fonts;  // xlrd only, by font index
    std::vector<std::string> notes;      // xlrd only: its warnings about the file's structure

    const ReadFont& fontOf(unsigned sheet, unsigned row, unsigned column) const;
};

// Reads with FreeXL. FreeXL refuses a file whose shared strings run through three or more
// CONTINUE records.
ReadWorkbook readWorkbook(const std::string& file);

// Reads with xlrd (/usr/bin/python3 and Debian's python3-xlrd), which takes texts of any length
// and also reports fonts and column widths. A sheet's size is its last cell + 1.
ReadWorkbook readWorkbookWithXlrd(const std::string& file);

// The text of "t:" cells, the number of "n:" cells, as the tests write them.
std::string textCell(const std::string& text);
std::string numberCell(double value);

}  // namespace testsupport
