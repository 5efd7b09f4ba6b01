#include "panels/EnterClicksButtons.h"

#include <QKeyEvent>
#include <QPushButton>

namespace panels {

void EnterClicksButtons::install(QWidget& window) {
    auto* filter = new EnterClicksButtons(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->installEventFilter(filter);
}

bool EnterClicksButtons::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr) return false;
    // The button's own handling would press it a second time where it is a dialog's default.
    if (!key->isAutoRepeat() && button->isEnabled() && button->isVisible()) button->click();
    event->accept();
    return true;
}

}  // namespace panels
