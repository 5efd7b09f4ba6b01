// The sales detail window's layout, wiring, activation and closing.
#include "sales/XsmxForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include "grid/ColumnMakers.h"
#include "grid/DataGrid.h"
#include "grid/GridColumn.h"
#include "panels/Artwork.h"
#include "panels/EnterClicksButtons.h"
#include "panels/NumericKeyFilter.h"
#include "panels/PanelDrag.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/FormActivation.h"
#include "platform/WindowLook.h"
#include "sales/records/SaleDetailRecords.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "ui_XsmxForm.h"

namespace {

std::vector<grid::GridColumn> saleColumns() {
    using grid::numberColumn;
    using grid::textColumn;
    const auto centre = Qt::Alignment(Qt::AlignHCenter);
    return {grid::withTotalLabel(textColumn("销售日期", "", 65)),
            textColumn("商品编码", "①商品信息|商品编码", 65),
            textColumn("商品名称", "①商品信息|商品名称", 65),
            textColumn("商品型号", "①商品信息|商品型号", 65),
            textColumn("商品规格", "①商品信息|商品规格", 65),
            textColumn("单位", "①商品信息|单位", 45, centre),
            numberColumn("销售单价", "②销售信息|单价", 50),
            numberColumn("销售数量", "②销售信息|数量", 50),
            // No display format of its own: the total shows up to four decimals.
            grid::withSum(numberColumn("销售金额", "②销售信息|金额", 65), QString(), false),
            textColumn("客户姓名", "③客户信息|客户姓名", 65),
            textColumn("联系电话", "③客户信息|联系电话", 80),
            textColumn("详细地址", "③客户信息|详细地址", 135), textColumn("备注", "", 75)};
}

}  // namespace

TXsmxForm::TXsmxForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TXsmxForm>()) {
    platform::FormActivation::instance();  // watching before the first activation
    // The list is read when the window is first activated, as every time it is shown.
    tables_.prepare();

    ui->setupUi(this);
    setUpWindow();
    setUpLook();
    setUpGrid();
    setUpMenu();
    setUpPanels();
    wireCommands();
    panels::EnterClicksButtons::install(*this);
}

TXsmxForm::~TXsmxForm() {
    // The list lets go of the query before the query goes.
    ui->DataGrid1->setQuery(nullptr);
}

grid::TDataGrid& TXsmxForm::salesList() const { return *ui->DataGrid1; }

void TXsmxForm::setUpWindow() {
    // A fixed border with only the close box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(artwork::programIcon()));
    setFixedSize(1000, 603);
    platform::look::centreOnScreen(*this);
}

void TXsmxForm::setUpLook() {
    platform::setPixelFont(*this, 13);
    ui->Image1->setPixmap(artwork::background(QSize(1000, 603)));

    using artwork::Glyph;
    platform::look::styleToolButtons(
        {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton4, ui->SpeedButton5,
         ui->SpeedButton6, ui->SpeedButton7},
        {artwork::toolGlyph(Glyph::Edit), artwork::toolGlyph(Glyph::Delete),
         artwork::toolGlyph(Glyph::Search), artwork::toolGlyph(Glyph::Refresh),
         artwork::toolGlyph(Glyph::Print), artwork::toolGlyph(Glyph::Export),
         QIcon(artwork::closePicture())});
    platform::setPixelFont(*ui->Label1, 15, true);
    ui->Label1->setAttribute(Qt::WA_TranslucentBackground);
    platform::look::setTextColour(*ui->Label1, Qt::white);

    for (QToolButton* close : {ui->Image2, ui->Image3})
        platform::look::stylePictureButton(*close, QIcon(artwork::closePicture()));
    platform::look::styleListArea(*ui->Panel1, {ui->Panel2, ui->Panel5});
    platform::look::styleMarks({ui->Mark1, ui->Mark2, ui->Mark3}, 15);
    // Read-only fields: button face and red text; the customer fields white and black.
    for (QLineEdit* edit :
         {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5, ui->Edit6, ui->Edit7}) {
        edit->setReadOnly(true);
        QPalette readOnly = edit->palette();
        readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Button));
        readOnly.setColor(QPalette::Text, Qt::red);
        edit->setPalette(readOnly);
    }
    for (QLineEdit* edit : {ui->Edit8, ui->Edit9, ui->Edit10, ui->Edit11}) {
        QPalette plain = edit->palette();
        plain.setColor(QPalette::Base, Qt::white);
        plain.setColor(QPalette::Text, Qt::black);
        edit->setPalette(plain);
    }
    for (QLineEdit* edit : ui->Panel1->findChildren<QLineEdit*>()) edit->setFrame(false);
}

void TXsmxForm::setUpGrid() {
    ui->DataGrid1->setColumns(saleColumns());
    ui->DataGrid1->setFooterBold(true);
    ui->DataGrid1->setQuery(&ADOQuery1);
    ui->DataGrid1->setRowDeleter([this](const std::vector<int>& rows) {
        saledetail::SaleDetailRecords(ADOConnection1, ADOQuery1).deleteRows(rows);
    });
}

