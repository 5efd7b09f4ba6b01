#pragma once

class QWidget;

namespace platform {

// Shows window modally for the whole application and returns once it is hidden or closed.
// Works for any top-level window, dialog or not.
void showModal(QWidget& window);

// For a window shown modally by showModal: hides it, shows next modally in its place and shows it
// again once next is hidden or closed. The window's own modal display goes on meanwhile.
void showModalInPlace(QWidget& window, QWidget& next);

}  // namespace platform
