#include "platform/Command.h"

#include <exception>

#include "platform/Platform.h"

namespace platform {

void runCommand(QWidget* owner, const std::function<void()>& work) noexcept {
    QWidget* window = owner != nullptr ? owner->window() : nullptr;
    try {
        work();
    } catch (const std::exception& error) {
        showError(window, QString::fromUtf8(error.what()));
    } catch (...) {
        showError(window, QStringLiteral("发生未知错误，操作已停止。"));
    }
}

}  // namespace platform
