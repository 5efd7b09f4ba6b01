#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "reports/engine/ReportElements.h"

namespace reports {

class DataCursor;

enum class TBandType {
    bandTitle,
    bandPageHeader,
    bandColumnHeader,
    bandDetail,
    bandGroupHeader,
    bandChild,
    bandPageFooter,
    bandSummary,
};

// Height and width of a band, in tenths of a millimetre.
struct BandSize {
    double Height = 0;
    double Width = 0;
};

// A horizontal strip of a report with its elements in drawing order. Its background is white
// and opaque; its height is fixed.
class TReportBand {
  public:
    TReportBand(TBandType type, BandSize size) : BandType(type), Size(size) {}

    // The builders take the layout's design units (1/96 inch) and convert them once.
    TReportShape& addShape(double x, double y, double w, double h);
    TReportLabel& addLabel(double x, double y, double h, const QString& caption,
                           const ReportFont& font, const QString& name = {});
    TReportDBText& addDBText(double x, double y, double h, DataCursor* dataSet,
                             const QString& field, const ReportFont& font);
    TReportElement& add(std::unique_ptr<TReportElement> element);

    TBandType BandType;
    BandSize Size;
    std::vector<std::unique_ptr<TReportElement>> Elements;
};

}  // namespace reports
