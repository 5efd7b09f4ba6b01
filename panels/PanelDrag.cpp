#include "panels/PanelDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

namespace panels {

namespace {

// A dragged panel keeps this much of itself inside its parent, so it can always be taken again.
constexpr int kKeepVisible = 24;

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
    to.setX(std::clamp(to.x(), kKeepVisible - panel_->width(), parent->width() - kKeepVisible));
    to.setY(std::clamp(to.y(), kKeepVisible - panel_->height(), parent->height() - kKeepVisible));
    panel_->move(to);
}

}  // namespace panels
