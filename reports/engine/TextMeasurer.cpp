#include "reports/engine/TextMeasurer.h"

#include <stdexcept>

#include "reports/engine/Units.h"

namespace reports {

namespace {
constexpr int kMeasureDpi = 1200;
constexpr double kTenthsPerDot = kTenthsPerInch / kMeasureDpi;
constexpr qsizetype kWidthCacheLimit = 20000;  // per font
}  // namespace

TextMeasurer::TextMeasurer() : device_(1, 1, QImage::Format_RGB32) {
    const int dotsPerMetre = int(std::lround(kMeasureDpi / 0.0254));
    device_.setDotsPerMeterX(dotsPerMetre);
    device_.setDotsPerMeterY(dotsPerMetre);
}

TextMeasurer::~TextMeasurer() = default;

std::uint16_t TextMeasurer::fontId(const ReportFont& font) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == font) return std::uint16_t(i);
    }
    if (fonts_.size() >= 0xFFFF) throw std::length_error("too many report fonts");
    QFontMetricsF metrics(font.toQFont(), &device_);
    const double height = metrics.height() * kTenthsPerDot;
    fonts_.push_back(font);
    measured_.push_back(std::make_unique<Measured>(Measured{metrics, height, {}}));
    return std::uint16_t(fonts_.size() - 1);
}

double TextMeasurer::width(std::uint16_t font, QStringView line) {
    if (line.isEmpty()) return 0.0;
    Measured& m = *measured_.at(font);
    const QString key = line.toString();
    if (auto it = m.widths.constFind(key); it != m.widths.constEnd()) return *it;
    const double w = m.metrics.horizontalAdvance(key) * kTenthsPerDot;
    if (m.widths.size() >= kWidthCacheLimit) m.widths.clear();
    m.widths.insert(key, w);
    return w;
}

double TextMeasurer::lineHeight(std::uint16_t font) const { return measured_.at(font)->lineHeight; }

}  // namespace reports
