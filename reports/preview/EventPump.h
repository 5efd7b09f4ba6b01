#pragma once

#include <functional>

namespace reports {

// A callback for a report's production that lets the interface work between rows: pending
// events are processed at the first call and then at most every few milliseconds, because a
// pass of the event loop costs more than printing a row and a long report would otherwise spend
// most of its time there.
std::function<void()> throttledEventPump();

}  // namespace reports
