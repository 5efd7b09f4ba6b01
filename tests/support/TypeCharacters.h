#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

namespace testsupport {

// Types characters that QTest's key clicks cannot (they take Latin-1 only), as a keyboard with an
// input method delivers them: one press and release each.
inline void typeCharacters(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// Types characters after an edit's text, as the user does after pressing End.
inline void typeAtEnd(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_End);
    typeCharacters(edit, text);
}

}  // namespace testsupport
