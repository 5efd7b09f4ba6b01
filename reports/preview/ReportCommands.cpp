#include "reports/preview/ReportCommands.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/FileFilters.h"
#include "platform/Platform.h"
#include "reports/engine/PagedOutput.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportPages.h"
#include "reports/preview/PrintProgress.h"
#include "reports/preview/PrinterSettings.h"
#include "reports/preview/ReportPreview.h"

namespace reports {

namespace {

void closeAndDelete(QPointer<TReportPreview>& window) {
    if (window.isNull()) return;
    window->close();
    delete window.data();
}

}  // namespace

void Preview(TReport& report, QWidget* owner) {
    QCoreApplication::processEvents();
    if (report.isProducing()) return;

    ReportPages pages;
    // A window shown modally blocks every window that is not its own, so a preview without an
    // owner opened from it could not be used at all.
    QPointer<TReportPreview> window =
        new TReportPreview(report, pages, owner != nullptr ? owner->window() : nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    if (owner != nullptr) {
        window->setWindowFlag(Qt::Window);
        window->setWindowModality(Qt::WindowModal);
    }
    bool closed = false;
    QEventLoop loop;
    QObject::connect(window, &TReportPreview::closed, &loop, [&] {
        closed = true;
        loop.quit();
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    if (report.PreviewInitialState == TWindowState::wsMaximized) {
        window->showMaximized();
    } else {
        window->show();
    }

    bool completed = false;
    try {
        completed = report.produce(pages);
    } catch (...) {
        closeAndDelete(window);
        throw;
    }
    if (completed && !closed && !window.isNull()) loop.exec();
    closeAndDelete(window);
    QCoreApplication::processEvents();
}

void Print(TReport& report, QWidget* owner) {
    if (report.isProducing()) return;
    platform::Platform& platform = platform::current();

    TPrintProgress progress(owner);
    QObject::connect(&progress, &TPrintProgress::cancelRequested, &progress,
                     [&report] { report.cancel(); });
    auto showProgress = [&progress](int percent) { progress.setPercent(percent); };

    if (!platform.hasPrinter()) {
        // Without a printer driver the shop can still hand out its reports as PDF files.
        QString name =
            platform.saveFileName(owner, QStringLiteral("报表.pdf"), ::platform::pdfFilter());
        if (name.isEmpty()) return;
        if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            name += QStringLiteral(".pdf");
        progress.show();
        writePdf(report, name, showProgress);
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    applyPrinterSettings(printer, report);
    PagedOutput output(printer, report.Printer.firstPage, report.Printer.lastPage);
    output.onProgress = showProgress;
    progress.show();
    report.produce(output);
}

bool PrinterSetup(TReport& report, QWidget* owner, int pageCount) {
    platform::Platform& platform = platform::current();
    if (!platform.hasPrinter()) {
        platform.message(owner, QStringLiteral("没有安装打印机。"), platform::MessageKind::Info);
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    applyPrinterSettings(printer, report);
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (pageCount > 0) {
        dialog.setMinMax(1, pageCount);
        printer.setFromTo(1, pageCount);
    } else {
        dialog.setMinMax(0, 9999);
    }
    if (!platform.printDialog(owner, dialog)) return false;

    ReportPrinterSettings& s = report.Printer;
    s.fromDialog = true;
    s.printerName = printer.printerName();
    s.copies = printer.copyCount();
    s.orientation = printer.pageLayout().orientation();
    s.paperSource = printer.paperSource();
    s.duplex = printer.duplex();
    s.resolution = printer.resolution();
    s.collate = printer.collateCopies();
    s.colorMode = printer.colorMode();
    if (printer.printRange() == QPrinter::PageRange) {
        s.firstPage = printer.fromPage();
        s.lastPage = printer.toPage();
    } else {
        s.firstPage = 0;
        s.lastPage = 0;
    }
    return true;
}

}  // namespace reports
