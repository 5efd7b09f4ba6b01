// The sales window's layout, wiring, navigation and goods list commands.
#include "sales/XsxxForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include "export/commands/ExportCommands.h"
#include "grid/ColumnMakers.h"
#include "grid/DataGrid.h"
#include "grid/GridColumn.h"
#include "panels/Drawing.h"
#include "panels/EditTexts.h"
#include "panels/EnterClicksButtons.h"
#include "panels/PanelDrag.h"
#include "panels/PanelPlacement.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/FormActivation.h"
#include "platform/Modal.h"
#include "platform/WindowLook.h"
#include "reports/ReportWindow.h"
#include "sales/SalesArtwork.h"
#include "sales/records/SaleRecords.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "ui_XsxxForm.h"

namespace {

const QPoint kQueryPanelPlace(224, 168);

std::vector<grid::GridColumn> goodsColumns() {
    using grid::numberColumn;
    using grid::textColumn;
    const auto centre = Qt::Alignment(Qt::AlignHCenter);
    const auto summed = [](const char* field, const char* caption, int width) {
        return grid::withSum(numberColumn(field, caption, width), QStringLiteral("#0.##"), false);
    };
    return {grid::withTotalLabel(textColumn("商品编码", "①商品信息|商品编码", 65, centre)),
            textColumn("商品名称", "①商品信息|商品名称", 65),
            textColumn("商品型号", "①商品信息|商品型号", 65),
            textColumn("商品规格", "①商品信息|商品规格", 65),
            textColumn("单位", "①商品信息|单位", 45, centre),
            numberColumn("进货单价", "②进货信息|单价", 50),
            numberColumn("进货数量", "②进货信息|数量", 50),
            summed("进货金额", "②进货信息|金额", 65),
            numberColumn("销售单价", "③销售信息|单价", 50),
            numberColumn("销售数量", "③销售信息|数量", 50),
            summed("销售金额", "③销售信息|金额", 65),
            summed("销售利润", "③销售信息|利润", 65),
            numberColumn("库存数量", "④库存信息|数量", 50),
            summed("库存金额", "④库存信息|金额", 65),
            textColumn("备注", "", 75)};
}

}  // namespace

TXsxxForm::TXsxxForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TXsxxForm>()) {
    platform::FormActivation::instance();  // watching before the first activation
    // The sales and staging queries open when they are first used.
    tables_.prepare();
    ADOQuery1.open();
    ui->setupUi(this);
    setUpWindow();
    setUpLook();
    setUpGrid();
    setUpMenu();
    setUpSalePanel();
    wireCommands();
    panels::EnterClicksButtons::install(*this);
}

TXsxxForm::~TXsxxForm() {
    // The list lets go of the query before the query goes.
    ui->DataGrid1->setQuery(nullptr);
}

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
    setFixedSize(1000, 603);
    platform::look::centreOnScreen(*this);
}

void TXsxxForm::setUpLook() {
    platform::setPixelFont(*this, 13);
    ui->Image1->setPixmap(salesart::background(QSize(1000, 603)));

    using salesart::Glyph;
    platform::look::styleToolButtons(
        {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton4, ui->SpeedButton5,
         ui->SpeedButton6, ui->SpeedButton7},
        artwork::toolGlyphs({Glyph::Sell, Glyph::Details, Glyph::Search, Glyph::Refresh,
                             Glyph::Print, Glyph::Export, Glyph::Close},
                            salesart::toolGlyph));
    platform::setPixelFont(*ui->Label1, 15, true);
    platform::look::setTextColour(*ui->Label1, Qt::white);
    ui->Label1->installEventFilter(this);

    for (QToolButton* close : {ui->Image2, ui->Image3})
        platform::look::stylePictureButton(*close, QIcon(salesart::closePicture()));
    platform::look::styleListArea(*ui->Panel1, {ui->Panel2, ui->Panel6});
}

void TXsxxForm::setUpGrid() {
    ui->DataGrid1->setColumns(goodsColumns());
    ui->DataGrid1->setFooterBold(true);
    ui->DataGrid1->setQuery(&ADOQuery1);
    ui->DataGrid1->setRowDeleter(
        [this](const std::vector<int>& rows) { records().deleteRows(rows); });
}

