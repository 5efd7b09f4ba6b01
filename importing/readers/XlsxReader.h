#pragma once

#include <string>

#include "importing/readers/SheetReader.h"

namespace importing {

// Reads a sheet of an Office Open XML workbook (.xlsx) as it is inflated: shared and inline
// strings, numbers, booleans, formulas' last values, dates by their cell's number format. A cell
// is placed by its reference, so the columns of skipped cells stay empty.
SheetFacts readXlsx(const std::string& path, const RowSink& sink, const ReadOptions& options);

}  // namespace importing
