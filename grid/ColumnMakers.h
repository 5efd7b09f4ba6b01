#pragma once

#include <QString>

#include "grid/GridColumn.h"

// The pieces the lists' column tables are written with.
namespace grid {

// A column of field under caption ("上|下" for a two-level title, "" for the field name).
GridColumn textColumn(const char* field, const char* caption, int width,
                      Qt::Alignment alignment = Qt::AlignLeft);
// A centred number column shown as "#0.##".
GridColumn numberColumn(const char* field, const char* caption, int width);
// The column with the centred footer text "合计".
GridColumn withTotalLabel(GridColumn column);
// The column with its sum, centred, in footerFormat ("" for the total's own shortest form).
GridColumn withSum(GridColumn column, const QString& footerFormat, std::optional<bool> bold = {});

}  // namespace grid
