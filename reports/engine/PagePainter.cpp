#include "reports/engine/PagePainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <optional>

namespace reports {

namespace {

// Fonts of one painting, made when a text first needs them.
class DeviceFonts {
  public:
    DeviceFonts(const std::vector<ReportFont>& fonts, const QPainter& painter, double pageDpi)
        : fonts_(fonts), made_(fonts.size()), painter_(painter), pageDpi_(pageDpi) {}

    const std::pair<QFont, double>& get(std::size_t index) {
        auto& slot = made_.at(index);
        if (!slot) {
            const QPaintDevice* device = painter_.device();
            QFont font = fonts_[index].toQFont(pageDpi_, device->logicalDpiY());
            const double ascent = QFontMetricsF(font, device).ascent();
            slot.emplace(font, ascent);
        }
        return *slot;
    }

  private:
    const std::vector<ReportFont>& fonts_;
    std::vector<std::optional<std::pair<QFont, double>>> made_;
    const QPainter& painter_;
    double pageDpi_;
};

}  // namespace

void paintPage(const PageImage& page, const std::vector<ReportFont>& fonts, QPainter& painter,
               const DeviceMapping& m) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen outline(Qt::black);
    outline.setWidth(1);
    outline.setCosmetic(true);
    DeviceFonts deviceFonts(fonts, painter, m.dpiY);
    for (const PageOp& op : page.ops()) {
        const int x = m.x(op.x);
        const int y = m.y(op.y);
        // A rectangle runs to its far corner placed like any position, so cells that meet at one
        // position share the same pixel column at every resolution.
        const auto farCorner = [&] { return QPoint(m.x(op.x + op.w), m.y(op.y + op.h)); };
        switch (op.kind) {
            case PageOp::Kind::Fill: {
                const QPoint corner = farCorner();
                painter.fillRect(QRect(x, y, corner.x() - x, corner.y() - y),
                                 QColor::fromRgb(op.value));
                break;
            }
            case PageOp::Kind::Shape: {
                // The outline lies on the rectangle's first and last pixel rows and columns.
                const QPoint corner = farCorner();
                const int w = corner.x() - x;
                const int h = corner.y() - y;
                if (w <= 0 || h <= 0) break;
                painter.setPen(outline);
                painter.setBrush(Qt::white);
                painter.drawRect(QRect(x, y, w - 1, h - 1));
                break;
            }
            case PageOp::Kind::Stamp:  // pages hand out their bands written out
                break;
            case PageOp::Kind::Text: {
                if (op.length == 0) break;
                const auto& [font, ascent] = deviceFonts.get(op.font);
                painter.setPen(Qt::black);
                painter.setFont(font);
                painter.drawText(QPointF(x, y + ascent), page.textOf(op).toString());
                break;
            }
        }
    }
    painter.restore();
}

}  // namespace reports
