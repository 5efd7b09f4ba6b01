#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "reports/engine/ReportBand.h"
#include "reports/engine/ReportSettings.h"

namespace reports {

class BandPatterns;
class DataCursor;
class PageImage;
class PageSink;
class TextMeasurer;

// A banded report over one data set: a title band once at the top, a detail band per row and a
// summary band after the last row, placed down the pages. The same production feeds the
// preview's page list, a printer or a PDF file.
class TReport {
  public:
    TReport();
    ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    // Builds a band from design units (1/96 inch).
    TReportBand& addBand(TBandType type, double height, double width);
    TReportBand* band(TBandType type) const;  // the first of that type, or nullptr

    // The fixed text named name, or nullptr.
    TReportLabel* findLabel(const QString& name) const;
    // Replaces the text of a label; throws std::invalid_argument for an unknown name.
    void setCaption(const QString& name, const QString& caption);
    QString caption(const QString& name) const;

    // Produces every page into sink, from the data set's first row. Returns false when the
    // report was already being produced (nothing happens) or production was cancelled. An error
    // of the data set ends production and is rethrown.
    bool produce(PageSink& sink);
    void cancel() { cancelled_ = true; }  // production stops after the current row
    bool isProducing() const { return producing_; }
    bool wasCancelled() const { return cancelled_; }

    // Production state.
    int pageCount() const { return pageCount_; }
    int printPosition() const { return printPosition_; }
    int rowsPrinted() const { return rowsPrinted_; }
    // Space left on the current page in whole tenths.
    int remainingSpace() const;

    ReportPage Page;
    int Options = FirstPageHeader | LastPageFooter;
    bool PrintIfEmpty = true;
    QString ReportTitle;
    TWindowState PreviewInitialState = TWindowState::wsMaximized;
    TPreviewZoom PrevInitialZoom = TPreviewZoom::zoomToFit;
    ReportPrinterSettings Printer;
    DataCursor* DataSet = nullptr;
    std::vector<std::unique_ptr<TReportBand>> Bands;

    // Called after every row, so that whoever shows the production can keep the interface
    // responsive. The report itself never processes events: without a callback, none run.
    std::function<void()> processEvents;

  private:
    void run(PageSink& sink);
    void printBand(const TReportBand* band);
    void newPage();
    void endPage();

    PageSink* sink_ = nullptr;
    std::unique_ptr<TextMeasurer> measurer_;
    std::unique_ptr<PageImage> page_;
    std::shared_ptr<BandPatterns> patterns_;  // of the current production
    int pageCount_ = 0;
    int printPosition_ = 0;
    double currentLeft_ = 0;
    int rowsPrinted_ = 0;
    bool producing_ = false;
    bool cancelled_ = false;
};

}  // namespace reports
