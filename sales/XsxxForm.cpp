// The sales window's layout, wiring, navigation and goods list commands.
#include "sales/XsxxForm.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QMenu>

#include "export/commands/ExportCommands.h"
#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "panels/Drawing.h"
#include "panels/EditTexts.h"
#include "panels/PanelDrag.h"
#include "panels/PanelPlacement.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Modal.h"
#include "platform/WindowLook.h"
#include "reports/ReportWindow.h"
#include "sales/SalesArtwork.h"
#include "sales/ThmxForm.h"
#include "sales/records/SaleRecords.h"
#include "store/Schema.h"
#include "ui_XsxxForm.h"

namespace {

const QPoint kQueryPanelPlace(224, 168);

}  // namespace

TXsxxForm::TXsxxForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TXsxxForm>()) {
    // The sales and staging queries open when they are first used.
    frame_.tables().prepare();
    ADOQuery1.open();
    ui->setupUi(this);
    setUpWindow();
    setUpLook();
    setUpMenu();
    setUpSalePanel();
    setUpScanning();
    setUpLowStock();
    frame_.connectCommandsByName();
    frame_.onActivation([this] { FormActivate(); });
    frame_.onClose([this] { FormClose(); });
    frame_.finishSetUp();
}

TXsxxForm::~TXsxxForm() = default;

store::Query& TXsxxForm::goodsExportQuery() {
    ADOQuery3.open();
    return ADOQuery3;
}

grid::TDataGrid& TXsxxForm::goodsList() const { return *ui->DataGrid1; }
QWidget& TXsxxForm::saleEntryPanel() const { return *ui->Panel2; }
QWidget& TXsxxForm::queryPanel() const { return *ui->Panel6; }
QDateEdit& TXsxxForm::saleDateEdit() const { return *ui->DateTimePicker1; }
QLineEdit& TXsxxForm::goodsCodeEdit() const { return *ui->Edit1; }
QLineEdit& TXsxxForm::goodsNameEdit() const { return *ui->Edit2; }
QLineEdit& TXsxxForm::unitEdit() const { return *ui->Edit5; }
QLineEdit& TXsxxForm::purchasePriceEdit() const { return *ui->Edit6; }
QLineEdit& TXsxxForm::stockEdit() const { return *ui->Edit7; }
QLineEdit& TXsxxForm::priceEdit() const { return *ui->Edit8; }
QLineEdit& TXsxxForm::quantityEdit() const { return *ui->Edit9; }
QLineEdit& TXsxxForm::amountEdit() const { return *ui->Edit10; }
QComboBox& TXsxxForm::customerBox() const { return *ui->ComboBox1; }
QLineEdit& TXsxxForm::phoneEdit() const { return *ui->Edit11; }
QLineEdit& TXsxxForm::addressEdit() const { return *ui->Edit12; }
QLineEdit& TXsxxForm::remarkEdit() const { return *ui->Edit13; }
QLineEdit& TXsxxForm::searchCodeEdit() const { return *ui->Edit15; }
QLineEdit& TXsxxForm::searchNameEdit() const { return *ui->Edit16; }

sales::SaleRecords TXsxxForm::records() {
    return sales::SaleRecords(ADOConnection1, ADOQuery1, ADOQuery2);
}

