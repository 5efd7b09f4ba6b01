#pragma once

#include <QAction>
#include <QTest>
#include <QToolButton>

namespace testsupport {

// Runs a window's command as the person does: triggers its menu item, or clicks its tool button.
inline void runControl(QWidget& window, const char* control) {
    if (auto* action = window.findChild<QAction*>(QString::fromLatin1(control))) {
        action->trigger();
        return;
    }
    auto* button = window.findChild<QToolButton*>(QString::fromLatin1(control));
    QVERIFY2(button != nullptr, control);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace testsupport
