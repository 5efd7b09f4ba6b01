#include "platform/SharedSaveName.h"

#include "platform/Platform.h"

QString SharedSaveName::ask(QWidget* owner, const QString& filter, QString* selectedFilter) {
    QString name = platform::current().saveFileName(owner, lastName_, filter, selectedFilter);
    if (!name.isEmpty()) lastName_ = name;
    return name;
}
