#include "reports/engine/ReportBand.h"

#include "reports/engine/Units.h"

namespace reports {

TReportShape& TReportBand::addShape(double x, double y, double w, double h) {
    auto shape = std::make_unique<TReportShape>();
    shape->Size = {designToTenths(h), designToTenths(x), designToTenths(y), designToTenths(w)};
    return static_cast<TReportShape&>(add(std::move(shape)));
}

TReportLabel& TReportBand::addLabel(double x, double y, double h, const QString& caption,
                                    const ReportFont& font, const QString& name) {
    auto label = std::make_unique<TReportLabel>();
    label->Name = name;
    label->Caption = caption;
    label->Font = font;
    label->Size = {designToTenths(h), designToTenths(x), designToTenths(y), 0};
    return static_cast<TReportLabel&>(add(std::move(label)));
}

TReportDBText& TReportBand::addDBText(double x, double y, double h, DataCursor* dataSet,
                                      const QString& field, const ReportFont& font) {
    auto text = std::make_unique<TReportDBText>();
    text->Name = field;
    text->DataSet = dataSet;
    text->DataField = field;
    text->Font = font;
    text->Size = {designToTenths(h), designToTenths(x), designToTenths(y), 0};
    return static_cast<TReportDBText&>(add(std::move(text)));
}

TReportElement& TReportBand::add(std::unique_ptr<TReportElement> element) {
    Elements.push_back(std::move(element));
    return *Elements.back();
}

}  // namespace reports
