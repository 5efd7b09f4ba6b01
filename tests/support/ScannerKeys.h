#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace testsupport {

// Key presses and releases with timestamps the test chooses, as a barcode scanner or a person
// gives them: each key some milliseconds after the one before.
class ScannerKeys {
  public:
    // The key code a keyboard gives for a character; full-width characters come with none.
    static int keyOf(QChar c) { return c.unicode() < 0x80 ? c.toUpper().unicode() : 0; }

    void key(QWidget* into, int code, const QString& text, int gapMs,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        time_ += static_cast<quint64>(gapMs);
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        press.setTimestamp(time_);
        QApplication::sendEvent(into, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        release.setTimestamp(time_ + 3);
        QApplication::sendEvent(into, &release);
    }
    void character(QWidget* into, QChar c, int gapMs) { key(into, keyOf(c), QString(c), gapMs); }

    // Each character gapMs after the one before, then Enter; what the scan started runs.
    void type(QWidget* into, const QString& text, int gapMs) {
        for (const QChar c : text) character(into, c, gapMs);
        key(into, Qt::Key_Return, QStringLiteral("\r"), gapMs);
        QCoreApplication::processEvents();
    }
    void scan(QWidget* into, const QString& code) { type(into, code, 8); }

  private:
    quint64 time_ = 100000;
};

}  // namespace testsupport
