#pragma once

#include <QObject>
#include <QSet>
#include <functional>

class QLineEdit;

namespace panels {

// Runs an edit's key-release handler only for a key whose press the edit itself received: the
// release of the Enter that closed a message box lands in the edit that had the focus before,
// and must not run the handler again (which would show the box again, without end). The handler
// also runs when the user changes the text without a key (pasting or deleting through the
// context menu, dropping text), so that what the handler shows follows the text shown.
class KeyUpWatcher : public QObject {
    Q_OBJECT
  public:
    // Installs a watcher owned by edit on edit.
    static KeyUpWatcher* install(QLineEdit* edit, std::function<void()> keyUp);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    KeyUpWatcher(QLineEdit* edit, std::function<void()> keyUp);

    std::function<void()> keyUp_;
    QSet<int> pressed_;  // keys pressed in the edit and not yet released
};

}  // namespace panels
