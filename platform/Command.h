#pragma once

#include <QObject>
#include <QWidget>
#include <exception>
#include <functional>

namespace platform {

// Runs one user command. An error it throws ends the command there and is shown once by the
// default error handler over owner; nothing is thrown on into Qt's event code, which cannot
// unwind through its own frames.
void runCommand(QWidget* owner, const std::function<void()>& work) noexcept;

// Runs before the default error handler for every error a command did not catch; true when it
// dealt with the error itself (a damaged data store offers its repair). One at a time; an empty
// function removes it.
using ErrorInterceptor = std::function<bool(QWidget* owner, const std::exception& error)>;
void setErrorInterceptor(ErrorInterceptor interceptor);

// Connects a signal to a window's command handler through runCommand, so every handler has the
// same edge: connectCommand(ui->SpeedButton1, &QToolButton::clicked, this,
// &TMainForm::SpeedButton1Click). A handler with parameters takes the signal's first arguments.
template <typename Sender, typename Signal, typename Window, typename... Args>
QMetaObject::Connection connectCommand(Sender* sender, Signal signal, Window* window,
                                       void (Window::*handler)(Args...)) {
    return QObject::connect(sender, signal, window, [window, handler](Args... args) {
        runCommand(window, [&] { (window->*handler)(args...); });
    });
}

}  // namespace platform
