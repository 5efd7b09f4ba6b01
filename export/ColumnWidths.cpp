#include "export/ColumnWidths.h"

#include <algorithm>
#include <charconv>

namespace workbook {
namespace {

// East Asian wide and full-width ranges, the emoji among them: what a sheet shows two
// characters wide.
bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

int numberWidth(double number) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, number);
    return written.ec == std::errc{} ? static_cast<int>(written.ptr - text) : 0;
}

}  // namespace

int displayWidth(std::string_view utf8) {
    int width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += isWide(c) ? 2 : 1;
        i += length;
    }
    return width;
}

ColumnWidths::ColumnWidths(const TableSource& table) : widest_(table.columnCount(), 0) {
    for (int column = 0; column < table.columnCount(); ++column)
        widest_[column] = displayWidth(table.columnName(column));
}

void ColumnWidths::add(int column, const Cell& cell) {
    int width = 0;
    if (cell.kind == Cell::Kind::Text)
        width = displayWidth(cell.text);
    else if (cell.kind == Cell::Kind::Number)
        width = numberWidth(cell.number);
    widest_[column] = std::max(widest_[column], width);
}

int ColumnWidths::characters(int column) const { return std::min(widest_[column], kMaxCharacters); }

}  // namespace workbook
