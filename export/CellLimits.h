#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "export/Workbook.h"

namespace workbook {

// What a spreadsheet cell can hold, in both workbook formats: numbers up to Excel's largest
// (9.99999999999999E+307) and texts of up to 32,767 UTF-16 units.
inline constexpr double kLargestCellNumber = 9.99999999999999e307;
inline constexpr std::size_t kLongestCellText = 32767;

// The cell as a sheet holds it: a number out of range becomes no cell, a text too long is cut
// after its first kLongestCellText UTF-16 units (never inside a surrogate pair), an empty text is
// no cell. When adjustments is given, what was changed is counted there.
Cell withinLimits(const Cell& cell, CellAdjustments* adjustments = nullptr);

// Refuses, before anything is written, a table with more columns than a sheet holds.
void refuseMoreColumnsThan(int maxColumns, const TableSource& table);

// The longest start of a UTF-8 text that takes at most units UTF-16 units.
std::string_view firstUtf16Units(std::string_view utf8, std::size_t units);

// The number a number column's stored text stands for: a decimal number, or one of the texts the
// store gives a value that is not finite ("INF", "-INF", "NAN"). Empty when it is neither.
std::optional<double> storedNumber(std::string_view text);

}  // namespace workbook
