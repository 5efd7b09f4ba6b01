#include "panels/EnterClicksButtons.h"

#include <QKeyEvent>
#include <QPushButton>

namespace panels {

void EnterClicksButtons::install(QWidget& window) {
    auto* filter = new EnterClicksButtons(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->installEventFilter(filter);
}

namespace {

bool isEnter(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// Presses button for an Enter key event and takes the event.
bool press(QPushButton& button, QEvent& event) {
    if (!static_cast<const QKeyEvent&>(event).isAutoRepeat() && button.isEnabled() &&
        button.isVisible())
        button.click();
    event.accept();
    return true;
}

}  // namespace

bool EnterClicksButtons::eventFilter(QObject* watched, QEvent* event) {
    if (!isEnter(*event)) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr) return false;
    // The button's own handling would press it a second time where it is a dialog's default.
    return press(*button, *event);
}

EnterPressesButton::EnterPressesButton(QWidget& field, QPushButton& button)
    : QObject(&field), button_(button) {}

void EnterPressesButton::install(QWidget& field, QPushButton& button) {
    field.installEventFilter(new EnterPressesButton(field, button));
}

bool EnterPressesButton::eventFilter(QObject*, QEvent* event) {
    return isEnter(*event) && press(button_, *event);
}

}  // namespace panels
