#pragma once

#include <QString>
#include <vector>

#include "grid/GridColumn.h"

class QFontMetrics;

namespace grid {

class SortMarks;

// A run of adjacent two-level columns whose upper parts are equal: one upper cell spans them.
struct UpperCell {
    int firstColumn = 0;
    int lastColumn = 0;
    QString text;
};

// How the title band of a grid is divided among its columns.
struct TitleLayout {
    std::vector<QString> upper;  // empty for a single-part title
    std::vector<QString> lower;  // the whole caption of a single-part title
    std::vector<bool> twoLevel;
    std::vector<UpperCell> upperCells;
    int upperHeight = 0;  // height of the upper level of two-level titles
    int bandHeight = 0;   // height of the whole title band
};

// Splits a caption at its first "|"; an empty caption shows the field name.
void splitCaption(const GridColumn& column, QString& upper, QString& lower, bool& twoLevel);

// The title cells and the level heights: each level is as high as its word-wrapped text needs
// (in the cell width less 4 pixels, less 16 more where a sort mark is drawn) plus 10 pixels.
TitleLayout layoutTitles(const std::vector<GridColumn>& columns, const SortMarks& marks,
                         const QFontMetrics& metrics);

// Height of text word-wrapped into the given width.
int wrappedTextHeight(const QFontMetrics& metrics, const QString& text, int width);

// Width left for the title text of a cell.
int titleTextWidth(int cellWidth, bool hasSortMark);

}  // namespace grid
