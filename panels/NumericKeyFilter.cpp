#include "panels/NumericKeyFilter.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>

namespace panels {

namespace {

constexpr QChar kBackspace = QChar(8);
constexpr QChar kDelete = QChar(127);

// Keys that act on the edit or the window without typing into it.
bool typesNoCharacter(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            return key.text().isEmpty();
    }
}

}  // namespace

NumericKeyFilter* NumericKeyFilter::install(QLineEdit* edit) {
    auto* filter = new NumericKeyFilter(edit);
    edit->installEventFilter(filter);
    // Composed input would bypass the key filter.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return filter;
}

bool NumericKeyFilter::admits(const QString& current, const QString& typed) {
    bool hasPoint = current.contains(QLatin1Char('.'));
    for (const QChar c : typed) {
        if (c == kBackspace || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))) continue;
        if (c != QLatin1Char('.') || hasPoint) return false;
        hasPoint = true;
    }
    return true;
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (edit == nullptr) return false;
    // Ctrl with a letter types a control character (the clipboard shortcuts among them), even
    // where the platform reports no text for it.
    const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
    const bool ctrlLetter = ctrl && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
    if (!ctrlLetter && typesNoCharacter(*key)) return false;
    const QString typed = key->text();
    // Characters typed with Ctrl and other control characters (Enter, Escape) are discarded like
    // any character that is not admitted.
    const bool control = ctrl || std::any_of(typed.begin(), typed.end(), [](QChar c) {
                             return (c.unicode() < 32 && c != kBackspace) || c == kDelete;
                         });
    if (control || !admits(edit->text(), typed)) {
        event->accept();
        return true;
    }
    return false;
}

}  // namespace panels
