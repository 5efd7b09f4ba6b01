#include "reports/layouts/PrintedReport.h"

#include "reports/layouts/LayoutBuilder.h"
#include "reports/layouts/TotalsText.h"
#include "store/ConnectionString.h"

namespace reports::layouts {

namespace {

std::vector<std::string> summedFields(const ReportLayout& layout) {
    std::vector<std::string> fields;
    for (const Sum& sum : layout.sums) fields.emplace_back(sum.field);
    return fields;
}

}  // namespace

PrintedReport::PrintedReport(const ReportLayout& layout)
    : layout_(layout),
      tables_({layout.table}),
      totals_(rows_, summedFields(layout)),
      cursor_(rows_) {
    applyDisplayFormats(cursor_, layout_);
    buildReport(report_, layout_, &cursor_, &company_);
}

void PrintedReport::open() {
    // Every print command reads the table again first, so none is read at start-up.
    tables_.prepare();
}

void PrintedReport::reread() { tables_.reread(); }

void PrintedReport::refreshHeader(const QDate& today) {
    report_.setCaption(QStringLiteral("RepLabel17"), printDateText(today));
    const auto& totals = totals_.totals();
    for (std::size_t i = 0; i < layout_.sums.size(); ++i)
        report_.setCaption(QString::fromUtf8(layout_.sums[i].label), totalText(totals[i]));
}

}  // namespace reports::layouts
