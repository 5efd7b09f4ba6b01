#include "reports/preview/PageView.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <cmath>

#include "reports/engine/PagePainter.h"

namespace reports {

namespace {
constexpr int kFrame = 4;  // border and shadow
constexpr int kScrollStep = 20;
}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setBackgroundRole(QPalette::Dark);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
}

void PageView::setPage(const PageImage* page, const std::vector<ReportFont>* fonts) {
    page_ = page;
    fonts_ = fonts;
    viewport()->update();
}

void PageView::setPaperSize(QSize pixels) {
    paper_ = pixels;
    updateScrollBars();
    viewport()->update();
}

void PageView::setZoom(int percent) {
    zoom_ = percent;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

QSize PageView::contentSize() const {
    const QRect page = pageRect();
    return page.size() + QSize(kFrame, kFrame);
}

QRect PageView::pageRect() const {
    const int w = int(std::lround(paper_.width() * zoom_ / 100.0));
    const int h = int(std::lround(paper_.height() * zoom_ / 100.0));
    const QSize area = viewport()->size();
    const int x = w + kFrame < area.width() ? (area.width() - w - kFrame) / 2
                                            : -horizontalScrollBar()->value();
    const int y = h + kFrame < area.height() ? (area.height() - h - kFrame) / 2
                                             : -verticalScrollBar()->value();
    return QRect(x, y, w, h);
}

void PageView::recentre() {
    updateScrollBars();
    viewport()->update();
}

void PageView::updateScrollBars() {
    const QSize content = contentSize();
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect page = pageRect();
    painter.fillRect(page.translated(2, 2), Qt::black);  // the shadow
    painter.fillRect(page, Qt::white);
    if (page_ != nullptr && fonts_ != nullptr) {
        painter.save();
        painter.setClipRect(page);
        painter.translate(page.topLeft());
        const double dpiX = logicalDpiX() * zoom_ / 100.0;
        const double dpiY = logicalDpiY() * zoom_ / 100.0;
        paintPage(*page_, *fonts_, painter, DeviceMapping{dpiX, dpiY});
        painter.restore();
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(page.adjusted(0, 0, -1, -1));
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    emit areaResized();
}

void PageView::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace reports
