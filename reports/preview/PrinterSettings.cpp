#include "reports/preview/PrinterSettings.h"

#include <QPageSize>
#include <QPrinter>
#include <algorithm>

#include "reports/engine/PagedOutput.h"
#include "reports/engine/Report.h"

namespace reports {

static_assert(kAutoPaperSource == QPrinter::Auto);
static_assert(kDuplexNone == QPrinter::DuplexNone);
static_assert(kColorMode == QPrinter::Color);

void applyPrinterSettings(QPrinter& printer, const TReport& report) {
    const ReportPrinterSettings& s = report.Printer;
    if (s.fromDialog && !s.printerName.isEmpty()) printer.setPrinterName(s.printerName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // The layout is drawn for the report's own orientation; an orientation chosen in the print
    // dialog is kept with the other choices but cannot turn the pages.
    printer.setPageOrientation(pageOrientation(report));
    printer.setCopyCount(std::max(1, s.copies));
    if (s.fromDialog) {
        printer.setPaperSource(QPrinter::PaperSource(s.paperSource));
        printer.setDuplex(QPrinter::DuplexMode(s.duplex));
        if (s.resolution > 0) printer.setResolution(s.resolution);
        printer.setCollateCopies(s.collate);
        printer.setColorMode(QPrinter::ColorMode(s.colorMode));
    }
    if (s.firstPage > 0 && s.lastPage >= s.firstPage) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(s.firstPage, s.lastPage);
    }
}

}  // namespace reports
