#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "panels/ScanSettings.h"

class QLineEdit;

class QKeyEvent;
class QWidget;

namespace panels {

// Tells a barcode scanner's runs of keys from typing in one window, whatever widget of it has the
// focus, by the key events' timestamps (ScanSettings). A scan's keys reach no widget: they are
// held back from the first printable key on, and given to the widget they were meant for, in
// their order, as soon as the run turns out to be typing (a gap too long, a key that is neither
// printable nor an end key, an end key after too short a run, or no next key in time). Holding
// rather than restoring afterwards keeps every effect of typing away from a scan: the numeric
// fields' stock check, the customer lookup, the key-release handlers and the message boxes they
// may open. The end key of a scan is swallowed, so it never presses a button. Full-width digits,
// letters and signs count as their ASCII forms. Key events without a timestamp (0) are typing.
class ScanDetector : public QObject {
    Q_OBJECT
  public:
    // Watches the key events of window and of the windows it owns (its message boxes: a scan
    // into one of them is swallowed without being told); the detector is owned by window.
    static ScanDetector* install(QWidget& window, const ScanSettings& settings);
    // A detector with the program's settings whose scans run onScan as a command of window (an
    // error is shown once and goes no further), and fields that take Latin keys only: an input
    // method would swallow or split a scanner's keys before the window sees them.
    static ScanDetector* runOnScan(QWidget& window, std::function<void(const QString&)> onScan,
                                   std::initializer_list<QWidget*> codeFields);
    // A list window's scan: a scanned code is searched for as if typed into codeSearch, the
    // query panel's goods code field, once openPanel has shown the panel (with its fields
    // emptied) and then search runs, as its 查询 does.
    static ScanDetector* searchOnScan(QWidget& window, QLineEdit& codeSearch,
                                      std::function<void()> openPanel,
                                      std::function<void()> search);

    ~ScanDetector() override;

    void setSettings(const ScanSettings& settings);

    // Gives held keys to their widget now (what the wait for a next key ends in).
    void releaseHeldKeys();

  signals:
    // A scan into the window, told after the key event that ended it has been handled.
    void scanned(const QString& code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ScanDetector(QWidget& window, const ScanSettings& settings);
    bool keyPress(QWidget& receiver, const QKeyEvent& key);
    bool keyRelease(const QKeyEvent& key);
    bool isEndKey(const QKeyEvent& key) const;
    bool ownsWindowOf(const QWidget& widget) const;
    void hold(const QKeyEvent& key);

    QWidget& window_;
    ScanSettings settings_;
    QString run_;                                   // the held run's text, in ASCII forms
    std::vector<std::unique_ptr<QKeyEvent>> held_;  // presses and releases in their order
    std::vector<int> heldDown_;  // keys of the run or the last scan pressed and not yet released
    QPointer<QWidget> target_;   // where the held keys were going
    quint64 lastPress_ = 0;
    int swallowRelease_ = 0;  // the end key of the last scan, until it is released
    // The held key being given to its widget now; keys arriving meanwhile (in the loop of a message
    // box it opened) are watched as any others.
    const QEvent* replaying_ = nullptr;
    struct Passed {
        const QEvent* event = nullptr;
        int type = 0;
        int key = 0;
        quint64 time = 0;
        bool operator==(const Passed&) const = default;
    };
    Passed lastPassed_;  // a key let through, seen again on its way up to the parents
    QTimer wait_;
};

// text with full-width forms (U+FF01 to U+FF5E, U+3000) turned into ASCII.
QString asciiForms(const QString& text);

}  // namespace panels
