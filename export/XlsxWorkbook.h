#pragma once

#include <string>

#include "export/Workbook.h"

namespace workbook {

// An Excel workbook (.xlsx) holds one sheet of 1,048,576 rows: the header and 1,048,575 table
// rows. A larger table is refused before anything is written (the .xls continues on more
// sheets instead).
inline constexpr int kXlsxRowsPerSheet = 1048575;
inline constexpr int kXlsxMaxColumns = 16384;

// Writes table into file as an Excel workbook (.xlsx) with one worksheet: row 1 the column names
// in bold, each later row one table row; texts as texts (a code "001" stays "001"), numbers as
// numbers, every cell in 宋体 11 pt and each column as wide as ColumnWidths finds. The same rules
// as writeWorkbook() otherwise: the scratch file renamed into place, progress and cancellation,
// the permissions limit, and the values a cell cannot hold left out or cut and counted.
WriteResult writeXlsxWorkbook(const std::string& file, const TableSource& table,
                              const Progress& progress = {},
                              const std::string& permissionsLimit = {});

}  // namespace workbook
