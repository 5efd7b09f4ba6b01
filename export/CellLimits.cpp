#include "export/CellLimits.h"

#include <cmath>
#include <limits>

#include "store/Error.h"
#include "store/Values.h"

namespace workbook {

std::string_view firstUtf16Units(std::string_view utf8, std::size_t units) {
    // Every UTF-16 unit takes at least one byte: a text no longer in bytes fits whole.
    if (utf8.size() <= units) return utf8;
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t needs = length == 4 ? 2 : 1;  // beyond the BMP: a surrogate pair
        if (used + needs > units) break;
        used += needs;
        i += length;
    }
    return utf8.substr(0, std::min(i, utf8.size()));
}

Cell withinLimits(const Cell& cell, CellAdjustments* adjustments) {
    switch (cell.kind) {
        case Cell::Kind::Empty:
            return cell;
        case Cell::Kind::Number:
            if (std::isfinite(cell.number) && std::fabs(cell.number) <= kLargestCellNumber)
                return cell;
            if (adjustments != nullptr) ++adjustments->numbersLeftEmpty;
            return Cell::empty();
        case Cell::Kind::Text: {
            if (cell.text.empty()) return Cell::empty();
            const std::string_view kept = firstUtf16Units(cell.text, kLongestCellText);
            if (kept.size() == cell.text.size()) return cell;
            if (adjustments != nullptr) ++adjustments->textsCut;
            return Cell::ofText(kept);
        }
    }
    return cell;
}

void refuseMoreColumnsThan(int maxColumns, const TableSource& table) {
    if (table.columnCount() > maxColumns)
        throw store::StoreError("导出数据失败：工作表最多容纳 " + std::to_string(maxColumns) +
                                " 列，而数据有 " + std::to_string(table.columnCount()) + " 列");
}

std::optional<double> storedNumber(std::string_view text) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (text == "INF") return kInfinity;
    if (text == "-INF") return -kInfinity;
    if (text == "NAN") return std::numeric_limits<double>::quiet_NaN();
    return store::values::parseNumber(text);
}

}  // namespace workbook
