#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/Forms.h"

class QApplication;

namespace startup {

// The program's seven windows, created in their fixed order and living until the end.
class Windows {
  public:
    // Told of each window right after it was created.
    using CreatedHook = std::function<void(QWidget& window)>;

    // Creates the windows in order, each opening its connection and table. Throws the error of
    // the first window that cannot open the database; the windows made so far are removed.
    explicit Windows(const CreatedHook& created = {});
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    Forms& forms() { return forms_; }
    TMainForm& mainForm() { return *forms_.mainForm; }

  private:
    template <typename Window>
    Window* create(const CreatedHook& created);

    Forms forms_;
    std::vector<std::unique_ptr<QWidget>> windows_;  // in order of creation
};

// Creates the windows and shows the main one. When the database cannot be opened the error is
// shown and windows stays empty; the result is the program's exit status in that case, 0
// otherwise.
int start(std::unique_ptr<Windows>& windows);

// The whole program: fonts, windows, the message loop until the main window closes.
int run(QApplication& application);

}  // namespace startup
