#include "platform/Fonts.h"

#include <QFont>
#include <QWidget>

namespace platform {

void installFonts() {
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"));
}

QFont pixelFont(const char* family, int pixels, bool bold) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setPixelFont(QWidget& widget, int pixels, bool bold) {
    widget.setFont(pixelFont("宋体", pixels, bold));
}

}  // namespace platform
