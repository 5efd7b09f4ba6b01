#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

class QWidget;
class QPrinter;
class QPrintDialog;

namespace platform {

// What a message box shows: results and refusals (OK, no icon), confirmations (OK and Cancel,
// warning icon), selection hints (OK, information icon). The grid's own English confirmation
// uses Question with the caption "Confirm".
enum class MessageKind { Plain, Confirm, Info, Question, Error };
enum class Answer { Ok, Cancel };

struct MessageRecord {
    QString caption;
    QString text;
    MessageKind kind;
};

// Everything that needs a person or the desktop goes through here, so tests can answer it.
class Platform {
  public:
    virtual ~Platform() = default;

    // Modal message box owned by owner. Caption "提示" unless given.
    virtual Answer message(QWidget* owner, const QString& text, MessageKind kind,
                           const QString& caption = QStringLiteral("提示")) = 0;
    // Common save dialog (no default extension, no preset folder) starting with initialName
    // and showing the files filter lets through (see FileFilters.h); empty text when cancelled.
    // When selectedFilter is given, the dialog starts on the filter it holds (the first one when
    // it is empty) and it receives the filter the user left chosen.
    virtual QString saveFileName(QWidget* owner, const QString& initialName, const QString& filter,
                                 QString* selectedFilter = nullptr) = 0;
    // Common open dialog with filter; empty text when cancelled.
    virtual QString openFileName(QWidget* owner, const QString& filter) = 0;
    // The print dialog over printer; true when confirmed (printer then holds the choices).
    virtual bool printDialog(QWidget* owner, QPrintDialog& dialog) = 0;
    // Whether any printer is installed.
    virtual bool hasPrinter() = 0;
    // Opens a web address in the default browser; failures are not reported.
    virtual void openUrl(const QString& url) = 0;
    // The user's desktop folder (the XDG desktop directory).
    virtual QString desktopFolder() = 0;
};

// The platform the program uses; the Qt one unless a test installed another.
Platform& current();
void setCurrent(Platform* platform);  // nullptr restores the Qt one

// A message box over owner with one of the program's own texts (UTF-8).
Answer say(QWidget* owner, std::string_view text, MessageKind kind = MessageKind::Plain);

// Shows an error a command did not catch: its text with an OK button, then the program goes on.
void showError(QWidget* owner, const QString& text);

}  // namespace platform
