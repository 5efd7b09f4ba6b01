#include "platform/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool useChinese(QCoreApplication& application) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // The translator lives as long as the application; a second call adds nothing.
    if (application.findChild<QTranslator*>(QStringLiteral("qtbase_zh_CN")) != nullptr) return true;
    auto* translator = new QTranslator(&application);
    translator->setObjectName(QStringLiteral("qtbase_zh_CN"));
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace platform
