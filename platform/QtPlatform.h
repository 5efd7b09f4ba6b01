#pragma once

#include "platform/Platform.h"

namespace platform {

// The platform of the running program: Qt's message boxes and dialogs, the desktop services.
class QtPlatform : public Platform {
  public:
    Answer message(QWidget* owner, const QString& text, MessageKind kind,
                   const QString& caption = QStringLiteral("提示")) override;
    QString saveFileName(QWidget* owner, const QString& initialName, const QString& filter,
                         QString* selectedFilter = nullptr) override;
    QString openFileName(QWidget* owner, const QString& filter) override;
    bool printDialog(QWidget* owner, QPrintDialog& dialog) override;
    bool hasPrinter() override;
    void openUrl(const QString& url) override;
    QString desktopFolder() override;
};

}  // namespace platform
