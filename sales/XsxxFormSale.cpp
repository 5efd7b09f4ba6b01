// The sales window's sale entry panel.
#include <QDateEdit>
#include <QSignalBlocker>
#include <QTime>

#include "panels/EditTexts.h"
#include "panels/KeyUpWatcher.h"
#include "panels/NumericKeyFilter.h"
#include "panels/PanelPlacement.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "sales/XsxxForm.h"
#include "sales/records/SaleDate.h"
#include "sales/records/SaleMessages.h"
#include "sales/records/SaleRecords.h"
#include "ui_XsxxForm.h"

namespace {

const QPoint kSalePanelPlace(642, 46);

// The message a confirmed or refused sale ends with.
std::string saleMessage(const sales::SaleResult& result) {
    using Outcome = sales::SaleResult::Outcome;
    switch (result.outcome) {
        case Outcome::Sold:
            return sales::kSold;
        case Outcome::Refused:
            return result.refusal;
        case Outcome::GoodsGone:
            return sales::kGoodsGone;
        case Outcome::StockShort:
            return QString::fromUtf8(sales::kStockShortNow)
                .arg(QString::fromStdString(result.stock))
                .toStdString();
    }
    return {};
}

}  // namespace

void TXsxxForm::setUpSalePanel() {
    // Fields the user does not type in are outside the Tab order.
    const auto shown = {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4,
                        ui->Edit5, ui->Edit6, ui->Edit7, ui->Edit10};
    platform::look::showReadOnly(shown);
    for (QLineEdit* edit : shown) edit->setFocusPolicy(Qt::ClickFocus);
    platform::look::showTyped({ui->Edit8, ui->Edit9, ui->Edit11, ui->Edit12, ui->Edit13,
                               ui->ComboBox1, ui->Edit15, ui->Edit16});
    // Every change of the name text is the user's: no completion types into it.
    ui->ComboBox1->setCompleter(nullptr);
    ui->DateTimePicker1->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));

    platform::setPixelFont(*ui->Label2, 21, true);
    platform::look::setTextColour(*ui->Label2, Qt::red);
    platform::look::styleMarks({ui->Mark1, ui->Mark2, ui->Mark3, ui->Mark4}, 16);

    for (QLineEdit* numeric : {ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9, ui->Edit10})
        panels::NumericKeyFilter::install(numeric);
    ui->DateTimePicker1->installEventFilter(this);
    panels::KeyUpWatcher::install(ui->Edit8,
                                  [this] { platform::runCommand(this, [this] { Edit8KeyUp(); }); });
    panels::KeyUpWatcher::install(ui->Edit9,
                                  [this] { platform::runCommand(this, [this] { Edit9KeyUp(); }); });
    frame_.setUpListArea(*ui->Panel1, {ui->Panel2, ui->Panel6});
}

void TXsxxForm::openSalePanel() {
    sales::SaleRecords sale = records();
    const std::optional<sales::GoodsForSale> goods = sale.goodsForSale();
    if (!goods) {
        platform::say(this, sales::kNothingToSell);
        return;
    }
    saleGoodsId_ = goods->goodsId;
    ui->DateTimePicker1->setDate(QDate::currentDate());
    QLineEdit* goodsEdits[] = {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5};
    for (std::size_t i = 0; i < goods->goods.size(); ++i)
        panels::setEditText(goodsEdits[i], goods->goods[i]);
    panels::setEditText(ui->Edit6, goods->purchasePrice);
    panels::setEditText(ui->Edit7, goods->stock);
    for (QLineEdit* zero : {ui->Edit8, ui->Edit9, ui->Edit10}) panels::setEditText(zero, "0");
    for (QLineEdit* empty : {ui->Edit11, ui->Edit12, ui->Edit13}) panels::setEditText(empty, {});
    const QSignalBlocker quiet(ui->ComboBox1);
    ui->ComboBox1->setEditText({});
    ui->Label21->hide();

    panels::showPanelAt(ui->Panel2, kSalePanelPlace);
    ui->Panel6->hide();

    ui->ComboBox1->clear();
    for (const std::string& name : sale.customerNames())
        ui->ComboBox1->addItem(QString::fromStdString(name));
    ui->ComboBox1->setCurrentIndex(-1);
    ui->ComboBox1->setEditText({});
}

void TXsxxForm::ComboBox1Change() {
    const std::optional<sales::CustomerDetails> details =
        records().customerDetails(ui->ComboBox1->currentText().toStdString());
    if (!details) return;
    panels::setEditText(ui->Edit11, (*details)[0]);
    panels::setEditText(ui->Edit12, (*details)[1]);
    panels::setEditText(ui->Edit13, (*details)[2]);
}

void TXsxxForm::Edit8KeyUp() {
    panels::setEditText(ui->Edit10, sales::amountText(ui->Edit8->text().toStdString(),
                                                      ui->Edit9->text().toStdString()));
}

void TXsxxForm::Edit9KeyUp() {
    const std::string quantity = ui->Edit9->text().toStdString();
    if (sales::exceedsStock(quantity, ui->Edit7->text().toStdString())) {
        platform::say(this, sales::kStockShort);
        panels::setEditText(ui->Edit9, "0");
        panels::setEditText(ui->Edit10, "0");
        return;
    }
    panels::setEditText(ui->Edit10, sales::amountText(ui->Edit8->text().toStdString(), quantity));
}

void TXsxxForm::Button1Click() {
    sales::SaleEntry entry;
    entry.goodsId = saleGoodsId_;
    // The chosen day at the moment the sale is confirmed.
    entry.date = sales::saleDateText(ui->DateTimePicker1->date(), QTime::currentTime());
    QLineEdit* goodsEdits[] = {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5};
    for (std::size_t i = 0; i < entry.goods.size(); ++i)
        entry.goods[i] = goodsEdits[i]->text().toStdString();
    entry.purchasePrice = ui->Edit6->text().toStdString();
    entry.stock = ui->Edit7->text().toStdString();
    entry.price = ui->Edit8->text().toStdString();
    entry.quantity = ui->Edit9->text().toStdString();
    entry.customer = ui->ComboBox1->currentText().toStdString();
    entry.details = {ui->Edit11->text().toStdString(), ui->Edit12->text().toStdString(),
                     ui->Edit13->text().toStdString()};

    const sales::SaleResult result = records().confirm(entry);
    // The panel goes on showing the stock the sale was refused by.
    if (result.outcome == sales::SaleResult::Outcome::StockShort)
        panels::setEditText(ui->Edit7, result.stock);
    platform::say(this, saleMessage(result));
    if (result.outcome != sales::SaleResult::Outcome::Sold) return;
    ui->Panel2->hide();
    tellLowStock({entry.goods[0]});
}
