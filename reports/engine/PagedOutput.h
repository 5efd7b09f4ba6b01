#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <functional>
#include <vector>

#include "reports/engine/PageSink.h"

class QPagedPaintDevice;

namespace reports {

class TReport;

// Paints each finished page straight onto a printer or a PDF writer, keeping none of them.
// With a first and last page, only that range is sent.
class PagedOutput : public PageSink {
  public:
    explicit PagedOutput(QPagedPaintDevice& device, int firstPage = 0, int lastPage = 0);
    ~PagedOutput() override;

    void begin(const std::vector<ReportFont>& fonts) override;
    void pageFinished(int number, PageImage&& page) override;
    void progress(int percent) override;
    void finished() override;

    int pagesSent() const { return pagesSent_; }
    std::function<void(int)> onProgress;

  private:
    QPagedPaintDevice& device_;
    int firstPage_;
    int lastPage_;
    std::vector<ReportFont> fonts_;
    QPainter painter_;
    int pagesSent_ = 0;
};

// The orientation the report's layout is drawn for.
QPageLayout::Orientation pageOrientation(const TReport& report);

// Writes the report as a PDF file at path (A4, the page's orientation). The file appears only
// when the whole report was written; otherwise any earlier file of that name stays as it was.
// Returns false when production was cancelled or the report was busy; throws
// std::runtime_error when the file cannot be written.
bool writePdf(TReport& report, const QString& path, std::function<void(int)> onProgress = {});

}  // namespace reports
