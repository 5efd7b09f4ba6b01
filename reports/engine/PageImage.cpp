#include "reports/engine/PageImage.h"

namespace reports {

void PageImage::fill(const QRectF& rect, std::uint32_t rgb) {
    ops_.push_back({PageOp::Kind::Fill, 0, float(rect.x()), float(rect.y()), float(rect.width()),
                    float(rect.height()), rgb, 0});
}

void PageImage::shape(const QRectF& rect) {
    ops_.push_back({PageOp::Kind::Shape, 0, float(rect.x()), float(rect.y()), float(rect.width()),
                    float(rect.height()), 0, 0});
}

void PageImage::text(double x, double top, std::uint16_t font, QStringView line) {
    ops_.push_back({PageOp::Kind::Text, font, float(x), float(top), 0, 0,
                    std::uint32_t(texts_.size()), std::uint32_t(line.size())});
    texts_.append(line);
}

void PageImage::squeeze() {
    ops_.shrink_to_fit();
    texts_.squeeze();
}

std::vector<QString> PageImage::texts() const {
    std::vector<QString> result;
    for (const PageOp& op : ops_) {
        if (op.kind == PageOp::Kind::Text) result.push_back(textOf(op).toString());
    }
    return result;
}

bool PageImage::containsText(QStringView line) const {
    for (const PageOp& op : ops_) {
        if (op.kind == PageOp::Kind::Text && textOf(op) == line) return true;
    }
    return false;
}

std::size_t PageImage::memoryUsage() const {
    return sizeof(*this) + ops_.capacity() * sizeof(PageOp) +
           std::size_t(texts_.capacity()) * sizeof(QChar);
}

}  // namespace reports
