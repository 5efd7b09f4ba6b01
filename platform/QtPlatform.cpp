#include "platform/QtPlatform.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Plain:
            return QMessageBox::NoIcon;
        case MessageKind::Confirm:
            return QMessageBox::Warning;
        case MessageKind::Info:
            return QMessageBox::Information;
        case MessageKind::Question:
            return QMessageBox::Question;
        case MessageKind::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

bool asksOkCancel(MessageKind kind) {
    return kind == MessageKind::Confirm || kind == MessageKind::Question;
}

}  // namespace

Answer QtPlatform::message(QWidget* owner, const QString& text, MessageKind kind,
                           const QString& caption) {
    const auto buttons = asksOkCancel(kind) ? QMessageBox::Ok | QMessageBox::Cancel
                                            : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(iconOf(kind), caption, text, buttons, owner);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString QtPlatform::saveFileName(QWidget* owner, const QString& initialName, const QString& filter,
                                 QString* selectedFilter) {
    // The callers write a name made from the chosen one (the backup appends ".bak"), so a
    // question about replacing the chosen file would ask about a file that is not written.
    return QFileDialog::getSaveFileName(owner, QString(), initialName, filter, selectedFilter,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtPlatform::openFileName(QWidget* owner, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
}

bool QtPlatform::printDialog(QWidget* owner, QPrintDialog& dialog) {
    if (owner != nullptr && dialog.parentWidget() == nullptr)
        dialog.setParent(owner, dialog.windowFlags());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPlatform::hasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void QtPlatform::openUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

QString QtPlatform::desktopFolder() {
    // Qt reads the XDG user directories (user-dirs.dirs) for this, falling back to ~/Desktop.
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

}  // namespace platform
