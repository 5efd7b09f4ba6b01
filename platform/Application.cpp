#include "platform/Application.h"

#include <QWidget>
#include <exception>

#include "platform/Language.h"
#include "platform/Platform.h"

namespace platform {

namespace {

QWidget* ownerFor(QObject* receiver) {
    if (auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window();
    return QApplication::activeWindow();
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { useChinese(*this); }

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // StoreError is a std::exception too; its text is the message for the user.
        showError(ownerFor(receiver), QString::fromUtf8(error.what()));
    }
    return false;
}

}  // namespace platform
