#include "stock/LowStockListDialog.h"

#include "export/commands/ExportCommands.h"
#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "platform/Command.h"
#include "reports/ReportWindow.h"
#include "stock/records/LowStock.h"
#include "store/Schema.h"
#include "ui_LowStockListDialog.h"

namespace stock {

TLowStockListDialog::TLowStockListDialog(QWidget* parent, store::Connection& connection,
                                         const store::Query& goods, reports::ReportWindow* report)
    : QDialog(parent),
      connection_(connection),
      goods_(goods),
      report_(report),
      ADOQuery1(connection),
      ui(std::make_unique<Ui::TLowStockListDialog>()) {
    ui->setupUi(this);
    ADOQuery1.select(store::schema::kLowStockList);
    ui->DataGrid1->setColumns(grid::lowStockListColumns());
    ui->DataGrid1->setQuery(&ADOQuery1);
    ui->Button1->setEnabled(report_ != nullptr);
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this,
                             &TLowStockListDialog::Button1Click);
    platform::connectCommand(ui->Button2, &QPushButton::clicked, this,
                             &TLowStockListDialog::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &QDialog::close);
}

TLowStockListDialog::~TLowStockListDialog() { ui->DataGrid1->setQuery(nullptr); }

grid::TDataGrid& TLowStockListDialog::lowStockList() const { return *ui->DataGrid1; }

void TLowStockListDialog::refresh() {
    ADOQuery1.close();
    stageLowStock(connection_, goods_);
    ADOQuery1.open();
}

void TLowStockListDialog::Button1Click() {
    if (report_ != nullptr) report_->printReport(this);
}

void TLowStockListDialog::Button2Click() { exporting::exportList(this, ADOQuery1, saveName_); }

}  // namespace stock
