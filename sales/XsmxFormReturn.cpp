// The sales detail window's return panel: goods of the current sale come back to stock.
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QTime>
#include <array>
#include <optional>

#include "grid/DataGrid.h"
#include "panels/EditTexts.h"
#include "panels/KeyUpWatcher.h"
#include "panels/NumericKeyFilter.h"
#include "panels/PanelPlacement.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "sales/XsmxForm.h"
#include "sales/records/ReturnMessages.h"
#include "sales/records/ReturnRecords.h"
#include "sales/records/SaleDate.h"
#include "stock/records/LowStock.h"
#include "ui_XsmxForm.h"

namespace {

const QPoint kReturnPanelPlace(256, 88);

// The panel's read-only fields, Edit16 to Edit25: the goods texts, then the sale.
constexpr int kShownCount = 10;
constexpr int kDateField = 5;
constexpr int kPriceField = 6;
constexpr int kSoldField = 7;
constexpr int kReturnedField = 8;
constexpr int kReturnableField = 9;

std::array<QLineEdit*, kShownCount> shownEdits(Ui::TXsmxForm& ui) {
    return panels::numberedEdits<kShownCount>(*ui.Panel3, 16);
}

// How the choice of a goods row reads: who supplied it, its cost and its stock.
QString goodsRowText(const salereturn::GoodsRowChoice& row) {
    const QString supplier = row.supplier.empty() ? QStringLiteral("（无供货单位）")
                                                  : QString::fromStdString(row.supplier);
    return QStringLiteral("%1  进货单价 %2  库存 %3")
        .arg(supplier, QString::fromStdString(row.purchasePrice),
             QString::fromStdString(row.stock));
}

// The message a confirmed or refused return ends with.
std::string returnMessage(const salereturn::ReturnResult& result) {
    using Outcome = salereturn::ReturnResult::Outcome;
    switch (result.outcome) {
        case Outcome::Returned:
            return salereturn::kReturned;
        case Outcome::Refused:
            return result.refusal;
        case Outcome::SaleGone:
            return salereturn::kSaleGone;
        case Outcome::NoGoodsRow:
            return salereturn::kNoGoodsRow;
        case Outcome::ChooseGoodsRow:
            return salereturn::kChooseGoodsRow;
    }
    return {};
}

}  // namespace

QWidget& TXsmxForm::returnPanel() const { return *ui->Panel3; }
QLineEdit& TXsmxForm::soldEdit() const { return *ui->Edit23; }
QLineEdit& TXsmxForm::returnedEdit() const { return *ui->Edit24; }
QLineEdit& TXsmxForm::returnableEdit() const { return *ui->Edit25; }
QComboBox& TXsmxForm::returnGoodsRowBox() const { return *ui->ComboBox1; }
QLineEdit& TXsmxForm::returnQuantityEdit() const { return *ui->Edit26; }
QLineEdit& TXsmxForm::refundEdit() const { return *ui->Edit27; }
QLineEdit& TXsmxForm::returnReasonEdit() const { return *ui->Edit28; }

void TXsmxForm::setOpenReturnsWindow(std::function<void()> open) {
    openReturnsWindow_ = std::move(open);
    ui->Button6->setEnabled(bool(openReturnsWindow_));
}

void TXsmxForm::setUpReturnPanel() {
    platform::setPixelFont(*ui->Label17, 21, true);
    platform::look::setTextColour(*ui->Label17, Qt::red);
    platform::look::styleMarks({ui->Mark4, ui->Mark5, ui->Mark6}, 15);
    const auto shown = shownEdits(*ui);
    for (QLineEdit* edit : shown) {
        platform::look::showReadOnly({edit});
        // Fields the user does not type in are outside the Tab order.
        edit->setFocusPolicy(Qt::ClickFocus);
    }
    platform::look::showTyped({ui->ComboBox1, ui->Edit26, ui->Edit27, ui->Edit28});
    panels::NumericKeyFilter::install(ui->Edit26);
    panels::NumericKeyFilter::install(ui->Edit27);
    panels::KeyUpWatcher::install(
        ui->Edit26, [this] { platform::runCommand(this, [this] { Edit26KeyUp(); }); });
    panels::KeyUpWatcher::install(
        ui->Edit27, [this] { platform::runCommand(this, [this] { Edit27KeyUp(); }); });
    // Until the list of returns is wired in, its button has nothing to open.
    ui->Button6->setEnabled(false);
}

void TXsmxForm::showReturnFigures(const std::string& returned, const std::string& returnable) {
    const auto shown = shownEdits(*ui);
    panels::setEditText(shown[kReturnedField], returned);
    panels::setEditText(shown[kReturnableField], returnable);
}

