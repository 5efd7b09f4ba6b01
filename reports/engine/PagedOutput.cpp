#include "reports/engine/PagedOutput.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <stdexcept>

#include "reports/engine/PagePainter.h"
#include "reports/engine/Report.h"
#include "reports/engine/Units.h"

namespace reports {

QPageLayout::Orientation pageOrientation(const TReport& report) {
    return report.Page.Orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait;
}

PagedOutput::PagedOutput(QPagedPaintDevice& device, int firstPage, int lastPage)
    : device_(device), firstPage_(firstPage), lastPage_(lastPage) {}

PagedOutput::~PagedOutput() {
    if (painter_.isActive()) painter_.end();
}

void PagedOutput::begin(const std::vector<ReportFont>& fonts) { fonts_ = fonts; }

void PagedOutput::pageFinished(int number, PageImage&& page) {
    const bool ranged = firstPage_ > 0 || lastPage_ > 0;
    if (ranged && (number < firstPage_ || (lastPage_ > 0 && number > lastPage_))) return;
    if (!painter_.isActive()) {
        if (!painter_.begin(&device_)) throw std::runtime_error("The printer could not be opened.");
    } else {
        device_.newPage();
    }
    // The painter's origin is the printable area's corner; page positions count from the
    // paper's edge, so the unprintable margins are the offsets.
    const int dpiX = device_.logicalDpiX();
    const int dpiY = device_.logicalDpiY();
    const QPageLayout layout = device_.pageLayout();
    DeviceMapping mapping{double(dpiX), double(dpiY),
                          layout.paintRectPixels(dpiX).left() * kTenthsPerInch / dpiX,
                          layout.paintRectPixels(dpiY).top() * kTenthsPerInch / dpiY};
    paintPage(page, fonts_, painter_, mapping);
    ++pagesSent_;
}

void PagedOutput::progress(int percent) {
    if (onProgress) onProgress(percent);
}

void PagedOutput::finished() {
    if (painter_.isActive()) painter_.end();
}

bool writePdf(TReport& report, const QString& path, std::function<void(int)> onProgress) {
    if (report.isProducing()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("Cannot create file " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    bool completed = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.ReportTitle);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), pageOrientation(report), QMarginsF(0, 0, 0, 0)));
        PagedOutput output(writer);
        output.onProgress = std::move(onProgress);
        completed = report.produce(output);
    }
    if (!completed) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        throw std::runtime_error("Cannot write file " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    return true;
}

}  // namespace reports
