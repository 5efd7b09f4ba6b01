#include "reports/engine/ReportPages.h"

namespace reports {

void ReportPages::clear() {
    pages_.clear();
    pages_.shrink_to_fit();  // a preview's pages are large: give the memory back at once
    complete_ = false;
}

std::size_t ReportPages::memoryUsage() const {
    std::size_t bytes = pages_.size() * sizeof(PageImage);
    for (const PageImage& page : pages_) bytes += page.memoryUsage() - sizeof(PageImage);
    return bytes;
}

void ReportPages::begin(const std::vector<ReportFont>& fonts) {
    clear();
    fonts_ = fonts;
}

void ReportPages::pageFinished(int number, PageImage&& page) {
    page.squeeze();
    pages_.push_back(std::move(page));
    emit pageAdded(number);
}

void ReportPages::finished() {
    complete_ = true;
    emit completed();
}

}  // namespace reports
