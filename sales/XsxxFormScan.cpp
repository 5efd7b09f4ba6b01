// The sales window's barcode scanner: a scanned goods code opens the sale of its row, a second
// scan of it sells one more.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "panels/EditTexts.h"
#include "panels/ScanDetector.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "sales/XsxxForm.h"
#include "sales/records/SaleMessages.h"
#include "sales/records/SaleRecords.h"
#include "sales/records/ScanLookup.h"
#include "sales/records/ScanMessages.h"
#include "store/Decimal.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "ui_XsxxForm.h"

namespace {

namespace column = store::schema::column;

constexpr int kStatusShownMs = 6000;

QString said(const char* text, const QString& a, const QString& b = {}) {
    QString message = QString::fromUtf8(text).arg(a);
    return b.isNull() ? message : message.arg(b);
}

}  // namespace

QLabel& TXsxxForm::scanStatusLabel() const { return *ui->Label20; }
QLabel& TXsxxForm::scanBatchLabel() const { return *ui->Label21; }

void TXsxxForm::setUpScanning() {
    // The fields a scan may land in, the customer's name, address and note aside (typed in
    // Chinese).
    panels::ScanDetector::runOnScan(*this, [this](const QString& code) { goodsScanned(code); },
                                    {ui->Edit1, ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9,
                                     ui->Edit10, ui->Edit11, ui->Edit15, ui->DataGrid1});

    platform::setPixelFont(*ui->Label20, 13, true);
    platform::setPixelFont(*ui->Label21, 12, false);
    for (QLabel* label : {ui->Label20, ui->Label21}) platform::look::setTextColour(*label, Qt::red);
    ui->Label20->hide();
    scanStatusTimer_ = new QTimer(this);
    scanStatusTimer_->setSingleShot(true);
    scanStatusTimer_->setInterval(kStatusShownMs);
    connect(scanStatusTimer_, &QTimer::timeout, ui->Label20, &QLabel::hide);
}

void TXsxxForm::showScanStatus(const QString& text) {
    ui->Label20->setText(text);
    ui->Label20->show();
    ui->Label20->raise();
    scanStatusTimer_->start();
}

void TXsxxForm::goodsScanned(const QString& code) {
    const std::string scanned(store::values::trimBlanks(code.toStdString()));
    if (ui->Panel2->isVisible() && !scanned.empty() &&
        scanned == store::values::trimBlanks(ui->Edit1->text().toStdString())) {
        sellOneMore();
        return;
    }
    sales::ScanMatch match = sales::findGoodsByCode(ADOQuery1, scanned);
    // A list narrowed by a query may hide the row: the scan looks in the whole table.
    const std::string wholeTable = std::string("select * from ") + store::schema::kGoods;
    if (match.outcome != sales::ScanMatch::Outcome::Found && ADOQuery1.sql() != wholeTable) {
        records().reloadGoods();
        match = sales::findGoodsByCode(ADOQuery1, scanned);
    }
    const QString shown = QString::fromStdString(scanned);
    switch (match.outcome) {
        case sales::ScanMatch::Outcome::Unknown:
            showScanStatus(said(sales::kScanUnknown, shown));
            QApplication::beep();
            return;
        case sales::ScanMatch::Outcome::NoStock:
            platform::say(this, said(sales::kScanNoStock, shown).toStdString());
            return;
        case sales::ScanMatch::Outcome::Found:
            openSaleForScan(match);
            return;
    }
}

void TXsxxForm::openSaleForScan(const sales::ScanMatch& match) {
    ADOQuery1.moveTo(match.row);
    openSalePanel();
    if (!ui->Panel2->isVisible()) return;
    // The latest sale price of the row, where it has one.
    const std::optional<store::Decimal> latest =
        store::Decimal::parse(ADOQuery1.fieldText(column::kSalePrice));
    const std::string price = latest && *latest > store::Decimal::read("0")
                                  ? store::values::roundTo2Text(latest->text())
                                  : std::string("0");
    panels::setEditText(ui->Edit8, price);
    panels::setEditText(ui->Edit9, "1");
    panels::setEditText(ui->Edit10, sales::amountText(price, "1"));
    if (match.severalRows) {
        const QString supplier = QString::fromStdString(ADOQuery1.fieldText(column::kSupplier));
        showScanStatus(said(sales::kScanChosenRow, supplier, ui->Edit6->text()));
        const QString note = said(sales::kScanBatch, supplier);
        ui->Label21->setText(
            ui->Label21->fontMetrics().elidedText(note, Qt::ElideRight, ui->Label21->width()));
        ui->Label21->setToolTip(note);
        ui->Label21->show();
    }
    // A stock below the unit a scan sells is told as a typed quantity above it is.
    if (sales::exceedsStock("1", ui->Edit7->text().toStdString())) Edit9KeyUp();
    ui->Edit8->setFocus();
    ui->Edit8->selectAll();
}

void TXsxxForm::sellOneMore() {
    const std::optional<store::Decimal> typed =
        store::Decimal::parse(ui->Edit9->text().toStdString());
    const store::Decimal one = store::Decimal::read("1");
    const store::Decimal quantity = typed ? *typed + one : one;
    panels::setEditText(ui->Edit9, quantity.text());
    // The same check and amount as a key typed into the quantity.
    Edit9KeyUp();
}