void TXsmxForm::setUpMenu() {
    PopupMenu1 = platform::look::contextMenu(*this, {ui->N1, ui->N2, nullptr, ui->N4, ui->N5,
                                                     nullptr, ui->N7, ui->N8, nullptr, ui->N10});
    ui->DataGrid1->setPopupMenu(PopupMenu1);
}

void TXsmxForm::setUpPanels() {
    // Both numeric edits are read-only; the filter stays for the day they are not.
    panels::NumericKeyFilter::install(ui->Edit6);
    panels::NumericKeyFilter::install(ui->Edit7);
    panels::PanelDrag::install(ui->Panel2);
    panels::PanelDrag::install(ui->Panel5);
    ui->Panel2->hide();
    ui->Panel5->hide();
}

void TXsmxForm::wireCommands() {
    using platform::connectCommand;
    connectCommand(ui->SpeedButton1, &QToolButton::clicked, this, &TXsmxForm::SpeedButton1Click);
    connectCommand(ui->SpeedButton2, &QToolButton::clicked, this, &TXsmxForm::SpeedButton2Click);
    connectCommand(ui->SpeedButton3, &QToolButton::clicked, this, &TXsmxForm::SpeedButton3Click);
    connectCommand(ui->SpeedButton4, &QToolButton::clicked, this, &TXsmxForm::SpeedButton4Click);
    connectCommand(ui->SpeedButton5, &QToolButton::clicked, this, &TXsmxForm::SpeedButton5Click);
    connectCommand(ui->SpeedButton6, &QToolButton::clicked, this, &TXsmxForm::SpeedButton6Click);
    connectCommand(ui->SpeedButton7, &QToolButton::clicked, this, &TXsmxForm::SpeedButton7Click);
    connectCommand(ui->Button1, &QPushButton::clicked, this, &TXsmxForm::Button1Click);
    connectCommand(ui->Button2, &QPushButton::clicked, this, &TXsmxForm::Button2Click);
    connectCommand(ui->Button3, &QPushButton::clicked, this, &TXsmxForm::Button3Click);
    connectCommand(ui->Image2, &QToolButton::clicked, this, &TXsmxForm::Image2Click);
    connectCommand(ui->Image3, &QToolButton::clicked, this, &TXsmxForm::Image3Click);
    connectCommand(ui->DataGrid1, &grid::TDataGrid::doubleClicked, this,
                   &TXsmxForm::DataGrid1DblClick);
    connectCommand(ui->N1, &QAction::triggered, this, &TXsmxForm::N1Click);
    connectCommand(ui->N2, &QAction::triggered, this, &TXsmxForm::N2Click);
    connectCommand(ui->N4, &QAction::triggered, this, &TXsmxForm::N4Click);
    connectCommand(ui->N5, &QAction::triggered, this, &TXsmxForm::N5Click);
    connectCommand(ui->N7, &QAction::triggered, this, &TXsmxForm::N7Click);
    connectCommand(ui->N8, &QAction::triggered, this, &TXsmxForm::N8Click);
    connectCommand(ui->N10, &QAction::triggered, this, &TXsmxForm::N10Click);
    ui->Label1->installEventFilter(this);
}

bool TXsmxForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Label1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        ui->Label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        platform::runCommand(this, [this] { Label1Click(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TXsmxForm::event(QEvent* event) {
    // Coming back from a message box or another program leaves the list as it is; coming from
    // another window of the program (the sales window, the print preview) re-reads it, and so
    // does the first activation, since start-up reads nothing here.
    // A list left closed by a failed re-read is read again by the next activation from another
    // window or by 刷新信息, not by the closing of the box that told the failure.
    if (event->type() == QEvent::WindowActivate) {
        const bool fromForm = platform::FormActivation::instance().cameFromAnotherForm(this);
        if (fromForm || (!ADOQuery1.isOpen() && !rereadFailed_))
            platform::runCommand(this, [this] { FormActivate(); });
    }
    return QWidget::event(event);
}

void TXsmxForm::closeEvent(QCloseEvent* event) {
    platform::runCommand(this, [this] { FormClose(); });
    event->accept();
}

// Every way of closing hides the window, which ends its modal run, and shows the sales window
// again at once: a run still waiting under this one (a preview's) must not leave the program
// without a visible window.
void TXsmxForm::FormClose() {
    if (salesWindow_ != nullptr) salesWindow_->show();
}

void TXsmxForm::SpeedButton7Click() { close(); }

void TXsmxForm::N10Click() { SpeedButton7Click(); }

void TXsmxForm::Label1Click() {
    if (mainWindow_ != nullptr) mainWindow_->close();
    // A hidden main window takes no close from the window system: the program ends all the same.
    QCoreApplication::quit();
}
