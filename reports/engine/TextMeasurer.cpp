#include "reports/engine/TextMeasurer.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "reports/engine/Units.h"

namespace reports {

namespace {
constexpr int kMeasureDpi = 1200;
constexpr double kTenthsPerDot = kTenthsPerInch / kMeasureDpi;

// Characters whose advance is their width in a line: no joining, reordering or combining.
bool simple(char16_t c) {
    const QChar ch(c);
    if (ch.isSurrogate() || ch.isMark() || ch.category() == QChar::Other_Format) return false;
    switch (ch.script()) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Han:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Bopomofo:
            return true;
        default:
            return false;
    }
}

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

float TextMeasurer::advance(Measured& m, char16_t c) {
    auto& page = m.advances[c >> 8];
    if (!page) {
        page = std::make_unique<AdvancePage>();
        page->fill(std::numeric_limits<float>::quiet_NaN());
    }
    float& slot = (*page)[c & 0xFF];
    if (std::isnan(slot)) slot = simple(c) ? float(m.metrics.horizontalAdvance(QChar(c))) : -1.0f;
    return slot;
}

double TextMeasurer::width(std::uint16_t font, QStringView line) {
    if (line.isEmpty()) return 0.0;
    Measured& m = *measured_.at(font);
    double dots = 0;
    for (QChar c : line) {
        const float a = advance(m, c.unicode());
        if (a < 0) return m.metrics.horizontalAdvance(line.toString()) * kTenthsPerDot;
        dots += a;
    }
    return dots * kTenthsPerDot;
}

double TextMeasurer::lineHeight(std::uint16_t font) const { return measured_.at(font)->lineHeight; }

}  // namespace reports
