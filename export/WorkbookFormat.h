#pragma once

#include <string>

#include "export/Workbook.h"

namespace exporting {

// The two kinds of workbook an export writes: Excel 97-2003 (.xls), the default, and Excel's
// own format since 2007 (.xlsx).
enum class WorkbookFormat { Xls, Xlsx };

// The file written for the name chosen in the save dialog: an .xls gets ".xls" appended whatever
// the name ends with; an .xlsx gets ".xlsx" unless the name ends with it already (in any case).
std::string workbookFileName(const std::string& chosenName, WorkbookFormat format);

// Writes table into file in format (writeWorkbook() or writeXlsxWorkbook()).
workbook::WriteResult writeWorkbookAs(WorkbookFormat format, const std::string& file,
                                      const workbook::TableSource& table,
                                      const workbook::Progress& progress = {},
                                      const std::string& permissionsLimit = {});

}  // namespace exporting
