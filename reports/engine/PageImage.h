#pragma once

#include <QRectF>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

#include "reports/engine/ReportFont.h"

namespace reports {

// One drawing command of a page, in tenths of a millimetre from the paper's top-left corner, so a
// page can be drawn on any device at any resolution.
struct PageOp {
    enum class Kind : std::uint8_t { Fill, Shape, Text, Stamp };
    Kind kind = Kind::Fill;
    bool box = false;        // Fill: the white box of the text that follows
    std::uint16_t font = 0;  // Text: index into the report's font list; Stamp: its pattern
    float x = 0, y = 0, w = 0, h = 0;
    std::uint32_t value = 0;   // Fill: colour as 0xRRGGBB; Text: start in the page's text pool
    std::uint32_t length = 0;  // Text: number of UTF-16 units
};

// The shapes of bands already seen in one production, shared by its pages: a band printed again
// in the same shape (every detail row) is kept as its place and its texts only.
class BandPatterns {
  public:
    struct Pattern {
        const void* band;
        std::vector<PageOp> ops;  // from the band's top-left corner; texts and box widths vary
        int texts = 0;
    };
    const Pattern& at(std::size_t index) const { return patterns_[index]; }
    // The pattern the ops (from the band's corner) follow, made from them when the band has
    // fewer than a few; -1 when none fits.
    int match(const void* band, const std::vector<PageOp>& ops);

  private:
    std::vector<Pattern> patterns_;
};

// A finished page as a list of drawing commands; its texts share one buffer.
class PageImage {
  public:
    PageImage() = default;
    explicit PageImage(std::shared_ptr<BandPatterns> patterns) : patterns_(std::move(patterns)) {}

    void fill(const QRectF& rect, std::uint32_t rgb = 0xFFFFFF);
    void shape(const QRectF& rect);  // black outline, white inside
    void text(double x, double top, std::uint16_t font, QStringView line);
    // A text on its own box (white unless given), measured box first.
    void boxedText(const QRectF& box, std::uint32_t rgb, double x, double top, std::uint16_t font,
                   QStringView line);
    // What is recorded between these two is one printing of band with its corner at
    // (left, top); with patterns, a band seen before in the same shape keeps only its texts.
    void beginBand(const void* band, double left, double top);
    void endBand();
    void squeeze();  // drops spare capacity once the page is finished

    // The drawing commands in order, bands written out.
    std::vector<PageOp> ops() const;
    QStringView textOf(const PageOp& op) const {
        return QStringView(texts_).mid(op.value, op.length);
    }
    // All texts of the page that show, in drawing order, for checks and searches.
    std::vector<QString> texts() const;
    bool containsText(QStringView line) const;
    std::size_t memoryUsage() const;

  private:
    struct Slot {  // a text of a stamped band: where it starts and its box's width
        std::uint32_t start;
        float width;
    };
    std::vector<PageOp>& target() { return inBand_ ? band_ : ops_; }

    std::shared_ptr<BandPatterns> patterns_;
    std::vector<PageOp> ops_;
    std::vector<Slot> slots_;
    QString texts_;
    // The band being recorded.
    bool inBand_ = false;
    const void* bandKey_ = nullptr;
    double bandLeft_ = 0, bandTop_ = 0;
    std::vector<PageOp> band_;
};

}  // namespace reports
