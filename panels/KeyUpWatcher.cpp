#include "panels/KeyUpWatcher.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace panels {

KeyUpWatcher::KeyUpWatcher(QLineEdit* edit, std::function<void()> keyUp)
    : QObject(edit), keyUp_(std::move(keyUp)) {}

KeyUpWatcher* KeyUpWatcher::install(QLineEdit* edit, std::function<void()> keyUp) {
    auto* watcher = new KeyUpWatcher(edit, std::move(keyUp));
    edit->installEventFilter(watcher);
    // A change typed with a key is handled when the key is released.
    connect(edit, &QLineEdit::textEdited, watcher, [watcher] {
        if (watcher->pressed_.isEmpty()) watcher->keyUp_();
    });
    return watcher;
}

bool KeyUpWatcher::eventFilter(QObject* /*watched*/, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            pressed_.insert(static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::KeyRelease:
            if (pressed_.remove(static_cast<QKeyEvent*>(event)->key())) keyUp_();
            break;
        case QEvent::FocusOut:
            // The release of a key held while the focus left never comes here.
            pressed_.clear();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace panels
