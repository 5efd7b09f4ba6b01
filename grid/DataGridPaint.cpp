#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "grid/DataGridImpl.h"
#include "store/Values.h"

namespace grid {

namespace {

const QColor kRowsColor = QColor::fromRgb(238, 238, 238);  // RowsColor 15658734
const QColor kFooterColor = QColor(Qt::cyan);
const QColor kLineColor = QColor(192, 192, 192);
constexpr int kCellPadding = 2;

Qt::Alignment horizontal(Qt::Alignment alignment) {
    const Qt::Alignment h = alignment & Qt::AlignHorizontal_Mask;
    return h ? h : Qt::AlignLeft;
}

// The raised (or, for a title button held down, sunken) edge of title and indicator cells.
void drawEdge(QPainter& painter, const QRect& rect, const QPalette& palette, bool sunken) {
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void drawSortMark(QPainter& painter, const QRect& cell, SortMark mark) {
    const int cx = cell.right() - 8;
    const int cy = cell.center().y();
    QPolygon triangle;
    if (mark == SortMark::Down)
        triangle << QPoint(cx - 4, cy - 2) << QPoint(cx + 4, cy - 2) << QPoint(cx, cy + 2);
    else
        triangle << QPoint(cx - 4, cy + 2) << QPoint(cx + 4, cy + 2) << QPoint(cx, cy - 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Qt::black));
    painter.drawPolygon(triangle);
    painter.setBrush(Qt::NoBrush);
}

void drawRowMarker(QPainter& painter, const QRect& cell, store::Query::State state) {
    const int right = cell.right() - 2;
    const int cy = cell.center().y();
    painter.setPen(QColor(Qt::black));
    switch (state) {
        case store::Query::State::Edit:  // an I-beam
            painter.drawLine(right - 3, cy - 5, right - 3, cy + 5);
            painter.drawLine(right - 5, cy - 5, right - 1, cy - 5);
            painter.drawLine(right - 5, cy + 5, right - 1, cy + 5);
            break;
        case store::Query::State::Insert:  // an asterisk
            painter.drawLine(right - 3, cy - 4, right - 3, cy + 4);
            painter.drawLine(right - 7, cy - 2, right + 1, cy + 2);
            painter.drawLine(right - 7, cy + 2, right + 1, cy - 2);
            break;
        default: {  // an arrow
            QPolygon arrow;
            arrow << QPoint(right - 5, cy - 4) << QPoint(right - 1, cy)
                  << QPoint(right - 5, cy + 4);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(Qt::black));
            painter.drawPolygon(arrow);
            painter.setBrush(Qt::NoBrush);
            break;
        }
    }
}

}  // namespace

void TDataGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    d->paint(painter, event->rect());
}

void TDataGrid::Impl::paint(QPainter& painter, const QRect& area) const {
    const int width = viewWidth();
    painter.fillRect(QRect(0, 0, width, q->height()), QColor(Qt::white));
    painter.setClipRect(QRect(0, dataTop(), width, rowsBottom() - dataTop()));
    paintRows(painter, area);
    painter.setClipRect(QRect(0, 0, width, q->height()));
    paintTitles(painter);
    paintFooter(painter);
    painter.setClipping(false);
}

QString TDataGrid::Impl::cellText(int row, int column) const {
    const int field = fields[static_cast<std::size_t>(column)];
    if (field < 0) return {};
    const std::string_view stored = query->fieldTextAt(row, field);
    if (stored.empty()) return {};
    if (columns[static_cast<std::size_t>(column)].displayFormat.isEmpty()) {
        if (query->fields()[static_cast<std::size_t>(field)].type == store::FieldType::Double)
            return QString::fromStdString(store::values::plainDecimalText(stored));
        return QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
    }
    return QString::fromStdString(store::values::displayText(stored));
}

void TDataGrid::Impl::paintRows(QPainter& painter, const QRect& area) const {
    const int rows = rowCount();
    if (rows == 0) return;
    const QPalette& palette = q->palette();
    const bool focused = q->hasFocus();
    const int current = query->currentIndex();
    const int columnCount = static_cast<int>(columns.size());
    const int right = columnLeft(columnCount);
    const int width = viewWidth();
    const int last = std::min(rows - 1, topRow + visibleRows() - 1);
    painter.setFont(cellFont);

    for (int row = topRow; row <= last; ++row) {
        const int y = rowTop(row);
        if (y > area.bottom() || y + rowHeight <= area.top()) continue;
        const bool selected = isSelected(row);
        QColor background = recordNumber(row) % 2 == 0 ? kRowsColor : QColor(Qt::white);
        QColor text = QColor(Qt::black);
        const bool highlighted = focused && (selected || row == current);
        if (highlighted) {
            background = palette.color(QPalette::Active, QPalette::Highlight);
            text = palette.color(QPalette::Active, QPalette::HighlightedText);
        } else if (selected) {
            background = palette.color(QPalette::Button);
        }
        painter.fillRect(QRect(indicatorWidth, y, std::max(0, right - indicatorWidth), rowHeight),
                         background);
        painter.setPen(text);
        for (int c = 0; c < columnCount; ++c) {
            const int left = columnLeft(c);
            const int cellWidth = columns[static_cast<std::size_t>(c)].width;
            if (left + cellWidth <= indicatorWidth) continue;
            if (left >= width) break;
            const QString value = cellText(row, c);
            if (value.isEmpty()) continue;
            const QRect textRect(left + kCellPadding, y, cellWidth - 2 * kCellPadding, rowHeight);
            painter.save();
            painter.setClipRect(QRect(std::max(left, indicatorWidth), y, cellWidth, rowHeight),
                                Qt::IntersectClip);
            if (cellTextColour && !highlighted)
                if (const std::optional<QColor> own = cellTextColour(row, c)) painter.setPen(*own);
            painter.drawText(
                textRect,
                static_cast<int>(horizontal(columns[static_cast<std::size_t>(c)].alignment) |
                                 Qt::AlignVCenter | Qt::TextSingleLine),
                value);
            painter.restore();
        }
        painter.setPen(kLineColor);
        painter.drawLine(indicatorWidth, y + rowHeight - 1, right - 1, y + rowHeight - 1);
        paintIndicator(painter, row, QRect(0, y, indicatorWidth, rowHeight));
    }
    painter.setPen(kLineColor);
    const int bottom = std::min(rowTop(last + 1), rowsBottom()) - 1;
    for (int c = 0; c < columnCount; ++c) {
        const int x = columnLeft(c) + columns[static_cast<std::size_t>(c)].width - 1;
        if (x >= indicatorWidth) painter.drawLine(x, dataTop(), x, bottom);
    }
}

