#include "reports/layouts/LayoutBuilder.h"

#include <QString>
#include <stdexcept>

#include "reports/engine/QueryCursor.h"
#include "reports/engine/Report.h"
#include "store/Schema.h"

namespace reports::layouts {

namespace {

namespace column = store::schema::column;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

ReportFont font(double points, bool bold) { return {QStringLiteral("宋体"), points, bold}; }

constexpr int kTextHeight = 17;
constexpr int kHeadingTop = 80;  // the group cells' row
constexpr int kRowCellHeight = 25;

template <typename T>
const T& numbered(const std::vector<T>& items, int number) {
    if (number < 1 || number > int(items.size()))
        throw std::out_of_range("report layout refers to a missing item");
    return items[std::size_t(number - 1)];
}

class Builder {
  public:
    Builder(const ReportLayout& layout, DataCursor* rows, DataCursor* company)
        : layout_(layout), rows_(rows), company_(company) {}

    void title(TReportBand& band) const {
        for (const Step& step : layout_.titleOrder) {
            switch (step.part) {
                case Part::Cell: {
                    const Column& c = numbered(layout_.columns, step.number);
                    band.addShape(c.cellX, c.headingY, c.cellW, c.headingH);
                    break;
                }
                case Part::Text: {
                    const Column& c = numbered(layout_.columns, step.number);
                    band.addLabel(c.captionX, c.captionY, kTextHeight, text(c.caption), bold11())
                        .Transparent = c.captionTransparent;
                    break;
                }
                case Part::Group: {
                    const Group& g = numbered(layout_.groups, step.number);
                    band.addShape(g.cellX, kHeadingTop, g.cellW, kRowCellHeight);
                    band.addLabel(g.captionX, 85, kTextHeight, text(g.caption), bold11());
                    break;
                }
                case Part::ReportTitle:
                    band.addLabel(432, 16, 36, text(layout_.title), font(26, true));
                    break;
                case Part::CompanyLines:
                    band.addLabel(8, 58, kTextHeight, QStringLiteral("公司地址："), bold12());
                    band.addDBText(8, 0, 25, company_, text(column::kCompanyName), font(18, true));
                    band.addDBText(88, 58, kTextHeight, company_, text(column::kCompanyAddress),
                                   bold12());
                    band.addDBText(13, 28, 20, company_, text(column::kWebAddress),
                                   font(11, false));
                    break;
                case Part::PhoneLine:
                    band.addLabel(776, 58, kTextHeight, QStringLiteral("联系电话："), bold12());
                    band.addDBText(864, 58, kTextHeight, company_, text(column::kPhone), bold12());
                    break;
                default:
                    throw std::logic_error("report layout: no such part in the title band");
            }
        }
    }

    void detail(TReportBand& band) const {
        for (const Step& step : layout_.detailOrder) {
            const Column& c = numbered(layout_.columns, step.number);
            if (step.part == Part::Cell) {
                band.addShape(c.cellX, 0, c.cellW, kRowCellHeight);
            } else if (step.part == Part::Text) {
                band.addDBText(c.fieldX, 4, kTextHeight, rows_, text(c.field), font(10, false));
            } else {
                throw std::logic_error("report layout: no such part in the detail band");
            }
        }
    }

    void summary(TReportBand& band) const {
        for (const Step& step : layout_.summaryOrder) {
            switch (step.part) {
                case Part::Cell: {
                    const Column& c = numbered(layout_.columns, step.number);
                    band.addShape(c.cellX, 0, c.cellW, kRowCellHeight);
                    break;
                }
                case Part::Totals: {
                    const Sum& s = numbered(layout_.sums, step.number);
                    band.addLabel(s.x, 5, kTextHeight, text(s.label), font(10, false),
                                  text(s.label));
                    break;
                }
                case Part::SignOff:
                    band.addLabel(16, 5, kTextHeight, QStringLiteral("合计"), bold12());
                    band.addLabel(16, 40, kTextHeight, QStringLiteral("制表人："), bold12());
                    band.addDBText(88, 40, kTextHeight, company_, text(column::kContact), bold12());
                    band.addLabel(384, 40, kTextHeight, QStringLiteral("打印日期："), bold12());
                    band.addLabel(472, 40, kTextHeight, QStringLiteral("RepLabel17"), bold12(),
                                  QStringLiteral("RepLabel17"));
                    break;
                default:
                    throw std::logic_error("report layout: no such part in the summary band");
            }
        }
    }

  private:
    static ReportFont bold11() { return font(11, true); }
    static ReportFont bold12() { return font(12, true); }

    const ReportLayout& layout_;
    DataCursor* rows_;
    DataCursor* company_;
};

}  // namespace

void buildReport(TReport& report, const ReportLayout& layout, DataCursor* rows,
                 DataCursor* company) {
    report.Bands.clear();
    report.DataSet = rows;
    const Builder builder(layout, rows, company);
    builder.title(report.addBand(TBandType::bandTitle, kTitleHeight, kBandWidth));
    builder.detail(report.addBand(TBandType::bandDetail, kDetailHeight, kBandWidth));
    builder.summary(report.addBand(TBandType::bandSummary, kSummaryHeight, kBandWidth));
}

void applyDisplayFormats(QueryCursor& rows, const ReportLayout& layout) {
    rows.clearDisplayFormats();
    if (!layout.twoDecimalNumbers) return;
    for (const store::schema::ColumnDef& column : store::schema::table(layout.table).columns) {
        if (column.type == store::FieldType::Double)
            rows.setDisplayFormat(QString::fromStdString(column.name), QStringLiteral("#0.##"));
    }
}

}  // namespace reports::layouts
