#include "reports/ReportWindow.h"

#include <QDate>

#include "platform/Command.h"
#include "reports/layouts/LayoutBuilder.h"
#include "reports/layouts/TotalsText.h"
#include "reports/preview/ReportCommands.h"
#include "store/ConnectionString.h"
#include "ui_ReportWindow.h"

namespace reports {

namespace {

std::vector<std::string> summedFields(const layouts::ReportLayout& layout) {
    std::vector<std::string> fields;
    for (const layouts::Sum& sum : layout.sums) fields.emplace_back(sum.field);
    return fields;
}

}  // namespace

ReportWindow::ReportWindow(const layouts::ReportLayout& layout, QWidget* parent)
    : QWidget(parent),
      layout_(layout),
      ui(std::make_unique<Ui::ReportWindow>()),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      SumList1(ADODataSet1, summedFields(layout)),
      rows_(ADODataSet1) {
    ui->setupUi(this);
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this, &ReportWindow::Button1Click);
    layouts::applyDisplayFormats(rows_, layout_);
    layouts::buildReport(report_, layout_, &rows_, &company_);
    FormCreate();
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::FormCreate() {
    store::openOnCreation(ADOConnection1, {{&ADODataSet1, layout_.table}});
}

void ReportWindow::setCompanyQuery(const store::Query& companyQuery) {
    company_.setQuery(&companyQuery);
}

void ReportWindow::prepareReport() {
    store::reconnectAndRequery(ADOConnection1, {{&ADODataSet1, layout_.table}});
    Button1Click();
}

void ReportWindow::printReport() {
    prepareReport();
    Preview(report_);
}

void ReportWindow::Button1Click() {
    report_.setCaption(QStringLiteral("RepLabel17"), layouts::printDateText(QDate::currentDate()));
    const auto& sums = SumList1.totals();
    for (std::size_t i = 0; i < layout_.sums.size(); ++i) {
        report_.setCaption(QString::fromUtf8(layout_.sums[i].label), layouts::totalText(sums[i]));
    }
}

}  // namespace reports
