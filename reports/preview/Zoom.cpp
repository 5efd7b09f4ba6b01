#include "reports/preview/Zoom.h"

#include <algorithm>
#include <cmath>

#include "reports/engine/Report.h"
#include "reports/engine/Units.h"

namespace reports {

namespace {
int scaled(int area, int page, double percent) {
    if (page <= 0) return 0;
    return int(std::lround(double(area) / page * percent));
}
}  // namespace

int fitZoom(QSize area, QSize page) {
    return std::min(scaled(area.width(), page.width(), 95),
                    scaled(area.height(), page.height(), 95));
}

int widthZoom(QSize area, QSize page) { return scaled(area.width(), page.width(), 90); }

std::optional<int> zoomFor(ZoomMode mode, QSize area, QSize page, int percent) {
    int zoom = percent;
    if (mode == ZoomMode::Fit) zoom = fitZoom(area, page);
    if (mode == ZoomMode::Width) zoom = widthZoom(area, page);
    if (zoom < kMinZoom || zoom > kMaxZoom) return std::nullopt;
    return zoom;
}

QSize paperPixels(const TReport& report, double dpiX, double dpiY) {
    const DeviceMapping mapping{dpiX, dpiY};
    return QSize(mapping.width(report.Page.Width), mapping.height(report.Page.Length));
}

}  // namespace reports
