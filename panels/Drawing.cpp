#include "panels/Drawing.h"

#include <QLinearGradient>
#include <QPainter>

namespace artwork {

QPixmap transparentPixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void fillBandedBackdrop(QPainter& painter, QSize size, const BackdropColours& colours,
                        int lowerBandPercent) {
    QLinearGradient body(0, 0, 0, size.height());
    body.setColorAt(0.0, colours.deep);
    body.setColorAt(0.09, colours.mid);
    body.setColorAt(0.1, colours.pale);
    body.setColorAt(lowerBandPercent / 100.0, colours.lowerPale);
    body.setColorAt((lowerBandPercent + 1) / 100.0, colours.mid);
    body.setColorAt(1.0, colours.deep);
    painter.fillRect(QRect(QPoint(0, 0), size), body);
}

}  // namespace artwork
