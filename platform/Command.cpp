#include "platform/Command.h"

#include <exception>

#include "platform/Platform.h"

namespace platform {

namespace {

ErrorInterceptor& interceptor() {
    static ErrorInterceptor instance;
    return instance;
}

// Whether the interceptor dealt with error; an error of its own is shown instead.
bool intercepted(QWidget* window, const std::exception& error) noexcept {
    if (!interceptor()) return false;
    try {
        return interceptor()(window, error);
    } catch (const std::exception& own) {
        showError(window, QString::fromUtf8(own.what()));
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

void setErrorInterceptor(ErrorInterceptor handler) { interceptor() = std::move(handler); }

void runCommand(QWidget* owner, const std::function<void()>& work) noexcept {
    QWidget* window = owner != nullptr ? owner->window() : nullptr;
    try {
        work();
    } catch (const std::exception& error) {
        if (!intercepted(window, error)) showError(window, QString::fromUtf8(error.what()));
    } catch (...) {
        showError(window, QStringLiteral("发生未知错误，操作已停止。"));
    }
}

}  // namespace platform
