#pragma once

#include <QPageLayout>
#include <QString>

namespace reports {

enum class TPrinterOrientation { poPortrait, poLandscape };

// Page values in tenths of a millimetre. Length runs top to bottom, Width left to right.
struct ReportPage {
    TPrinterOrientation Orientation = TPrinterOrientation::poLandscape;
    double Length = 2100.0;
    double Width = 2970.0;
    double TopMargin = 150.0;
    double BottomMargin = 150.0;
    double LeftMargin = 130.0;
    double RightMargin = 130.0;
    int Columns = 1;
    double ColumnSpace = 0.0;
};

enum ReportOption { FirstPageHeader = 0x1, LastPageFooter = 0x2 };

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPreviewZoom { zoomToFit, zoomToWidth, zoom100 };

// The driver's paper source, duplex mode and colour mode as the printing module numbers them
// (QPrinter::PaperSource, DuplexMode, ColorMode); the engine itself does not link that module.
constexpr int kAutoPaperSource = 6;
constexpr int kDuplexNone = 0;
constexpr int kColorMode = 1;

// The choices of the print dialog, kept for later printing. Until the dialog has been confirmed
// the printer driver's defaults apply, apart from the copies and the page range.
struct ReportPrinterSettings {
    bool fromDialog = false;
    QString printerName;  // empty: the default printer
    int copies = 1;
    int firstPage = 0;  // 0 and 0: all pages
    int lastPage = 0;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    int paperSource = kAutoPaperSource;
    int duplex = kDuplexNone;
    int resolution = 0;  // dots per inch; 0: the driver's
    bool collate = true;
    int colorMode = kColorMode;
};

}  // namespace reports
