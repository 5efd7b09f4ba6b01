#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <initializer_list>
#include <vector>

class QPainter;

// What the windows' pictures are drawn with.
namespace artwork {

// A pixmap of size that is transparent where nothing is drawn on it.
QPixmap transparentPixmap(QSize size);

// The backdrop of a window: a deep band at the top fading into mid, a pale body from a tenth of
// the height down, and from lowerBandPercent of the height a band like the top one again.
struct BackdropColours {
    QColor deep, mid, pale, lowerPale;
};
void fillBandedBackdrop(QPainter& painter, QSize size, const BackdropColours& colours,
                        int lowerBandPercent);

// The glyphs of a row of tool buttons, drawn by draw in the buttons' order.
template <typename Glyph>
std::vector<QIcon> toolGlyphs(std::initializer_list<Glyph> glyphs, QIcon (*draw)(Glyph)) {
    std::vector<QIcon> icons;
    for (Glyph glyph : glyphs) icons.push_back(draw(glyph));
    return icons;
}

}  // namespace artwork
