#include "reports/engine/PageImage.h"

#include <algorithm>

namespace reports {

namespace {

constexpr std::size_t kPatternsPerBand = 4;

// Places taken from the band's corner carry the float rounding of the band's place on the page.
bool near(float a, float b) { return a - b < 1e-3f && b - a < 1e-3f; }

// Same drawing apart from what a text and its box may change from row to row.
bool sameShape(const PageOp& a, const PageOp& b) {
    if (a.kind != b.kind || a.box != b.box || !near(a.x, b.x) || !near(a.y, b.y)) return false;
    switch (a.kind) {
        case PageOp::Kind::Fill:
            return near(a.h, b.h) && a.value == b.value && (a.box || near(a.w, b.w));
        case PageOp::Kind::Shape:
            return near(a.w, b.w) && near(a.h, b.h);
        case PageOp::Kind::Text:
            return a.font == b.font;
        case PageOp::Kind::Stamp:
            return false;
    }
    return false;
}

}  // namespace

int BandPatterns::match(const void* band, const std::vector<PageOp>& ops) {
    std::size_t ofBand = 0;
    for (std::size_t i = 0; i < patterns_.size(); ++i) {
        const Pattern& p = patterns_[i];
        if (p.band != band) continue;
        ++ofBand;
        if (std::equal(p.ops.begin(), p.ops.end(), ops.begin(), ops.end(), sameShape))
            return int(i);
    }
    if (ofBand >= kPatternsPerBand || patterns_.size() >= 0xFFFF) return -1;
    Pattern pattern{band, ops, 0};
    for (const PageOp& op : ops) pattern.texts += op.kind == PageOp::Kind::Text ? 1 : 0;
    patterns_.push_back(std::move(pattern));
    return int(patterns_.size() - 1);
}

void PageImage::fill(const QRectF& rect, std::uint32_t rgb) {
    target().push_back({PageOp::Kind::Fill, false, 0, float(rect.x()), float(rect.y()),
                        float(rect.width()), float(rect.height()), rgb, 0});
}

void PageImage::shape(const QRectF& rect) {
    target().push_back({PageOp::Kind::Shape, false, 0, float(rect.x()), float(rect.y()),
                        float(rect.width()), float(rect.height()), 0, 0});
}

void PageImage::text(double x, double top, std::uint16_t font, QStringView line) {
    target().push_back({PageOp::Kind::Text, false, font, float(x), float(top), 0, 0,
                        std::uint32_t(texts_.size()), std::uint32_t(line.size())});
    texts_.append(line);
}

void PageImage::boxedText(const QRectF& box, std::uint32_t rgb, double x, double top,
                          std::uint16_t font, QStringView line) {
    target().push_back({PageOp::Kind::Fill, true, 0, float(box.x()), float(box.y()),
                        float(box.width()), float(box.height()), rgb, 0});
    text(x, top, font, line);
}

void PageImage::beginBand(const void* band, double left, double top) {
    endBand();
    inBand_ = true;
    bandKey_ = band;
    bandLeft_ = left;
    bandTop_ = top;
    band_.clear();
}

void PageImage::endBand() {
    if (!inBand_) return;
    inBand_ = false;
    const int pattern = patterns_ ? [&] {
        std::vector<PageOp> relative = band_;
        for (PageOp& op : relative) {
            op.x = float(op.x - bandLeft_);
            op.y = float(op.y - bandTop_);
            if (op.kind == PageOp::Kind::Text) op.value = op.length = 0;
            if (op.box) op.w = 0;
        }
        return patterns_->match(bandKey_, relative);
    }()
                                  : -1;
    if (pattern < 0) {
        ops_.insert(ops_.end(), band_.begin(), band_.end());
        return;
    }
    // The texts of the band were added to the pool one after another; the stamp keeps where the
    // first one starts and where the last one ends.
    PageOp stamp{PageOp::Kind::Stamp,
                 false,
                 std::uint16_t(pattern),
                 float(bandLeft_),
                 float(bandTop_),
                 0,
                 0,
                 std::uint32_t(slots_.size()),
                 0};
    float boxWidth = 0;
    for (const PageOp& op : band_) {
        if (op.box) boxWidth = op.w;
        if (op.kind != PageOp::Kind::Text) continue;
        slots_.push_back({op.value, boxWidth});
        boxWidth = 0;
        stamp.length = op.value + op.length;
    }
    ops_.push_back(stamp);
}

void PageImage::squeeze() {
    endBand();
    band_ = {};
    ops_.shrink_to_fit();
    slots_.shrink_to_fit();
    texts_.squeeze();
}

std::vector<PageOp> PageImage::ops() const {
    std::vector<PageOp> all;
    all.reserve(ops_.size());
    for (const PageOp& op : ops_) {
        if (op.kind != PageOp::Kind::Stamp) {
            all.push_back(op);
            continue;
        }
        const BandPatterns::Pattern& pattern = patterns_->at(op.font);
        const Slot* slot = slots_.data() + op.value;
        const Slot* last = slot + pattern.texts - 1;
        for (PageOp drawn : pattern.ops) {
            drawn.x = float(double(op.x) + drawn.x);
            drawn.y = float(double(op.y) + drawn.y);
            if (drawn.box) drawn.w = slot->width;
            if (drawn.kind == PageOp::Kind::Text) {
                drawn.value = slot->start;
                drawn.length = (slot == last ? op.length : slot[1].start) - slot->start;
                ++slot;
            }
            all.push_back(drawn);
        }
    }
    return all;
}

std::vector<QString> PageImage::texts() const {
    std::vector<QString> result;
    for (const PageOp& op : ops()) {
        if (op.kind == PageOp::Kind::Text && op.length > 0) result.push_back(textOf(op).toString());
    }
    return result;
}

bool PageImage::containsText(QStringView line) const {
    for (const PageOp& op : ops()) {
        if (op.kind == PageOp::Kind::Text && textOf(op) == line) return true;
    }
    return false;
}

std::size_t PageImage::memoryUsage() const {
    return sizeof(*this) + ops_.capacity() * sizeof(PageOp) + slots_.capacity() * sizeof(Slot) +
           band_.capacity() * sizeof(PageOp) + std::size_t(texts_.capacity()) * sizeof(QChar);
}

}  // namespace reports
