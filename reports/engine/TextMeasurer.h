#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

#include "reports/engine/ReportFont.h"

namespace reports {

// Measures texts in tenths of a millimetre, independent of any output device: metrics are taken
// at a fine resolution and kept per font, and widths of texts already seen are remembered
// (report columns repeat the same units, names and numbers on many rows).
class TextMeasurer {
  public:
    TextMeasurer();
    ~TextMeasurer();

    std::uint16_t fontId(const ReportFont& font);  // registers the font on first use
    const std::vector<ReportFont>& fonts() const { return fonts_; }

    double width(std::uint16_t font, QStringView line);
    double lineHeight(std::uint16_t font) const;  // the height of "W"

  private:
    struct Measured {
        QFontMetricsF metrics;
        double lineHeight;
        QHash<QString, double> widths;
    };
    QImage device_;
    std::vector<ReportFont> fonts_;
    std::vector<std::unique_ptr<Measured>> measured_;
};

}  // namespace reports
