#include "grid/TitleLayout.h"

#include <QFontMetrics>
#include <algorithm>
#include <climits>

#include "grid/SortMarks.h"

namespace grid {

namespace {
constexpr int kLevelPadding = 10;
constexpr int kTextMargin = 4;
constexpr int kSortMarkSpace = 16;
}  // namespace

void splitCaption(const GridColumn& column, QString& upper, QString& lower, bool& twoLevel) {
    const QString caption = column.caption.isEmpty() ? column.field : column.caption;
    const qsizetype bar = caption.indexOf(QLatin1Char('|'));
    twoLevel = bar >= 0;
    if (twoLevel) {
        upper = caption.left(bar);
        lower = caption.mid(bar + 1);
    } else {
        upper.clear();
        lower = caption;
    }
}

int titleTextWidth(int cellWidth, bool hasSortMark) {
    return std::max(1, cellWidth - kTextMargin - (hasSortMark ? kSortMarkSpace : 0));
}

int wrappedTextHeight(const QFontMetrics& metrics, const QString& text, int width) {
    if (text.isEmpty()) return metrics.height();
    const QRect bounds = metrics.boundingRect(QRect(0, 0, std::max(1, width), INT_MAX / 2),
                                              Qt::TextWordWrap | Qt::AlignHCenter, text);
    return bounds.height();
}

TitleLayout layoutTitles(const std::vector<GridColumn>& columns, const SortMarks& marks,
                         const QFontMetrics& metrics) {
    TitleLayout layout;
    const int count = static_cast<int>(columns.size());
    layout.upper.resize(columns.size());
    layout.lower.resize(columns.size());
    layout.twoLevel.resize(columns.size());
    for (int c = 0; c < count; ++c) {
        QString upper, lower;
        bool twoLevel = false;
        splitCaption(columns[static_cast<std::size_t>(c)], upper, lower, twoLevel);
        layout.upper[static_cast<std::size_t>(c)] = upper;
        layout.lower[static_cast<std::size_t>(c)] = lower;
        layout.twoLevel[static_cast<std::size_t>(c)] = twoLevel;
    }
    for (int c = 0; c < count; ++c) {
        if (!layout.twoLevel[static_cast<std::size_t>(c)]) continue;
        const QString& text = layout.upper[static_cast<std::size_t>(c)];
        if (!layout.upperCells.empty() && layout.upperCells.back().lastColumn == c - 1 &&
            layout.upperCells.back().text == text) {
            layout.upperCells.back().lastColumn = c;
        } else {
            layout.upperCells.push_back({c, c, text});
        }
    }

    int upperHeight = 0;
    for (const UpperCell& cell : layout.upperCells) {
        int width = 0;
        for (int c = cell.firstColumn; c <= cell.lastColumn; ++c)
            width += columns[static_cast<std::size_t>(c)].width;
        upperHeight = std::max(
            upperHeight,
            wrappedTextHeight(metrics, cell.text, titleTextWidth(width, false)) + kLevelPadding);
    }
    int lowerHeight = 0;
    int singleHeight = metrics.height() + kLevelPadding;
    for (int c = 0; c < count; ++c) {
        const auto i = static_cast<std::size_t>(c);
        const int textWidth = titleTextWidth(columns[i].width, marks.at(c) != SortMark::None);
        const int height = wrappedTextHeight(metrics, layout.lower[i], textWidth) + kLevelPadding;
        if (layout.twoLevel[i])
            lowerHeight = std::max(lowerHeight, height);
        else
            singleHeight = std::max(singleHeight, height);
    }
    layout.upperHeight = upperHeight;
    layout.bandHeight = std::max(singleHeight, upperHeight + lowerHeight);
    return layout;
}

}  // namespace grid
