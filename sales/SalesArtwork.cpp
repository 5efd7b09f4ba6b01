#include "sales/SalesArtwork.h"

#include <QPainter>
#include <QPainterPath>

#include "panels/Drawing.h"

namespace salesart {

namespace {

const QColor kDeepGreen(16, 96, 84);
const QColor kSea(40, 150, 130);
const QColor kPale(228, 244, 240);
const QColor kGold(255, 208, 84);

void drawGlyph(QPainter& p, Glyph glyph) {
    const QPen line(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case Glyph::Sell: {  // a price tag
            QPainterPath tag;
            tag.moveTo(5, 15);
            tag.lineTo(15, 5);
            tag.lineTo(27, 5);
            tag.lineTo(27, 17);
            tag.lineTo(17, 27);
            tag.closeSubpath();
            p.fillPath(tag, kGold);
            p.drawPath(tag);
            p.drawEllipse(QPointF(22, 10), 2, 2);
            break;
        }
        case Glyph::Details:  // a sheet with lines
            p.drawRoundedRect(QRectF(7, 4, 18, 23), 2, 2);
            for (int y : {10, 15, 20}) p.drawLine(11, y, 21, y);
            break;
        case Glyph::Search:
            p.drawEllipse(QPointF(13, 13), 7, 7);
            p.drawLine(18, 18, 26, 26);
            break;
        case Glyph::Refresh: {
            p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 290 * 16);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(24, 4), QPointF(27, 12), QPointF(19, 11)}));
            break;
        }
        case Glyph::Print:
            p.drawRect(QRectF(9, 4, 14, 8));
            p.drawRoundedRect(QRectF(4, 12, 24, 10), 2, 2);
            p.fillRect(QRectF(10, 19, 12, 8), kGold);
            p.drawRect(QRectF(10, 19, 12, 8));
            break;
        case Glyph::Export:
            p.drawRoundedRect(QRectF(5, 5, 15, 21), 2, 2);
            p.drawLine(14, 15, 27, 15);
            p.drawLine(22, 10, 27, 15);
            p.drawLine(22, 20, 27, 15);
            break;
        case Glyph::Close:
            p.drawEllipse(QPointF(16, 15.5), 11, 11);
            p.drawLine(11, 10, 21, 21);
            p.drawLine(21, 10, 11, 21);
            break;
    }
}

}  // namespace

QPixmap background(QSize size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    artwork::fillBandedBackdrop(p, size, {kDeepGreen, kSea, kPale, QColor(204, 232, 224)}, 94);
    // A row of faint coins along the top band.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 26));
    for (int x = 40; x < size.width(); x += 90) p.drawEllipse(QPointF(x, 30), 22, 22);
    return pixmap;
}

QIcon toolGlyph(Glyph glyph) {
    QPixmap pixmap = artwork::transparentPixmap(QSize(32, 31));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawGlyph(p, glyph);
    return QIcon(pixmap);
}

QPixmap closePicture() {
    QPixmap pixmap = artwork::transparentPixmap(QSize(16, 16));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
    return pixmap;
}

}  // namespace salesart
