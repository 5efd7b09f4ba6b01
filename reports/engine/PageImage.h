#pragma once

#include <QRectF>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "reports/engine/ReportFont.h"

namespace reports {

// One recorded drawing command of a page, in tenths of a millimetre from the paper's top-left
// corner, so a page can be drawn on any device at any resolution.
struct PageOp {
    enum class Kind : std::uint8_t { Fill, Shape, Text };
    Kind kind = Kind::Fill;
    std::uint16_t font = 0;  // Text: index into the report's font list
    float x = 0, y = 0, w = 0, h = 0;
    std::uint32_t value = 0;   // Fill: colour as 0xRRGGBB; Text: start in the page's text pool
    std::uint32_t length = 0;  // Text: number of UTF-16 units
};

// A finished page as a list of drawing commands; its texts share one buffer.
class PageImage {
  public:
    void fill(const QRectF& rect, std::uint32_t rgb = 0xFFFFFF);
    void shape(const QRectF& rect);  // black outline, white inside
    void text(double x, double top, std::uint16_t font, QStringView line);
    void squeeze();  // drops spare capacity once the page is finished

    const std::vector<PageOp>& ops() const { return ops_; }
    QStringView textOf(const PageOp& op) const {
        return QStringView(texts_).mid(op.value, op.length);
    }
    // All texts of the page in drawing order, for checks and searches.
    std::vector<QString> texts() const;
    bool containsText(QStringView line) const;
    std::size_t memoryUsage() const;

  private:
    std::vector<PageOp> ops_;
    QString texts_;
};

}  // namespace reports
