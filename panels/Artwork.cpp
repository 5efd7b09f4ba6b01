#include "panels/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "panels/Drawing.h"
#include "platform/Fonts.h"

namespace artwork {

namespace {

const QColor kDeepBlue(18, 72, 140);
const QColor kSkyBlue(64, 140, 214);
const QColor kPaleBlue(226, 238, 250);

void drawBoxMark(QPainter& p, const QRectF& r, const QColor& body, const QColor& lid) {
    // A stacked goods box: the program's mark.
    const qreal w = r.width();
    const qreal h = r.height();
    QPainterPath front;
    front.addRoundedRect(QRectF(r.left() + w * 0.12, r.top() + h * 0.38, w * 0.76, h * 0.5),
                         w * 0.06, w * 0.06);
    p.fillPath(front, body);
    QPolygonF top;
    top << QPointF(r.left() + w * 0.08, r.top() + h * 0.40)
        << QPointF(r.left() + w * 0.30, r.top() + h * 0.14)
        << QPointF(r.left() + w * 0.70, r.top() + h * 0.14)
        << QPointF(r.left() + w * 0.92, r.top() + h * 0.40);
    p.setBrush(lid);
    p.setPen(Qt::NoPen);
    p.drawPolygon(top);
    p.fillRect(QRectF(r.left() + w * 0.44, r.top() + h * 0.14, w * 0.12, h * 0.44),
               QColor(255, 214, 92));
}

}  // namespace

QPixmap background(QSize size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = size.width();
    const int h = size.height();

    fillBandedBackdrop(p, size, {kDeepBlue, kSkyBlue, kPaleBlue, QColor(200, 220, 242)}, 93);

    // Soft waves across the top band.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const qreal base = 22 + i * 9;
        wave.moveTo(0, base);
        wave.cubicTo(w * 0.3, base - 18, w * 0.6, base + 18, w, base - 6);
        wave.lineTo(w, 0);
        wave.lineTo(0, 0);
        wave.closeSubpath();
        p.fillPath(wave, QColor(255, 255, 255, 18 + i * 6));
    }

    // The program's mark and name in the bottom band, left of the contacts.
    drawBoxMark(p, QRectF(16, h - 34, 30, 30), QColor(255, 255, 255, 220),
                QColor(255, 255, 255, 170));
    p.setPen(Qt::white);
    p.setFont(platform::pixelFont("宋体", 15, true));
    p.drawText(QRectF(52, h - 34, 380, 30), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Quenvar进销存管理软件 · 进货 销售 库存"));
    return pixmap;
}

namespace {

// A filled disc, with the pen left ready for the white mark drawn on it.
void drawBadge(QPainter& p, const QColor& color) {
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
}

}  // namespace

QIcon toolGlyph(Glyph glyph) {
    QPixmap pixmap = transparentPixmap(QSize(16, 16));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(kDeepBlue, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    switch (glyph) {
        case Glyph::Add:
            drawBadge(p, QColor(76, 175, 80));
            p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
            p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
            break;
        case Glyph::Edit:
            p.setPen(QPen(QColor(230, 140, 30), 3.0, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(4, 12), QPointF(12.5, 3.5));
            p.setPen(QPen(kDeepBlue, 1.5));
            p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
            p.drawLine(QPointF(2.5, 13.5), QPointF(4, 12));
            break;
        case Glyph::Delete:
            drawBadge(p, QColor(220, 60, 50));
            p.drawLine(QPointF(5, 5), QPointF(11, 11));
            p.drawLine(QPointF(11, 5), QPointF(5, 11));
            break;
        case Glyph::Search:
            p.setBrush(QColor(255, 255, 255, 200));
            p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
            p.setPen(QPen(kDeepBlue, 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 10), QPointF(14, 14));
            break;
        case Glyph::Refresh: {
            p.setPen(QPen(QColor(40, 150, 110), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 290 * 16);
            QPolygonF head;
            head << QPointF(9.5, 0.5) << QPointF(14.5, 2.8) << QPointF(10.2, 6.3);
            p.setBrush(QColor(40, 150, 110));
            p.setPen(Qt::NoPen);
            p.drawPolygon(head);
            break;
        }
        case Glyph::Print:
            p.setPen(QPen(kDeepBlue, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(120, 130, 150));
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 10.5, 7, 4.5));
            break;
        case Glyph::Export:
            p.setPen(QPen(QColor(30, 120, 60), 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 10, 13));
            p.drawLine(QPointF(1.5, 5.5), QPointF(11.5, 5.5));
            p.drawLine(QPointF(1.5, 9.5), QPointF(11.5, 9.5));
            p.drawLine(QPointF(6.5, 1.5), QPointF(6.5, 14.5));
            p.setPen(QPen(QColor(230, 120, 20), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(9, 12), QPointF(15, 12));
            p.drawLine(QPointF(12.5, 9.5), QPointF(15, 12));
            p.drawLine(QPointF(12.5, 14.5), QPointF(15, 12));
            break;
        case Glyph::Return: {
            // Goods coming back: a box with an arrow turning home.
            p.setPen(QPen(QColor(150, 100, 40), 1.2));
            p.setBrush(QColor(240, 200, 120));
            p.drawRect(QRectF(6.5, 7.5, 8, 7));
            p.setPen(QPen(QColor(220, 60, 50), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(2, 1.5, 10, 9), 0, 180 * 16);
            p.drawLine(QPointF(2, 6), QPointF(0.5, 3.5));
            p.drawLine(QPointF(2, 6), QPointF(4.5, 4.5));
            break;
        }
    }
    return QIcon(pixmap);
}

QPixmap homePageButton() {
    QPixmap pixmap = transparentPixmap(QSize(99, 27));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 27);
    fill.setColorAt(0, QColor(255, 196, 70));
    fill.setColorAt(1, QColor(236, 128, 20));
    p.setBrush(fill);
    p.setPen(QPen(QColor(180, 90, 10), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 98, 26), 6, 6);
    p.setPen(Qt::white);
    p.setFont(platform::pixelFont("宋体", 14, true));
    p.drawText(QRectF(0, 0, 99, 27), Qt::AlignCenter, QStringLiteral("官方网站"));
    return pixmap;
}

QPixmap closePicture() {
    QPixmap pixmap = transparentPixmap(QSize(16, 16));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(200, 50, 45));
    p.setPen(QPen(QColor(140, 30, 25), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
    return pixmap;
}

QPixmap programIcon(int size) {
    QPixmap pixmap = transparentPixmap(QSize(size, size));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size, size);
    QRadialGradient fill(r.center(), size * 0.7, QPointF(size * 0.35, size * 0.3));
    fill.setColorAt(0, kSkyBlue);
    fill.setColorAt(1, kDeepBlue);
    p.setBrush(fill);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(r.adjusted(size * 0.03, size * 0.03, -size * 0.03, -size * 0.03), size * 0.18,
                      size * 0.18);
    drawBoxMark(p, r.adjusted(size * 0.14, size * 0.1, -size * 0.14, -size * 0.18), Qt::white,
                QColor(210, 228, 248));
    p.setPen(Qt::white);
    p.setFont(platform::pixelFont("宋体", qMax(8, size * 15 / 100), true));
    p.drawText(QRectF(0, size * 0.74, size, size * 0.2), Qt::AlignCenter, QStringLiteral("进销存"));
    return pixmap;
}

}  // namespace artwork
