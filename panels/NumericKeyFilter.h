#pragma once

#include <QObject>

class QLineEdit;

namespace panels {

// The key filter of the numeric edits: typed digits, one decimal point and backspace pass; a
// second point is discarded even when the first is selected and would be replaced; every other
// typed character, those typed with Ctrl included, is discarded silently. Keys that type no
// character (Delete, arrows, Home, End, Tab) work as usual.
class NumericKeyFilter : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // Installs a filter owned by edit on edit.
    static NumericKeyFilter* install(QLineEdit* edit);

    // Whether text typed into an edit holding current may reach it.
    static bool admits(const QString& current, const QString& typed);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace panels
