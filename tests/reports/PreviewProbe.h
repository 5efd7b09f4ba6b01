#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

#include "reports/engine/Report.h"
#include "reports/engine/ReportPages.h"
#include "reports/preview/ReportPreview.h"

// The preview window that is showing, if any.
inline reports::TReportPreview* openPreview() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* preview = qobject_cast<reports::TReportPreview*>(widget);
        if (preview != nullptr && preview->isVisible()) return preview;
    }
    return nullptr;
}

// Runs check once a preview is open and its report produced, then closes the preview so that
// the print command that opened it returns.
inline void whenPreviewReady(const reports::TReport& report,
                             std::function<void(reports::TReportPreview&)> check) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &report, check] {
        reports::TReportPreview* preview = openPreview();
        if (preview == nullptr || report.isProducing()) return;
        timer->stop();
        timer->deleteLater();
        check(*preview);
        preview->close();
    });
    timer->start(5);
}

// The report produced again from its data set as it stands, into page images.
inline std::unique_ptr<reports::ReportPages> produce(reports::TReport& report) {
    auto pages = std::make_unique<reports::ReportPages>();
    auto events = std::move(report.processEvents);
    report.processEvents = nullptr;
    report.produce(*pages);
    report.processEvents = std::move(events);
    return pages;
}

inline bool printed(const reports::ReportPages& pages, const QString& text) {
    for (int n = 1; n <= pages.pageCount(); ++n)
        if (pages.page(n).containsText(text)) return true;
    return false;
}
