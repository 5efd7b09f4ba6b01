#pragma once

#include <string>

#include "importing/readers/SheetReader.h"

namespace importing {

// Reads an Excel 97–2003 workbook (.xls), the sheet's records streamed from its compound file
// row by row: only the shared strings are held whole. A table that our export (or any writer
// filling sheets to Excel's 65,536 rows) spread over several sheets is read on as one: when the
// first sheet is asked for, every sheet but the last is full and every sheet begins with the
// first one's header row, the later sheets follow without their header, their rows numbered on
// from the sheet before (SheetFacts::sheetsRead tells how many were read).
SheetFacts readXls(const std::string& path, const RowSink& sink, const ReadOptions& options);

}  // namespace importing
