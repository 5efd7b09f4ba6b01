#include "reports/engine/ReportElements.h"

#include <QStringView>
#include <algorithm>

#include "reports/engine/DataCursor.h"
#include "reports/engine/PageImage.h"
#include "reports/engine/TextMeasurer.h"
#include "reports/engine/Units.h"

namespace reports {

namespace {

// One screen pixel, the "plus one" of a text's least height.
constexpr double kOnePixel = kTenthsPerInch / 96.0;

// Lines end at carriage returns; line feeds are dropped.
template <typename F>
void forEachLine(const QString& text, F&& f) {
    const bool hasReturn = text.contains(QLatin1Char('\r'));
    if (!hasReturn && !text.contains(QLatin1Char('\n'))) {
        f(QStringView(text));
        return;
    }
    if (!text.contains(QLatin1Char('\n'))) {
        for (QStringView line : QStringView(text).split(QLatin1Char('\r'))) f(line);
        return;
    }
    QString cleaned = text;
    cleaned.remove(QLatin1Char('\n'));
    for (QStringView line : QStringView(cleaned).split(QLatin1Char('\r'))) f(line);
}

// A field's text stays on its one line inside its cell: tabs, line breaks and other control
// characters are drawn as spaces.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    return text;
}

}  // namespace

void TReportTextElement::print(PageImage& page, TextMeasurer& measurer, double left,
                               double top) const {
    const QString value = text();
    const std::uint16_t font = measurer.fontId(Font);
    const double lineHeight = measurer.lineHeight(font);
    const double x = left + Size.Left;
    const double y = top + Size.Top;

    double width = 0;
    forEachLine(value,
                [&](QStringView line) { width = std::max(width, measurer.width(font, line)); });
    const double height = std::max(Size.Height, lineHeight + kOnePixel);

    // The first line is always recorded, empty or not, so every printing of a band has the same
    // shape and a repeated band can be kept as its texts only.
    int index = 0;
    forEachLine(value, [&](QStringView line) {
        const double lineTop = index * lineHeight;
        const bool first = index == 0;
        ++index;
        if (first && !Transparent) {
            // The background covers the element's designed rectangle only: a taller line of the
            // substitute face must not paint over the rules that the layout puts next to it.
            page.boxedText(QRectF(x, y, width, Size.Height), Color.rgb() & 0xFFFFFF, x, y, font,
                           line);
            return;
        }
        if (lineTop + lineHeight > height) return;
        if (first || !line.isEmpty()) page.text(x, y + lineTop, font, line);
    });
}

void TReportDBText::prepare() {
    preparedFor_ = DataSet;
    fieldNumber_ =
        DataSet != nullptr && !DataField.isEmpty() ? DataSet->fieldNumber(DataField) : -1;
}

QString TReportDBText::text() const {
    if (DataSet == nullptr || DataField.isEmpty()) return {};
    if (preparedFor_ == DataSet && fieldNumber_ >= 0)
        return oneLine(DataSet->displayText(fieldNumber_));
    return oneLine(DataSet->displayText(DataField));
}

void TReportShape::print(PageImage& page, TextMeasurer&, double left, double top) const {
    page.shape(QRectF(left + Size.Left, top + Size.Top, Size.Width, Size.Height));
}

}  // namespace reports