void TXsxxForm::setUpMenu() {
    PopupMenu1 = platform::look::contextMenu(*this, {ui->N1, ui->N2, nullptr, ui->N4, ui->N5,
                                                     nullptr, ui->N7, ui->N8, nullptr, ui->N10});
    ui->DataGrid1->setPopupMenu(PopupMenu1);
}

void TXsxxForm::wireCommands() {
    using platform::connectCommand;
    using Form = TXsxxForm;
    connectCommand(ui->SpeedButton1, &QToolButton::clicked, this, &Form::SpeedButton1Click);
    connectCommand(ui->SpeedButton2, &QToolButton::clicked, this, &Form::SpeedButton2Click);
    connectCommand(ui->SpeedButton3, &QToolButton::clicked, this, &Form::SpeedButton3Click);
    connectCommand(ui->SpeedButton4, &QToolButton::clicked, this, &Form::SpeedButton4Click);
    connectCommand(ui->SpeedButton5, &QToolButton::clicked, this, &Form::SpeedButton5Click);
    connectCommand(ui->SpeedButton6, &QToolButton::clicked, this, &Form::SpeedButton6Click);
    connectCommand(ui->SpeedButton7, &QToolButton::clicked, this, &Form::SpeedButton7Click);
    connectCommand(ui->N1, &QAction::triggered, this, &Form::N1Click);
    connectCommand(ui->N2, &QAction::triggered, this, &Form::N2Click);
    connectCommand(ui->N4, &QAction::triggered, this, &Form::N4Click);
    connectCommand(ui->N5, &QAction::triggered, this, &Form::N5Click);
    connectCommand(ui->N7, &QAction::triggered, this, &Form::N7Click);
    connectCommand(ui->N8, &QAction::triggered, this, &Form::N8Click);
    connectCommand(ui->N10, &QAction::triggered, this, &Form::N10Click);
    connectCommand(ui->DataGrid1, &grid::TDataGrid::doubleClicked, this, &Form::DataGrid1DblClick);
    connectCommand(ui->Button2, &QPushButton::clicked, this, &Form::Button2Click);
    connectCommand(ui->Image2, &QToolButton::clicked, this, &Form::Image2Click);
    connectCommand(ui->Image3, &QToolButton::clicked, this, &Form::Image3Click);
    connectCommand(ui->Button1, &QPushButton::clicked, this, &Form::Button1Click);
    connectCommand(ui->ComboBox1, &QComboBox::editTextChanged, this, &Form::ComboBox1Change);
}

bool TXsxxForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Label1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        ui->Label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        platform::runCommand(this, [this] { Label1Click(); });
        return true;
    }
    if (watched == ui->DateTimePicker1 && event->type() == QEvent::KeyPress) {
        // Tab leaves the date picker, as it leaves every other field; the arrow keys move
        // between its day, month and year.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return focusNextPrevChild(key == Qt::Key_Tab);
    }
    return QWidget::eventFilter(watched, event);
}

bool TXsxxForm::event(QEvent* event) {
    // Only coming back from another of the program's windows re-reads the list, not a message
    // box closing or the user returning from another program.
    if (event->type() == QEvent::WindowActivate &&
        platform::FormActivation::instance().cameFromAnotherForm(this))
        platform::runCommand(this, [this] { FormActivate(); });
    return QWidget::event(event);
}

void TXsxxForm::closeEvent(QCloseEvent* event) {
    platform::runCommand(this, [this] { FormClose(); });
    event->accept();
}

void TXsxxForm::FormActivate() {
    ui->Panel2->hide();
    ui->Panel6->hide();
    records().reloadGoods();
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
    tables_.reread();
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

void TXsxxForm::Label1Click() {
    if (mainWindow_ != nullptr) mainWindow_->close();
    // A hidden main window takes no close from the window system: the program ends all the same.
    QCoreApplication::quit();
}

void TXsxxForm::Image2Click() { ui->Panel2->hide(); }

void TXsxxForm::Image3Click() { ui->Panel6->hide(); }
