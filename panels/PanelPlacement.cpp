#include "panels/PanelPlacement.h"

#include <QWidget>

namespace panels {

void showPanelAt(QWidget* panel, const QPoint& place) {
    panel->move(place);
    panel->raise();
    panel->show();
}

void showModeButton(QWidget* shown, QWidget* hidden) {
    hidden->hide();
    shown->show();
}

}  // namespace panels
