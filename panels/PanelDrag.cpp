#include "panels/PanelDrag.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QRect>
#include <QWidget>
#include <algorithm>

namespace panels {

namespace {

// A dragged panel without buttons keeps this much of itself inside its parent.
constexpr int kKeepVisible = 24;

// The panel's shown buttons, its close picture included, as one rectangle in its coordinates.
QRect buttonsArea(const QWidget& panel) {
    QRect area;
    for (const QAbstractButton* button : panel.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&panel))
            area |= QRect(button->mapTo(&panel, QPoint(0, 0)), button->size());
    return area;
}

// value within [low, high]; where the range is empty, low wins (the buttons' left or top edge).
int keepWithin(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

PanelDrag* PanelDrag::install(QWidget* panel) {
    auto* drag = new PanelDrag(panel);
    panel->installEventFilter(drag);
    panel->setCursor(Qt::SizeAllCursor);
    // Children without a cursor of their own would show the panel's move cursor.
    for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);
    return drag;
}

PanelDrag::PanelDrag(QWidget* panel) : QObject(panel), panel_(panel) {}

bool PanelDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != panel_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            // Presses that a child passed on (a label's) are not on the free surface.
            if (mouse->button() != Qt::LeftButton || panel_->childAt(at) != nullptr) return false;
            dragging_ = true;
            grip_ = at;
            // The press holds the mouse for the panel until the button is released, wherever
            // the pointer goes.
            return true;
        }
        case QEvent::MouseMove:
            if (!dragging_) return false;
            moveTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        case QEvent::MouseButtonRelease:
            if (!dragging_) return false;
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return true;
            moveTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            dragging_ = false;
            return true;
        case QEvent::Hide:
            dragging_ = false;
            return false;
        default:
            return false;
    }
}

void PanelDrag::moveTo(const QPoint& globalPointer) {
    QWidget* parent = panel_->parentWidget();
    if (parent == nullptr) return;
    QPoint to = parent->mapFromGlobal(globalPointer) - grip_;
    // Its buttons stay inside the list's area, where they can be pressed; of a panel without
    // buttons a piece stays there, so that it can be taken again.
    const QRect buttons = buttonsArea(*panel_);
    if (!buttons.isEmpty()) {
        to.setX(keepWithin(to.x(), -buttons.left(), parent->width() - 1 - buttons.right()));
        to.setY(keepWithin(to.y(), -buttons.top(), parent->height() - 1 - buttons.bottom()));
    } else {
        to.setX(keepWithin(to.x(), kKeepVisible - panel_->width(), parent->width() - kKeepVisible));
        to.setY(
            keepWithin(to.y(), kKeepVisible - panel_->height(), parent->height() - kKeepVisible));
    }
    panel_->move(to);
}

}  // namespace panels