void TDataGrid::Impl::paintIndicator(QPainter& painter, int row, const QRect& cell) const {
    const QPalette& palette = q->palette();
    painter.fillRect(cell, palette.color(QPalette::Button));
    drawEdge(painter, cell, palette, false);
    const bool current = row == query->currentIndex();
    if (!current && !isSelected(row)) return;
    painter.setPen(QColor(Qt::black));
    painter.setFont(cellFont);
    painter.drawText(cell.adjusted(1, 1, -1, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QStringLiteral("NO.") + QString::number(recordNumber(row)));
    if (current) drawRowMarker(painter, cell, query->state());
}

void TDataGrid::Impl::paintTitles(QPainter& painter) const {
    const QPalette& palette = q->palette();
    const QColor face = palette.color(QPalette::Button);
    const int band = titles.bandHeight;
    const int columnCount = static_cast<int>(columns.size());
    painter.setFont(titleFont);

    painter.save();
    painter.setClipRect(QRect(indicatorWidth, 0, std::max(0, viewWidth() - indicatorWidth), band),
                        Qt::IntersectClip);
    const auto titleCell = [&](const QRect& rect, const QString& text, bool pressed,
                               SortMark mark) {
        painter.fillRect(rect, face);
        drawEdge(painter, rect, palette, pressed);
        const int markSpace = mark == SortMark::None ? 0 : 16;
        QRect textRect = rect.adjusted(2, 0, -2 - markSpace, 0);
        if (pressed) textRect.translate(1, 1);
        painter.setPen(QColor(Qt::black));
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, text);
        if (mark != SortMark::None) drawSortMark(painter, rect, mark);
    };
    for (int c = 0; c < columnCount; ++c) {
        const auto i = static_cast<std::size_t>(c);
        const int left = columnLeft(c);
        const QRect rect = titles.twoLevel[i] ? QRect(left, titles.upperHeight, columns[i].width,
                                                      band - titles.upperHeight)
                                              : QRect(left, 0, columns[i].width, band);
        titleCell(rect, titles.lower[i], pressedTitle == c && titleDown, marks.at(c));
    }
    for (const UpperCell& cell : titles.upperCells) {
        const int left = columnLeft(cell.firstColumn);
        const int right = columnLeft(cell.lastColumn + 1);
        titleCell(QRect(left, 0, right - left, titles.upperHeight), cell.text, false,
                  SortMark::None);
    }
    painter.restore();

    const QRect corner(0, 0, indicatorWidth, band);
    painter.fillRect(corner, face);
    drawEdge(painter, corner, palette, false);
    painter.setPen(QColor(Qt::black));
    painter.drawText(corner.adjusted(0, 5, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("行号"));
}

QFont TDataGrid::Impl::footerFont(int column) const {
    QFont font = cellFont;
    const std::optional<bool>& own = columns[static_cast<std::size_t>(column)].footerBold;
    font.setBold(own.value_or(footerBold));
    return font;
}

void TDataGrid::Impl::paintFooter(QPainter& painter) const {
    const QPalette& palette = q->palette();
    const int top = footerTop();
    const int columnCount = static_cast<int>(columns.size());
    const int right = std::min(columnLeft(columnCount), viewWidth());

    painter.save();
    painter.setClipRect(
        QRect(indicatorWidth, top, std::max(0, viewWidth() - indicatorWidth), footerHeight),
        Qt::IntersectClip);
    painter.fillRect(QRect(indicatorWidth, top, std::max(0, right - indicatorWidth), footerHeight),
                     kFooterColor);
    for (int c = 0; c < columnCount; ++c) {
        const GridColumn& column = columns[static_cast<std::size_t>(c)];
        const QRect cell(columnLeft(c), top, column.width, footerHeight);
        painter.setPen(kLineColor);
        painter.drawLine(cell.topRight(), cell.bottomRight());
        painter.drawLine(cell.topLeft(), cell.topRight());
        const QString text = totals.text(c);
        if (text.isEmpty()) continue;
        painter.setFont(footerFont(c));
        painter.setPen(QColor(Qt::black));
        painter.drawText(cell.adjusted(kCellPadding, 0, -kCellPadding, 0),
                         static_cast<int>(horizontal(column.footerAlignment) | Qt::AlignVCenter |
                                          Qt::TextSingleLine),
                         text);
    }
    painter.restore();

    const QRect corner(0, top, indicatorWidth, footerHeight);
    painter.fillRect(corner, palette.color(QPalette::Button));
    drawEdge(painter, corner, palette, false);
}

}  // namespace grid
