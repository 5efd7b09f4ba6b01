#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace panels {

// Lets the user drag a panel with the left mouse button pressed on its free surface (not on one of
// its edits, labels, pictures or buttons): the panel follows the pointer until the button is
// released and stays where it was dropped. Other buttons do nothing. The free surface shows the
// four-headed move cursor; the panel's children keep their own cursors. However far it is pulled,
// its shown buttons (the close picture among them) stay inside its parent, the list's area.
class PanelDrag : public QObject {
    Q_OBJECT
  public:
    // Installs a drag owned by panel on panel.
    static PanelDrag* install(QWidget* panel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit PanelDrag(QWidget* panel);
    void moveTo(const QPoint& globalPointer);

    QWidget* panel_;
    bool dragging_ = false;
    QPoint grip_;  // where the pointer holds the panel, in the panel's coordinates
};

}  // namespace panels
