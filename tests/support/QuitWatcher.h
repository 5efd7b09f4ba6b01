#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace testsupport {

// Counts the requests to end the program's message loop, and keeps them from taking effect.
class QuitWatcher : public QObject {
  public:
    QuitWatcher() { qApp->installEventFilter(this); }
    ~QuitWatcher() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit) {
            ++count;
            return true;
        }
        return false;
    }
    int count = 0;
};

}  // namespace testsupport
