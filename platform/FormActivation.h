#pragma once

#include <QObject>

class QWidget;

namespace platform {

// Tells whether a window that is becoming active comes from another of the program's own windows
// (a form such as the sales or company window, or the preview). A message box or a common dialog
// closing, or the user coming back from another program, also activates the window again, but
// leaves its data as it was: windows that re-read their table on activation ask here first.
class FormActivation : public QObject {
  public:
    // The one watcher, installed on the application the first time it is asked for.
    static FormActivation& instance();

    // Asked while window's activation is being delivered: true when the window last active before
    // it was another form, or when no window was active before (the program's first window).
    bool cameFromAnotherForm(const QWidget* window) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FormActivation();

    // Only identities are kept: a message box is usually gone by the time its owner is active.
    const void* current_ = nullptr;
    bool currentIsForm_ = false;
    const void* previous_ = nullptr;
    bool previousIsForm_ = false;
};

// Message boxes, the common file, print and page dialogs, and progress windows: windows that only
// answer a question or show how far a command has come.
bool isSystemDialog(const QWidget* window);

}  // namespace platform
