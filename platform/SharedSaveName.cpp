#include "platform/SharedSaveName.h"

#include "platform/Platform.h"

QString SharedSaveName::ask(QWidget* owner) {
    QString name = platform::current().saveFileName(owner, lastName_);
    if (!name.isEmpty()) lastName_ = name;
    return name;
}
