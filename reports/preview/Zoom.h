#pragma once

#include <QSize>
#include <optional>

namespace reports {

class TReport;

enum class ZoomMode { Fit, Width, Percent };

inline constexpr int kMinZoom = 2;
inline constexpr int kMaxZoom = 2000;

// The page fills at most 95% of the area in either direction.
int fitZoom(QSize area, QSize page);
// The page's width fills 90% of the area's width.
int widthZoom(QSize area, QSize page);
// The zoom a mode asks for, or nothing when it lies outside 2 to 2000 percent (the zoom then
// stays as it was). page is the page's size at 100%.
std::optional<int> zoomFor(ZoomMode mode, QSize area, QSize page, int percent = 100);

// The report's paper at a resolution: its size at 100% on the screen.
QSize paperPixels(const TReport& report, double dpiX, double dpiY);

}  // namespace reports
