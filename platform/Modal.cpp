#include "platform/Modal.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// Set on a modal window while it steps aside for another one: its hiding does not end its display.
constexpr char kSteppingAside[] = "jxcSteppingAside";

class HideWatcher : public QObject {
  public:
    explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A minimised window gets a spontaneous hide event; only a real hide ends the loop.
        if (event->type() == QEvent::Hide && !event->spontaneous() &&
            !watched->property(kSteppingAside).toBool())
            loop_.quit();
        return QObject::eventFilter(watched, event);
    }

  private:
    QEventLoop& loop_;
};

}  // namespace

void showModal(QWidget& window) {
    QPointer<QWidget> guard(&window);
    const Qt::WindowModality previous = window.windowModality();
    if (window.isVisible()) window.hide();  // modality takes effect only when a window is shown
    window.setWindowModality(Qt::ApplicationModal);

    QEventLoop loop;
    HideWatcher watcher(loop);
    window.installEventFilter(&watcher);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.show();
    if (window.isVisible()) loop.exec(QEventLoop::DialogExec);

    if (guard) {
        guard->removeEventFilter(&watcher);
        guard->setWindowModality(previous);
    }
}

void showModalInPlace(QWidget& window, QWidget& next) {
    QPointer<QWidget> guard(&window);
    window.setProperty(kSteppingAside, true);
    window.hide();
    window.setProperty(kSteppingAside, false);
    showModal(next);
    if (guard) guard->show();
}

}  // namespace platform
