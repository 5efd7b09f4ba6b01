#include "app/DesktopLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "panels/Artwork.h"
#include "platform/Platform.h"

namespace launcher {

namespace {

// A value of type string in a desktop entry: backslash and control characters escaped.
QString escapeString(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    if (out.startsWith(u' ')) out.replace(0, 1, QStringLiteral("\\s"));
    return out;
}

// One argument of the Exec key: enclosed in double quotes, with the characters that are special
// inside quotes escaped by a backslash, and "%" doubled so it is no field code.
QString quoteExecArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        if (c == u'%') quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}

QString folderOf(const QString& programFile) { return QFileInfo(programFile).absolutePath(); }

}  // namespace

QString fileName() { return QStringLiteral("Quenvar进销存管理软件（旗舰版）.desktop"); }

QString entryText(const QString& programFile, const QString& iconFile) {
    const QString name = QStringLiteral("Quenvar进销存管理软件（旗舰版）");
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=") + name + u'\n';
    text += QStringLiteral("Comment=进货、销售、库存管理\n");
    text += QStringLiteral("Exec=") + escapeString(quoteExecArgument(programFile)) + u'\n';
    text += QStringLiteral("Path=") + escapeString(folderOf(programFile)) + u'\n';
    if (!iconFile.isEmpty()) text += QStringLiteral("Icon=") + escapeString(iconFile) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("Categories=Office;\n");
    return text;
}

bool write(const QString& desktopFolder, const QString& programFile, const QString& iconFile) {
    if (desktopFolder.isEmpty() || !QFileInfo(desktopFolder).isDir()) return false;
    QSaveFile file(QDir(desktopFolder).filePath(fileName()));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(entryText(programFile, iconFile).toUtf8());
    if (!file.commit()) return false;
    // Desktops start only launchers that are marked executable.
    QFile::setPermissions(file.fileName(), QFile::permissions(file.fileName()) | QFile::ExeOwner |
                                               QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther);
    return true;
}

QString saveIcon(const QString& folder) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return QString();
    const QString path = QDir(folder).filePath(QStringLiteral("quenvar-jxc.png"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !artwork::programIcon().save(&file, "PNG") ||
        !file.commit())
        return QString();
    return path;
}

QString iconFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("icons"));
}

bool writeForThisProgram() {
    const QString desktop = platform::current().desktopFolder();
    // A fresh account may have no desktop folder yet; the file manager makes it the same way.
    if (desktop.isEmpty() || !QDir().mkpath(desktop)) return false;
    const QString icon = saveIcon(iconFolder());
    return write(desktop, QCoreApplication::applicationFilePath(), icon);
}

}  // namespace launcher
