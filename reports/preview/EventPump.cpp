#include "reports/preview/EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace reports {

namespace {

constexpr qint64 kEventInterval = 10;  // milliseconds

}  // namespace

std::function<void()> throttledEventPump() {
    return [clock = QElapsedTimer()]() mutable {
        if (clock.isValid() && clock.elapsed() < kEventInterval) return;
        QCoreApplication::processEvents();
        clock.start();
    };
}

}  // namespace reports
