#include "reports/engine/Report.h"

#include <cmath>
#include <stdexcept>

#include "reports/engine/DataCursor.h"
#include "reports/engine/PageImage.h"
#include "reports/engine/PageSink.h"
#include "reports/engine/TextMeasurer.h"
#include "reports/engine/Units.h"

namespace reports {

namespace {

int wholeTenths(double tenths) { return int(std::lround(tenths)); }

class ProducingFlag {
  public:
    explicit ProducingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ProducingFlag() { flag_ = false; }
    ProducingFlag(const ProducingFlag&) = delete;
    ProducingFlag& operator=(const ProducingFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace

TReport::TReport() = default;

TReport::~TReport() = default;

TReportBand& TReport::addBand(TBandType type, double height, double width) {
    Bands.push_back(std::make_unique<TReportBand>(
        type, BandSize{designToTenths(height), designToTenths(width)}));
    return *Bands.back();
}

TReportBand* TReport::band(TBandType type) const {
    for (const auto& band : Bands) {
        if (band->BandType == type) return band.get();
    }
    return nullptr;
}

TReportLabel* TReport::findLabel(const QString& name) const {
    for (const auto& band : Bands) {
        for (const auto& element : band->Elements) {
            if (element->Name != name) continue;
            if (auto* label = dynamic_cast<TReportLabel*>(element.get())) return label;
        }
    }
    return nullptr;
}

void TReport::setCaption(const QString& name, const QString& caption) {
    TReportLabel* label = findLabel(name);
    if (label == nullptr) throw std::invalid_argument("no report label " + name.toStdString());
    label->Caption = caption;
}

QString TReport::caption(const QString& name) const {
    const TReportLabel* label = findLabel(name);
    return label != nullptr ? label->Caption : QString();
}

int TReport::remainingSpace() const {
    // No page footer bands exist, so only the bottom margin is kept free.
    return wholeTenths(Page.Length - Page.BottomMargin - printPosition_);
}

bool TReport::produce(PageSink& sink) {
    if (producing_) return false;
    ProducingFlag flag(producing_);
    cancelled_ = false;
    pageCount_ = 0;
    printPosition_ = 0;
    rowsPrinted_ = 0;
    currentLeft_ = Page.LeftMargin;
    sink_ = &sink;
    page_.reset();
    patterns_ = std::make_shared<BandPatterns>();
    try {
        run(sink);
    } catch (...) {
        page_.reset();
        sink_ = nullptr;
        throw;
    }
    page_.reset();
    sink_ = nullptr;
    return !cancelled_;
}

void TReport::run(PageSink& sink) {
    if (!measurer_) measurer_ = std::make_unique<TextMeasurer>();
    // Every font is known before the first page, so each page can refer to fonts by index.
    for (const auto& band : Bands) {
        for (const auto& element : band->Elements) {
            element->prepare();
            if (auto* text = dynamic_cast<const TReportTextElement*>(element.get())) {
                measurer_->fontId(text->Font);
            }
        }
    }
    sink.begin(measurer_->fonts());

    const TReportBand* title = band(TBandType::bandTitle);
    const TReportBand* detail = band(TBandType::bandDetail);
    const TReportBand* summary = band(TBandType::bandSummary);

    if (DataSet != nullptr) DataSet->first();
    if (DataSet == nullptr || DataSet->eof()) {
        if (!PrintIfEmpty) {
            sink.finished();
            return;
        }
        printBand(title);
        printBand(detail);  // its field texts are empty: one empty table row
        printBand(summary);
    } else {
        const int rows = DataSet->recordCount();
        printBand(title);
        while (!DataSet->eof()) {
            if (cancelled_) return;
            ++rowsPrinted_;
            printBand(detail);
            DataSet->next();
            sink.progress(rows > 0 ? int(qint64(rowsPrinted_) * 100 / rows) : 100);
            if (processEvents) processEvents();
        }
        if (cancelled_) return;
        if (summary != nullptr && summary->Size.Height > remainingSpace()) newPage();
        printBand(summary);
    }
    endPage();
    sink.finished();
}

void TReport::printBand(const TReportBand* band) {
    if (band == nullptr) return;
    const int height = wholeTenths(band->Size.Height);
    const double usable = Page.Length - Page.TopMargin - Page.BottomMargin;
    const bool tallerThanPage = band->Size.Height > usable;
    if (pageCount_ == 0 || (remainingSpace() < height && !tallerThanPage)) newPage();

    page_->beginBand(band, currentLeft_, printPosition_);
    page_->fill(QRectF(currentLeft_, printPosition_, band->Size.Width, band->Size.Height));
    for (const auto& element : band->Elements) {
        element->print(*page_, *measurer_, currentLeft_, printPosition_);
    }
    page_->endBand();
    printPosition_ += height;
}

void TReport::newPage() {
    endPage();
    ++pageCount_;
    page_ = std::make_unique<PageImage>(patterns_);
    printPosition_ = wholeTenths(Page.TopMargin);
    currentLeft_ = Page.LeftMargin;
}

void TReport::endPage() {
    if (!page_) return;
    std::unique_ptr<PageImage> finished = std::move(page_);
    sink_->pageFinished(pageCount_, std::move(*finished));
}

}  // namespace reports
