#pragma once

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

#include "platform/Platform.h"

namespace platform {

// A platform for tests: it records every message and dialog instead of showing it, and answers
// from queues the test fills beforehand. Installs itself while it lives.
class ScriptedPlatform : public Platform {
  public:
    enum class Dialog { Message, SaveFile, OpenFile, Print };

    ScriptedPlatform();
    ~ScriptedPlatform() override;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    Answer message(QWidget* owner, const QString& text, MessageKind kind,
                   const QString& caption = QStringLiteral("提示")) override;
    QString saveFileName(QWidget* owner, const QString& initialName, const QString& filter,
                         QString* selectedFilter = nullptr) override;
    QString openFileName(QWidget* owner, const QString& filter) override;
    bool printDialog(QWidget* owner, QPrintDialog& dialog) override;
    bool hasPrinter() override { return printerInstalled; }
    void openUrl(const QString& url) override { openedUrls.append(url); }
    QString desktopFolder() override { return desktop; }

    // Answers, taken first to last; when a queue is empty: Ok, an empty name (cancelled), and a
    // cancelled print dialog.
    QQueue<Answer> messageAnswers;
    QQueue<QString> saveFileNames;
    // The filter left chosen in each save dialog that reports it; when empty, the one it
    // started on.
    QQueue<QString> saveFilters;
    QQueue<QString> openFileNames;
    QQueue<bool> printAnswers;
    // Runs while a message is "shown", before it is answered (e.g. to look at the windows).
    std::function<void(const MessageRecord&)> onMessage;
    bool printerInstalled = true;
    QString desktop;

    // What happened, in order.
    QList<MessageRecord> messages;
    QList<Dialog> dialogs;
    QStringList saveInitialNames;  // the initial name of each save dialog
    QStringList dialogFilters;     // the filter of each save and open dialog
    QStringList openedUrls;

    QStringList messageTexts() const;
    void clear();

  private:
    Platform* previous_ = nullptr;
};

}  // namespace platform
