#include "tests/support/widgets/ScriptedPlatform.h"

namespace platform {

ScriptedPlatform::ScriptedPlatform() : previous_(&current()) { setCurrent(this); }

ScriptedPlatform::~ScriptedPlatform() { setCurrent(previous_); }

Answer ScriptedPlatform::message(QWidget*, const QString& text, MessageKind kind,
                                 const QString& caption) {
    const MessageRecord record{caption, text, kind};
    messages.append(record);
    dialogs.append(Dialog::Message);
    if (onMessage) onMessage(record);
    return messageAnswers.isEmpty() ? Answer::Ok : messageAnswers.dequeue();
}

QString ScriptedPlatform::saveFileName(QWidget*, const QString& initialName, const QString& filter,
                                       QString* selectedFilter) {
    dialogs.append(Dialog::SaveFile);
    saveInitialNames.append(initialName);
    dialogFilters.append(filter);
    if (selectedFilter != nullptr) {
        if (selectedFilter->isEmpty()) *selectedFilter = filter.section(QStringLiteral(";;"), 0, 0);
        if (!saveFilters.isEmpty()) *selectedFilter = saveFilters.dequeue();
    }
    return saveFileNames.isEmpty() ? QString() : saveFileNames.dequeue();
}

QString ScriptedPlatform::openFileName(QWidget*, const QString& filter) {
    dialogs.append(Dialog::OpenFile);
    dialogFilters.append(filter);
    return openFileNames.isEmpty() ? QString() : openFileNames.dequeue();
}

bool ScriptedPlatform::printDialog(QWidget*, QPrintDialog&) {
    dialogs.append(Dialog::Print);
    return printAnswers.isEmpty() ? false : printAnswers.dequeue();
}

QStringList ScriptedPlatform::messageTexts() const {
    QStringList texts;
    for (const auto& m : messages) texts.append(m.text);
    return texts;
}

void ScriptedPlatform::clear() {
    messages.clear();
    dialogs.clear();
    saveInitialNames.clear();
    dialogFilters.clear();
    openedUrls.clear();
}

}  // namespace platform
