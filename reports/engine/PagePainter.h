#pragma once

#include <vector>

#include "reports/engine/PageImage.h"
#include "reports/engine/ReportFont.h"
#include "reports/engine/Units.h"

class QPainter;

namespace reports {

// Draws a recorded page on a painter, placing every length with the device mapping: rectangles
// with a one-pixel black outline and white inside, texts with their top at the given position
// on a transparent background.
void paintPage(const PageImage& page, const std::vector<ReportFont>& fonts, QPainter& painter,
               const DeviceMapping& mapping);

}  // namespace reports
