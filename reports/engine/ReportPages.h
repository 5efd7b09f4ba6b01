#pragma once

#include <QObject>
#include <deque>
#include <vector>

#include "reports/engine/PageSink.h"

namespace reports {

// The page images of a preview, announced one by one while the report is produced.
class ReportPages : public QObject, public PageSink {
    Q_OBJECT
  public:
    using QObject::QObject;

    int pageCount() const { return int(pages_.size()); }
    // Page number is 1-based; the reference stays valid until clear().
    const PageImage& page(int number) const { return pages_.at(std::size_t(number - 1)); }
    const std::vector<ReportFont>& fonts() const { return fonts_; }
    bool isComplete() const { return complete_; }
    void clear();
    std::size_t memoryUsage() const;

    void begin(const std::vector<ReportFont>& fonts) override;
    void pageFinished(int number, PageImage&& page) override;
    void progress(int percent) override { emit progressChanged(percent); }
    void finished() override;

  signals:
    void pageAdded(int number);
    void progressChanged(int percent);
    void completed();

  private:
    std::deque<PageImage> pages_;  // pages stay in place while more are added
    std::vector<ReportFont> fonts_;
    bool complete_ = false;
};

}  // namespace reports
