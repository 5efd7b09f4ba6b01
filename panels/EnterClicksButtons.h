#pragma once

#include <QObject>

class QWidget;

namespace panels {

// Enter and keypad Enter press the push button that has the focus, once per press (a held key's
// repeats do nothing), as on the program's desktop platform; Space goes on working as before.
class EnterClicksButtons : public QObject {
    Q_OBJECT
  public:
    // Installs one filter, owned by window, on every push button inside window.
    static void install(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
};

}  // namespace panels