void TXsxxForm::setUpWindow() {
    // A fixed frame with the close box only, centred on the desktop.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

void TXsxxForm::setUpLook() {
    using salesart::Glyph;
    frame_.setUpFace(
        *this, salesart::background(QSize(1000, 603)),
        artwork::toolGlyphs({Glyph::Sell, Glyph::Details, Glyph::Search, Glyph::Refresh,
                             Glyph::Print, Glyph::Export, Glyph::Close},
                            salesart::toolGlyph),
        QIcon(salesart::closePicture()));
    frame::ListWindowFrame::styleQuitLabel(*ui->Label1);

    for (QToolButton* close : {ui->Image2, ui->Image3})
        platform::look::stylePictureButton(*close, QIcon(salesart::closePicture()));
}

void TXsxxForm::setUpMenu() {
    PopupMenu1 = frame_.setUpList(*ui->DataGrid1, grid::goodsListColumns(), true, ADOQuery1,
                                  {ui->N1, ui->N2, ui->N11, nullptr, ui->N4, ui->N5, nullptr,
                                   ui->N7, ui->N8, nullptr, ui->N12, ui->N13, nullptr, ui->N10},
                                  [this](const std::vector<int>& rows) {
                                      const std::vector<std::string> codes =
                                          stock::codesOfRows(ADOQuery1, rows);
                                      records().deleteRows(rows);
                                      tellLowStock(codes);
                                  });
}

bool TXsxxForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->DateTimePicker1 && event->type() == QEvent::KeyPress) {
        // Tab leaves the date picker, as it leaves every other field; the arrow keys move
        // between its day, month and year.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return focusNextPrevChild(key == Qt::Key_Tab);
    }
    return QWidget::eventFilter(watched, event);
}

void TXsxxForm::FormActivate() {
    ui->Panel2->hide();
    ui->Panel6->hide();
    records().reloadGoods();
    lowStockMarks_.reload(ADOConnection1);
}

void TXsxxForm::FormClose() {
    if (mainWindow_ != nullptr) mainWindow_->show();
}

void TXsxxForm::SpeedButton1Click() { openSalePanel(); }
void TXsxxForm::N1Click() { openSalePanel(); }
// In this window the double click closes the query panel like the other two commands.
void TXsxxForm::DataGrid1DblClick() { openSalePanel(); }

void TXsxxForm::SpeedButton2Click() {
    if (detailWindow_ == nullptr) return;
    platform::showModalInPlace(*this, *detailWindow_);
}

void TXsxxForm::N2Click() { SpeedButton2Click(); }

void TXsxxForm::N11Click() {
    if (returnsWindow_ != nullptr) returnsWindow_->openFrom(*this);
}

void TXsxxForm::SpeedButton3Click() {
    panels::setEditText(ui->Edit15, {});
    panels::setEditText(ui->Edit16, {});
    ui->Panel2->hide();
    panels::showPanelAt(ui->Panel6, kQueryPanelPlace);
}

void TXsxxForm::N4Click() { SpeedButton3Click(); }

void TXsxxForm::Button2Click() {
    records().search(ui->Edit15->text().toStdString(), ui->Edit16->text().toStdString());
}

void TXsxxForm::SpeedButton4Click() {
    // The three queries as the window's activation reads them, the panels left as they are.
    frame_.tables().reread();
    lowStockMarks_.reload(ADOConnection1);
}

void TXsxxForm::N5Click() { records().reloadGoods(); }

// The goods report and the goods export are wired by their own commands' code.
void TXsxxForm::SpeedButton5Click() {
    if (goodsReport_ != nullptr) goodsReport_->printReport(this);
}

void TXsxxForm::N7Click() { SpeedButton5Click(); }
void TXsxxForm::SpeedButton6Click() {
    exporting::exportGoods(this, ADOConnection1, ADOQuery1, ADOQuery3, nullptr, saveName_);
}

// The menu's export also reads 表3 again.
void TXsxxForm::N8Click() {
    exporting::exportGoods(this, ADOConnection1, ADOQuery1, ADOQuery3, &ADOQuery2, saveName_);
}

void TXsxxForm::SpeedButton7Click() {
    if (mainWindow_ != nullptr) mainWindow_->show();
    close();
}

void TXsxxForm::N10Click() { SpeedButton7Click(); }

void TXsxxForm::Label1Click() { frame::quitProgram(mainWindow_); }

void TXsxxForm::Image2Click() { ui->Panel2->hide(); }

void TXsxxForm::Image3Click() { ui->Panel6->hide(); }
