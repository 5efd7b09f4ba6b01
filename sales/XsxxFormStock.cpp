// The sales window's commands of the lowest stock per goods code.
#include <QLabel>
#include <QTimer>

#include "grid/DataGrid.h"
#include "platform/Platform.h"
#include "sales/XsxxForm.h"
#include "stock/LowStockLevelDialog.h"
#include "stock/LowStockListDialog.h"
#include "stock/records/LowStock.h"
#include "stock/records/LowStockMessages.h"
#include "store/Values.h"
#include "ui_XsxxForm.h"

namespace {

namespace column = store::schema::column;

}  // namespace

void TXsxxForm::setUpLowStock() {
    lowStockMarks_.attach(*ui->DataGrid1, ADOQuery1, column::kStockQuantity);
}

// The notices stay on the status line below the list until the next one: the next sale goes on
// at once (no box to close, the focus and a scanner's keys stay in the window), and a notice told
// once is not lost to a timer. The 库存预警 list shows every low code at any time.
void TXsxxForm::tellLowStock(const std::vector<std::string>& codes) {
    const std::string text = stock::lowStockNoticeText(ADOConnection1, ADOQuery1, codes, "；");
    if (text.empty()) return;
    showScanStatus(QString::fromStdString(text));
    scanStatusTimer_->stop();
}

void TXsxxForm::N12Click() {
    if (!ADOQuery1.isOpen() || ADOQuery1.isEmpty()) {
        platform::say(this, stock::kNoGoodsChosen, platform::MessageKind::Info);
        return;
    }
    const std::string code(store::values::trimBlanks(ADOQuery1.fieldText(column::kGoodsCode)));
    if (code.empty()) {
        platform::say(this, stock::kNoCode);
        return;
    }
    const std::optional<stock::Level> level = stock::levelOf(ADOConnection1, code);
    auto* dialog = new stock::TLowStockLevelDialog(
        this, code, ADOQuery1.fieldText(column::kGoodsName),
        store::values::tenThousandthsDisplay(stock::stockOfCode(ADOQuery1, code)),
        level ? store::values::tenThousandthsText(level->level) : std::string(),
        [this, code](const std::string& levelText) {
            stock::setLevel(ADOConnection1, ADOQuery1, code, levelText);
            lowStockMarks_.reload(ADOConnection1);
        });
    dialog->open();
}

void TXsxxForm::N13Click() {
    if (lowStockList_ == nullptr)
        lowStockList_ =
            new stock::TLowStockListDialog(this, ADOConnection1, ADOQuery1, lowStockReport_);
    lowStockList_->refresh();
    if (lowStockList_->lowStockQuery().isEmpty()) {
        lowStockList_->hide();
        platform::say(this, stock::kNothingLow);
        return;
    }
    lowStockList_->open();
}
