#include "reports/ReportWindow.h"

#include <QDate>

#include "platform/Command.h"
#include "reports/preview/EventPump.h"
#include "reports/preview/ReportCommands.h"
#include "ui_ReportWindow.h"

namespace reports {

ReportWindow::ReportWindow(const layouts::ReportLayout& layout, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::ReportWindow>()), printed_(layout) {
    ui->setupUi(this);
    // The preview shows pages while later ones are produced, and its buttons and the other
    // windows work meanwhile.
    printed_.report().processEvents = throttledEventPump();
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this, &ReportWindow::Button1Click);
    FormCreate();
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::FormCreate() { printed_.open(); }

void ReportWindow::setCompanyQuery(const store::Query& companyQuery) {
    printed_.setCompanyQuery(&companyQuery);
}

void ReportWindow::prepareReport() {
    printed_.reread();
    Button1Click();
}

void ReportWindow::printReport(QWidget* owner) {
    // The preview lets other windows work while it produces; a second print of the same report
    // then would re-read the rows under the running production. It is ignored instead.
    if (printed_.report().isProducing()) return;
    prepareReport();
    Preview(printed_.report(), owner);
}

void ReportWindow::Button1Click() { printed_.refreshHeader(QDate::currentDate()); }

}  // namespace reports
