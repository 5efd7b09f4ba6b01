#include "stock/LowStockLevelDialog.h"

#include "panels/EnterClicksButtons.h"
#include "panels/NumericKeyFilter.h"
#include "platform/Command.h"
#include "platform/WindowLook.h"
#include "ui_LowStockLevelDialog.h"

namespace stock {

TLowStockLevelDialog::TLowStockLevelDialog(QWidget* parent, const std::string& code,
                                           const std::string& name, const std::string& stock,
                                           const std::string& level, Store store)
    : QDialog(parent), ui(std::make_unique<Ui::TLowStockLevelDialog>()), store_(std::move(store)) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    platform::look::showReadOnly({ui->Edit1, ui->Edit2, ui->Edit3});
    platform::look::showTyped({ui->Edit4});
    ui->Edit1->setText(QString::fromStdString(code));
    ui->Edit2->setText(QString::fromStdString(name));
    ui->Edit3->setText(QString::fromStdString(stock));
    ui->Edit4->setText(QString::fromStdString(level));
    panels::NumericKeyFilter::install(ui->Edit4);
    panels::EnterPressesButton::install(*ui->Edit4, *ui->Button1);
    ui->Edit4->selectAll();
    ui->Edit4->setFocus();
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this,
                             &TLowStockLevelDialog::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TLowStockLevelDialog::~TLowStockLevelDialog() = default;

QLineEdit& TLowStockLevelDialog::levelEdit() const { return *ui->Edit4; }

void TLowStockLevelDialog::Button1Click() {
    store_(ui->Edit4->text().toStdString());
    accept();
}

}  // namespace stock
