#include "platform/Platform.h"

#include "platform/QtPlatform.h"

namespace platform {

namespace {

QtPlatform& qtPlatform() {
    static QtPlatform instance;
    return instance;
}

Platform* installed = nullptr;

}  // namespace

Platform& current() { return installed != nullptr ? *installed : qtPlatform(); }

void setCurrent(Platform* platform) { installed = platform; }

Answer say(QWidget* owner, std::string_view text, MessageKind kind) {
    return current().message(owner, QString::fromUtf8(text.data(), qsizetype(text.size())), kind);
}

void showError(QWidget* owner, const QString& text) {
    current().message(owner, text, MessageKind::Error);
}

}  // namespace platform
