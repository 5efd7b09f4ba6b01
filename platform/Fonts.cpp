#include "platform/Fonts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace platform {

namespace {

const QString kSongFamily = QStringLiteral("Quenvar Song");

// The program's Song faces: beside the program in fonts/, or where the build made them. Noto
// Serif CJK SC draws the same, but its radical aliases turn characters such as 民 into ⺠ in the
// text of a PDF.
bool loadSongFaces() {
    const QStringList folders = {QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"),
                                 QStringLiteral(JXC_FONT_DIR)};
    for (const QString& folder : folders) {
        const QString regular = folder + QStringLiteral("/QuenvarSong-Regular.otf");
        const QString bold = folder + QStringLiteral("/QuenvarSong-Bold.otf");
        if (!QFile::exists(regular) || !QFile::exists(bold)) continue;
        if (QFontDatabase::addApplicationFont(regular) >= 0 &&
            QFontDatabase::addApplicationFont(bold) >= 0)
            return true;
    }
    return false;
}

}  // namespace

void installFonts() {
    static const bool songFaces = loadSongFaces();
    QStringList faces = {QStringLiteral("Noto Serif CJK SC")};
    if (songFaces) faces.prepend(kSongFamily);
    for (const char* family : {"宋体", "SimSun"}) {
        QFont::removeSubstitutions(QString::fromUtf8(family));
        QFont::insertSubstitutions(QString::fromUtf8(family), faces);
    }
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
