#pragma once

class QWidget;

namespace platform {

// Shows window modally for the whole application and returns once it is hidden or closed.
// Works for any top-level window, dialog or not.
void showModal(QWidget& window);

}  // namespace platform
