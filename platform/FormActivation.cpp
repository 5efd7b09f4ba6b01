#include "platform/FormActivation.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QProgressDialog>
#include <QWidget>

namespace platform {

bool isSystemDialog(const QWidget* window) {
    return qobject_cast<const QMessageBox*>(window) || qobject_cast<const QFileDialog*>(window) ||
           qobject_cast<const QAbstractPrintDialog*>(window) ||
           qobject_cast<const QPageSetupDialog*>(window) ||
           qobject_cast<const QColorDialog*>(window) || qobject_cast<const QFontDialog*>(window) ||
           qobject_cast<const QInputDialog*>(window) ||
           qobject_cast<const QProgressDialog*>(window);
}

FormActivation::FormActivation() { qApp->installEventFilter(this); }

FormActivation& FormActivation::instance() {
    // Parented to the application, so it goes with it.
    static FormActivation* watch = [] {
        auto* created = new FormActivation;
        created->setParent(qApp);
        return created;
    }();
    return *watch;
}

bool FormActivation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        const auto* window = qobject_cast<const QWidget*>(watched);
        if (window != nullptr && window->isWindow()) {
            previous_ = current_;
            previousIsForm_ = currentIsForm_;
            current_ = window;
            currentIsForm_ = !isSystemDialog(window);
        }
    }
    return false;
}

bool FormActivation::cameFromAnotherForm(const QWidget* window) const {
    if (window != current_) return false;  // asked outside its activation
    return previous_ == nullptr || (previous_ != window && previousIsForm_);
}

}  // namespace platform
