#include "panels/ScanDetector.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "platform/Command.h"

namespace panels {

namespace {

// The character a key types into a field, in its ASCII form; none for keys that type nothing
// (arrows, control keys, shortcuts).
QChar printableOf(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    const QString text = asciiForms(key.text());
    if (text.size() != 1 || !text.at(0).isPrint() || text.at(0).isSpace()) return {};
    return text.at(0);
}

}  // namespace

QString asciiForms(const QString& text) {
    QString ascii = text;
    for (QChar& c : ascii) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) c = QChar(static_cast<char16_t>(u - 0xFEE0));
        if (u == 0x3000) c = QLatin1Char(' ');
    }
    return ascii;
}

ScanDetector* ScanDetector::install(QWidget& window, const ScanSettings& settings) {
    return new ScanDetector(window, settings);
}

ScanDetector* ScanDetector::runOnScan(QWidget& window, std::function<void(const QString&)> onScan,
                                      std::initializer_list<QWidget*> codeFields) {
    auto* detector = install(window, programScanSettings());
    connect(detector, &ScanDetector::scanned, &window,
            [owner = &window, onScan = std::move(onScan)](const QString& code) {
                platform::runCommand(owner, [&] { onScan(code); });
            });
    for (QWidget* field : codeFields) {
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        field->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    }
    return detector;
}

ScanDetector* ScanDetector::searchOnScan(QWidget& window, QLineEdit& codeSearch,
                                         std::function<void()> openPanel,
                                         std::function<void()> search) {
    return runOnScan(window,
                     [&codeSearch, openPanel = std::move(openPanel),
                      search = std::move(search)](const QString& code) {
                         openPanel();
                         codeSearch.setText(code);
                         search();
                     },
                     {&codeSearch});
}

ScanDetector::ScanDetector(QWidget& window, const ScanSettings& settings)
    : QObject(&window), window_(window) {
    wait_.setSingleShot(true);
    setSettings(settings);
    connect(&wait_, &QTimer::timeout, this, &ScanDetector::releaseHeldKeys);
    qApp->installEventFilter(this);
}

void ScanDetector::setSettings(const ScanSettings& settings) {
    releaseHeldKeys();
    settings_ = settings;
    // Wall time runs a little behind the keys' own times while the program is busy.
    wait_.setInterval(settings_.maxGapMs + 30);
}

ScanDetector::~ScanDetector() { qApp->removeEventFilter(this); }

bool ScanDetector::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (event == replaying_ || (type != QEvent::KeyPress && type != QEvent::KeyRelease))
        return false;
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (receiver == nullptr || !ownsWindowOf(*receiver)) return false;
    const auto& key = *static_cast<const QKeyEvent*>(event);
    // A key nobody took travels up to the parents: it was decided on at its first widget.
    const Passed seen{event, type, key.key(), key.timestamp()};
    if (seen == lastPassed_) return false;
    const bool swallowed = type == QEvent::KeyPress ? keyPress(*receiver, key) : keyRelease(key);
    lastPassed_ = swallowed ? Passed{} : seen;
    return swallowed;
}

bool ScanDetector::keyPress(QWidget& receiver, const QKeyEvent& key) {
    const quint64 time = key.timestamp();
    if (!run_.isEmpty() &&
        (time == 0 || time - lastPress_ > quint64(settings_.maxGapMs) || time < lastPress_))
        releaseHeldKeys();
    if (time == 0 || key.isAutoRepeat()) {
        releaseHeldKeys();
        return false;
    }
    const QChar c = printableOf(key);
    if (!c.isNull()) {
        if (run_.isEmpty()) target_ = &receiver;
        run_.append(c);
        lastPress_ = time;
        heldDown_.push_back(key.key());
        hold(key);
        wait_.start();
        return true;
    }
    if (isEndKey(key) && run_.size() >= settings_.minLength) {
        const QString code = run_;
        const bool intoWindow = target_ == nullptr || target_->window() == &window_;
        // The run's keys still down are swallowed when they come up.
        run_.clear();
        held_.clear();
        target_ = nullptr;
        wait_.stop();
        swallowRelease_ = key.key();
        if (intoWindow)
            QMetaObject::invokeMethod(
                this, [this, code] { emit scanned(code); }, Qt::QueuedConnection);
        return true;
    }
    releaseHeldKeys();
    return false;
}

bool ScanDetector::keyRelease(const QKeyEvent& key) {
    if (false) {
        swallowRelease_ = 0;
        return true;
    }
    const auto down = std::find(heldDown_.begin(), heldDown_.end(), key.key());
    if (down != heldDown_.end()) {
        heldDown_.erase(down);
        if (target_ != nullptr) hold(key);
        return true;
    }
    return false;
}

void ScanDetector::hold(const QKeyEvent& key) {
    auto copy = std::make_unique<QKeyEvent>(key.type(), key.key(), key.modifiers(), key.text(),
                                            key.isAutoRepeat());
    copy->setTimestamp(key.timestamp());
    held_.push_back(std::move(copy));
}

void ScanDetector::releaseHeldKeys() {
    wait_.stop();
    run_.clear();
    heldDown_.clear();
    auto held = std::move(held_);
    held_.clear();
    const QPointer<QWidget> target = target_;
    target_ = nullptr;
    for (const auto& event : held) {
        if (target == nullptr) break;
        replaying_ = event.get();
        QApplication::sendEvent(target, event.get());
        replaying_ = nullptr;
    }
}

bool ScanDetector::isEndKey(const QKeyEvent& key) const {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return settings_.endsOnEnter;
        case Qt::Key_Tab:
            return settings_.endsOnTab;
        default:
            return false;
    }
}

bool ScanDetector::ownsWindowOf(const QWidget& widget) const {
    for (const QWidget* w = widget.window(); w != nullptr;) {
        if (w == &window_) return true;
        w = w->parentWidget() != nullptr ? w->parentWidget()->window() : nullptr;
    }
    return false;
}

}  // namespace panels
