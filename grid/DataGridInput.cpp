#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "grid/DataGridImpl.h"
#include "platform/Command.h"
#include "platform/Platform.h"

namespace grid {

namespace {

// Errors of the store during a mouse or key command end the command and are shown, like the
// program's default error handler does; they must not leave an event handler.
template <typename F>
void guarded(QWidget* owner, F&& command) {
    platform::runCommand(owner, command);
}

}  // namespace

// ---- selection and moves ----

void TDataGrid::Impl::moveCurrent(int row) {
    if (row != query->currentIndex()) query->moveTo(row);
    ensureVisible(row);
}

void TDataGrid::Impl::pressRow(int row, Qt::KeyboardModifiers modifiers) {
    shiftAnchor = -1;
    if (modifiers & Qt::ControlModifier) {
        moveCurrent(row);
        selection.toggle(query->bookmarkAt(row));
    } else if (modifiers & Qt::ShiftModifier) {
        const int current = query->currentIndex();
        if (row != current) {
            moveCurrent(row);
            selection.addRange(*query, current < 0 ? row : current, row);
        }
    } else {
        moveCurrent(row);
        selection.clear();
        selection.add(query->bookmarkAt(row));
        drag = Drag::Rows;
        dragRow = row;
    }
    refresh();
}

void TDataGrid::Impl::dragTo(int row) {
    if (row < 0 || dragRow < 0 || dragRow >= query->recordCount()) return;
    moveCurrent(row);
    selection.clear();
    selection.addRange(*query, dragRow, row);
    refresh();
}

void TDataGrid::Impl::keyMove(int target, bool shift) {
    const int current = query->currentIndex();
    if (!shift) {
        selection.clear();
        shiftAnchor = -1;
        moveCurrent(target);
        refresh();
        return;
    }
    const int anchor = shiftAnchor >= 0 ? shiftAnchor : current;
    moveCurrent(target);
    shiftAnchor = anchor;
    // Rows left behind when coming back towards the anchor leave the selection again.
    const int oldLow = std::min(anchor, current), oldHigh = std::max(anchor, current);
    const int newLow = std::min(anchor, target), newHigh = std::max(anchor, target);
    if (oldLow < newLow) selection.removeRange(*query, oldLow, newLow - 1);
    if (oldHigh > newHigh) selection.removeRange(*query, newHigh + 1, oldHigh);
    selection.addRange(*query, newLow, newHigh);
    refresh();
}

void TDataGrid::Impl::tabTo(int column) {
    const int count = static_cast<int>(columns.size());
    if (count == 0) return;
    currentColumn = std::clamp(column, 0, count - 1);
    // Bring the column into view when the columns are wider than the grid.
    const int left = columnLeft(currentColumn);
    const int right = left + columnWidth(currentColumn);
    int offset = xOffset;
    if (left < indicatorWidth)
        offset -= indicatorWidth - left;
    else if (right > viewWidth())
        offset += std::min(right - viewWidth(), left - indicatorWidth);
    if (offset != xOffset) hbar->setValue(offset);
}

// The window's deleter takes the selected rows, in row order, from the table and the list. A row
// it cannot delete stops the deletion with its error: the rows deleted before it have left the
// list and the selection, it and the rows not reached stay selected.
void TDataGrid::Impl::deleteRows() {
    if (!isOpen() || selection.empty() || !rowDeleter) return;
    Suspend suspend(*this);
    rowDeleter(selection.rowsInOrder(*query));
    selection.clear();
}

void TDataGrid::Impl::deleteByKeyboard() {
    if (!isOpen() || !query->canModify() || query->isEmpty() || query->currentIndex() < 0) return;
    if (!selection.empty() && !rowDeleter) return;  // nobody to delete the selection
    const QString text = selection.count() < 2 ? QStringLiteral("Delete record?")
                                               : QStringLiteral("Delete all selected records?");
    if (platform::current().message(q, text, platform::MessageKind::Question,
                                    QStringLiteral("Confirm")) != platform::Answer::Ok)
        return;
    if (!selection.empty()) {
        deleteRows();
        return;
    }
    removeCurrent();
}

// Deletes the current row; a refusal leaves the totals as they were and is passed on.
void TDataGrid::Impl::removeCurrent() {
    try {
        query->remove();
    } catch (...) {
        deletingMark.reset();
        totals.deleteRefused();
        throw;
    }
}

// ---- events ----

// Tab and Shift+Tab move between the columns and keep the focus in the grid.
bool TDataGrid::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void TDataGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        const int row = d->rowAt(pos.y());
        if (row >= 0) guarded(this, [&] { d->moveCurrent(row); });
        update();
        if (d->menu) d->menu->popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (pos.y() < d->dataTop()) {
        const int border = d->resizeBorderAt(pos.x());
        if (border >= 0) {
            d->drag = Impl::Drag::Resize;
            d->resizeColumn = border;
            d->resizeOrigin = pos.x() - d->columnWidth(border);
            return;
        }
        const int column = d->columnAt(pos.x());
        if (column >= 0 && !d->isUpperTitleAt(column, pos.y())) {
            d->drag = Impl::Drag::Title;
            d->pressedTitle = column;
            d->titleDown = true;
            update();
        }
        return;
    }
    const int row = d->rowAt(pos.y());
    if (row >= 0) guarded(this, [&] { d->pressRow(row, event->modifiers()); });
}

void TDataGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    switch (d->drag) {
        case Impl::Drag::None:
            setCursor(pos.y() < d->dataTop() && d->resizeBorderAt(pos.x()) >= 0 ? Qt::SplitHCursor
                                                                                : Qt::ArrowCursor);
            return;
        case Impl::Drag::Resize: {
            const int width = std::max(2, pos.x() - d->resizeOrigin);
            d->columns[static_cast<std::size_t>(d->resizeColumn)].width = width;
            d->relayoutTitles();
            d->updateScrollBars();
            update();
            return;
        }
        case Impl::Drag::Title: {
            const int column = d->columnAt(pos.x());
            const bool down = pos.y() >= 0 && pos.y() < d->dataTop() && column == d->pressedTitle &&
                              !d->isUpperTitleAt(column, pos.y());
            if (down != d->titleDown) {
                d->titleDown = down;
                update();
            }
            return;
        }
        case Impl::Drag::Rows: {
            if (!(event->buttons() & Qt::LeftButton) || d->rowCount() == 0) return;
            int row;
            if (pos.y() < d->dataTop())
                row = std::max(0, d->topRow - 1);
            else if (pos.y() >= d->rowsBottom())
                row = std::min(d->rowCount() - 1, d->topRow + d->visibleRows());
            else
                row = d->rowAt(pos.y()) >= 0 ? d->rowAt(pos.y()) : d->rowCount() - 1;
            if (row != d->query->currentIndex()) guarded(this, [&] { d->dragTo(row); });
            return;
        }
    }
}

void TDataGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    const bool overPressedTitle = pos.y() >= 0 && pos.y() < d->dataTop() &&
                                  d->columnAt(pos.x()) == d->pressedTitle &&
                                  !d->isUpperTitleAt(d->pressedTitle, pos.y());
    if (d->drag == Impl::Drag::Title && overPressedTitle) {
        d->marks.click(d->pressedTitle, event->modifiers() & Qt::ControlModifier);
        d->relayoutTitles();
        d->updateScrollBars();
    }
    d->drag = Impl::Drag::None;
    d->pressedTitle = -1;
    d->titleDown = false;
    update();
}

void TDataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const int row = d->rowAt(event->position().toPoint().y());
    if (row >= 0) guarded(this, [&] { d->moveCurrent(row); });
    d->drag = Impl::Drag::None;
    emit doubleClicked();
}

void TDataGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) d->scrollTo(d->topRow - steps * 3);
    event->accept();
}

void TDataGrid::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Escape) {
        d->selection.clear();
        d->shiftAnchor = -1;
        update();
        return;
    }
    if (event->key() == Qt::Key_Delete && ctrl) {
        guarded(this, [&] { d->deleteByKeyboard(); });
        return;
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool back = event->key() == Qt::Key_Backtab || shift;
        d->tabTo(d->currentColumn + (back ? -1 : 1));
        return;
    }
    const int rows = d->isOpen() ? d->query->recordCount() : 0;
    const int current = rows > 0 ? std::max(0, d->query->currentIndex()) : -1;
    int target;
    switch (event->key()) {
        case Qt::Key_Up:
            target = current - 1;
            break;
        case Qt::Key_Down:
            target = current + 1;
            break;
        case Qt::Key_PageUp:
            target = current - d->visibleRows();
            break;
        case Qt::Key_PageDown:
            target = current + d->visibleRows();
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = rows - 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (rows == 0) return;
    target = std::clamp(target, 0, rows - 1);
    guarded(this, [&] { d->keyMove(target, shift); });
}

void TDataGrid::contextMenuEvent(QContextMenuEvent* event) {
    // The right button opens the menu on its press; this is the keyboard's menu key.
    if (event->reason() != QContextMenuEvent::Mouse && d->menu) {
        const int current = d->isOpen() ? d->query->currentIndex() : -1;
        const QRect cell = cellRect(current, -1);
        const QPoint at = cell.isEmpty() ? QPoint(0, d->dataTop()) : cell.bottomRight();
        d->menu->popup(mapToGlobal(at));
    }
    event->accept();
}

}  // namespace grid
