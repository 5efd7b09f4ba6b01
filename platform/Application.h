#pragma once

#include <QApplication>

namespace platform {

// The program's application object. An error that a command does not catch ends that command
// and is shown with its text and an OK button; the program then goes on.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