// Fills the return panel from the current sale and shows it, what can still be returned as the
// quantity and its amount at the sale price as the refund. A sale with nothing left to return or
// no goods row to return to is told and the panel stays as it was.
void TXsmxForm::showForReturn() {
    if (ADOQuery1.isEmpty()) {
        platform::say(this, salereturn::kNothingToReturn);
        return;
    }
    const std::int64_t saleId = ADOQuery1.rowIdAt(ADOQuery1.currentIndex());
    const std::optional<salereturn::SaleForReturn> sale =
        salereturn::ReturnRecords(ADOConnection1).load(saleId);
    if (!sale) {
        platform::say(this, salereturn::kSaleGone);
        return;
    }
    if (sale->goodsRows.empty()) {
        platform::say(this, salereturn::kNoGoodsRow);
        return;
    }
    if (!(store::Decimal::read(sale->returnable) > store::Decimal())) {
        platform::say(this, salereturn::kAllReturned);
        return;
    }

    returnSaleId_ = saleId;
    const auto shown = shownEdits(*ui);
    for (std::size_t i = 0; i < sale->goods.size(); ++i)
        panels::setEditText(shown[i], sale->goods[i]);
    panels::setEditText(shown[kDateField], sale->date);
    panels::setEditText(shown[kPriceField], sale->price);
    panels::setEditText(shown[kSoldField], sale->sold);
    showReturnFigures(sale->returned, sale->returnable);

    ui->ComboBox1->clear();
    for (const salereturn::GoodsRowChoice& row : sale->goodsRows)
        ui->ComboBox1->addItem(goodsRowText(row), QVariant::fromValue(row.goodsId));
    // One row is the one; of several (an older sale) the user picks, nothing is taken for them.
    const bool choose = sale->goodsRows.size() > 1;
    ui->ComboBox1->setCurrentIndex(choose ? -1 : 0);
    ui->ComboBox1->setEnabled(choose);

    panels::setEditText(ui->Edit26, sale->returnable);
    panels::setEditText(ui->Edit27, salereturn::proposedRefund(sale->returnable, sale->price));
    panels::setEditText(ui->Edit28, {});

    panels::showPanelAt(ui->Panel3, kReturnPanelPlace);
    ui->Panel2->hide();
    ui->Panel5->hide();
}

void TXsmxForm::SpeedButton8Click() { showForReturn(); }

void TXsmxForm::N11Click() { SpeedButton8Click(); }

// The refund follows the quantity as it is typed.
void TXsmxForm::Edit26KeyUp() {
    panels::setEditText(
        ui->Edit27, salereturn::proposedRefund(ui->Edit26->text().toStdString(),
                                               shownEdits(*ui)[kPriceField]->text().toStdString()));
}

// A refund above the quantity's amount at the sale price is told and held to that amount.
void TXsmxForm::Edit27KeyUp() {
    const std::optional<std::string> most = salereturn::refundAboveMost(
        ui->Edit27->text().toStdString(), ui->Edit26->text().toStdString(),
        shownEdits(*ui)[kPriceField]->text().toStdString());
    if (!most) return;
    platform::say(this, QString::fromUtf8(salereturn::kRefundAboveMost)
                            .arg(QString::fromStdString(*most))
                            .toStdString());
    panels::setEditText(ui->Edit27, *most);
}

void TXsmxForm::Button4Click() {
    salereturn::ReturnEntry entry;
    entry.saleId = returnSaleId_;
    const QVariant goodsId = ui->ComboBox1->currentData();
    entry.goodsId = goodsId.isValid() ? goodsId.toLongLong() : 0;
    entry.date = sales::saleDateText(QDate::currentDate(), QTime::currentTime());
    entry.quantity = ui->Edit26->text().toStdString();
    entry.refund = ui->Edit27->text().toStdString();
    entry.reason = ui->Edit28->text().toStdString();

    salereturn::ReturnRecords records(ADOConnection1);
    const salereturn::ReturnResult result = records.confirm(entry);
    using Outcome = salereturn::ReturnResult::Outcome;
    // A refusal shows what can be returned now: another copy of the program may have returned
    // some of the sale meanwhile.
    if (result.outcome == Outcome::Refused || result.outcome == Outcome::ChooseGoodsRow) {
        if (const auto sale = records.load(returnSaleId_))
            showReturnFigures(sale->returned, sale->returnable);
    }
    platform::say(this, returnMessage(result));
    if (result.outcome == Outcome::Refused || result.outcome == Outcome::ChooseGoodsRow) return;
    // Goods back in stock may lift a code above its lowest stock: its next fall is told again.
    const std::string notice =
        stock::lowStockNoticeText(ADOConnection1, {ui->Edit16->text().toStdString()}, "\n");
    if (!notice.empty()) platform::say(this, notice);
    ui->Panel3->hide();
    // The list is read again as it stands, the search in force kept, on the same sale.
    ADOQuery1.close();
    ADOQuery1.open();
    for (int i = 0; i < ADOQuery1.recordCount(); ++i)
        if (ADOQuery1.rowIdAt(i) == returnSaleId_) ADOQuery1.moveTo(i);
}

void TXsmxForm::Button5Click() { ui->Panel3->hide(); }

void TXsmxForm::Image4Click() { ui->Panel3->hide(); }

void TXsmxForm::Button6Click() {
    if (openReturnsWindow_) openReturnsWindow_();
}
