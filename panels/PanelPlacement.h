#pragma once

#include <QPoint>

class QWidget;

namespace panels {

// Puts a panel back at its fixed place inside its parent and shows it above the list, without
// taking the keyboard focus.
void showPanelAt(QWidget* panel, const QPoint& place);

// Of two action buttons at the same place, shows the one of the panel's mode and hides the other.
void showModeButton(QWidget* shown, QWidget* hidden);

}  // namespace panels
