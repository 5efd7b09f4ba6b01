#pragma once

#include <vector>

#include "reports/engine/PageImage.h"
#include "reports/engine/ReportFont.h"

namespace reports {

// Where a report's finished pages go: the preview's page list, a printer or a PDF file.
class PageSink {
  public:
    virtual ~PageSink() = default;

    // Production starts; fonts lists every font the pages' texts refer to by index.
    virtual void begin(const std::vector<ReportFont>& fonts) = 0;
    // Page number (1-based) is finished.
    virtual void pageFinished(int number, PageImage&& page) = 0;
    // Rows printed so far as a percentage of all rows.
    virtual void progress(int /*percent*/) {}
    // The last page is finished; not called when production was cancelled or failed.
    virtual void finished() {}
};

}  // namespace reports
