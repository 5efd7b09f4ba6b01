#pragma once

#include <QAbstractScrollArea>
#include <vector>

#include "reports/engine/PageImage.h"
#include "reports/engine/ReportFont.h"

namespace reports {

// The page area of the preview: one page at a zoom, centred where it is smaller than the area,
// with a one-pixel border and a two-pixel shadow along its right and bottom edges.
class PageView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit PageView(QWidget* parent = nullptr);

    // The page to show (nullptr: none yet); fonts are the report's font list.
    void setPage(const PageImage* page, const std::vector<ReportFont>* fonts);
    // The paper's size at 100%, in pixels of this screen.
    void setPaperSize(QSize pixels);
    QSize paperSize() const { return paper_; }
    // Draws the page at the zoom and returns both scroll positions to 0.
    void setZoom(int percent);
    int zoom() const { return zoom_; }

    QSize contentSize() const;  // the zoomed page plus 4 pixels for border and shadow
    QRect pageRect() const;     // where the page is drawn, in the viewport's coordinates
    void recentre();            // after the area changed size at a fixed zoom

  signals:
    void areaResized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void updateScrollBars();

    const PageImage* page_ = nullptr;
    const std::vector<ReportFont>* fonts_ = nullptr;
    QSize paper_{1123, 794};
    int zoom_ = 100;
};

}  // namespace reports
