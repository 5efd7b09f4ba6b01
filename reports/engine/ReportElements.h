#pragma once

#include <QColor>
#include <QString>

#include "reports/engine/ReportFont.h"

namespace reports {

class DataCursor;
class PageImage;
class TextMeasurer;

// Height, left, top and width of an element, in tenths of a millimetre from the top-left corner
// of its band. Elements may reach beyond their band.
struct ElementSize {
    double Height = 0;
    double Left = 0;
    double Top = 0;
    double Width = 0;
};

// Something printed in a band. Later elements of a band paint over earlier ones.
class TReportElement {
  public:
    virtual ~TReportElement() = default;
    // Records the element on page with its band's top-left corner at (left, top).
    virtual void print(PageImage& page, TextMeasurer& measurer, double left, double top) const = 0;
    // Runs once before each production, ahead of the rows.
    virtual void prepare() {}

    QString Name;
    ElementSize Size;
};

enum class TAlignment { taLeftJustify };

// A text in one font, auto-sized to its widest line. It is never clipped: a text wider than
// its table cell runs on to the right on its white box.
class TReportTextElement : public TReportElement {
  public:
    void print(PageImage& page, TextMeasurer& measurer, double left, double top) const override;
    virtual QString text() const = 0;

    ReportFont Font;
    TAlignment Alignment = TAlignment::taLeftJustify;
    bool AutoSize = true;
    bool AutoStretch = false;
    bool WordWrap = true;  // without effect while AutoSize is on
    QColor Color = Qt::white;
    bool Transparent = false;
};

// A fixed text; its caption may be replaced at run time.
class TReportLabel : public TReportTextElement {
  public:
    QString text() const override { return Caption; }

    QString Caption;
};

// The display text of a field in the current row of a data set (not necessarily the report's).
class TReportDBText : public TReportTextElement {
  public:
    QString text() const override;
    void prepare() override;  // looks the field up once

    DataCursor* DataSet = nullptr;
    QString DataField;

  private:
    DataCursor* preparedFor_ = nullptr;
    int fieldNumber_ = -1;
};

enum class TShapeType { shapeRectangle };

// A rectangle with a one-pixel black outline, filled white.
class TReportShape : public TReportElement {
  public:
    void print(PageImage& page, TextMeasurer& measurer, double left, double top) const override;

    TShapeType Shape = TShapeType::shapeRectangle;
};

}  // namespace reports
