#pragma once

#include <QFontMetricsF>
#include <QImage>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "reports/engine/ReportFont.h"

namespace reports {

// Measures texts in tenths of a millimetre, independent of any output device: metrics are taken
// at a fine resolution and kept per font. Report fonts are drawn without kerning or ligatures, so
// a line of simple script (Latin, Han, digits, signs) is as wide as its characters' advances,
// which are remembered one by one; other lines are shaped whole.
class TextMeasurer {
  public:
    TextMeasurer();
    ~TextMeasurer();

    std::uint16_t fontId(const ReportFont& font);  // registers the font on first use
    const std::vector<ReportFont>& fonts() const { return fonts_; }

    double width(std::uint16_t font, QStringView line);
    double lineHeight(std::uint16_t font) const;  // the height of "W"

  private:
    using AdvancePage = std::array<float, 256>;  // NaN: not measured yet; -1: shape the line
    struct Measured {
        QFontMetricsF metrics;
        double lineHeight;
        std::array<std::unique_ptr<AdvancePage>, 256> advances;
    };
    static float advance(Measured& m, char16_t c);
    QImage device_;
    std::vector<ReportFont> fonts_;
    std::vector<std::unique_ptr<Measured>> measured_;
};

}  // namespace reports
