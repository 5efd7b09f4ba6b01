#pragma once

#include <QObject>

class QPushButton;
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

// Enter and keypad Enter in a field press a given button, once per press: a dialog's 确定 from a
// field whose key filter would otherwise swallow the key. Install it after such a filter.
class EnterPressesButton : public QObject {
    Q_OBJECT
  public:
    static void install(QWidget& field, QPushButton& button);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EnterPressesButton(QWidget& field, QPushButton& button);
    QPushButton& button_;
};

}  // namespace panels
