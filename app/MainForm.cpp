// The main window's layout, wiring and navigation.
#include "app/MainForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <exception>

#include "app/DesktopLauncher.h"
#include "grid/ColumnMakers.h"
#include "grid/GridColumn.h"
#include "panels/Artwork.h"
#include "panels/Drawing.h"
#include "panels/EnterClicksButtons.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/FormActivation.h"
#include "platform/Modal.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "purchases/records/PurchaseRecords.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "ui_MainForm.h"

namespace {

const QString kHomePage = QStringLiteral("https://www.quenvar.example/");
const QString kQuestionsPage = QStringLiteral("https://www.quenvar.example/faq.html");

std::vector<grid::GridColumn> purchaseColumns() {
    using grid::numberColumn;
    using grid::textColumn;
    const auto centre = Qt::Alignment(Qt::AlignHCenter);
    grid::GridColumn code =
        grid::withTotalLabel(textColumn("商品编码", "①商品信息|商品编码", 65, centre));
    code.footerBold = true;
    return {code,
            textColumn("商品名称", "①商品信息|商品名称", 65),
            textColumn("商品型号", "①商品信息|商品型号", 65),
            textColumn("商品规格", "①商品信息|商品规格", 65),
            textColumn("单位", "①商品信息|单位", 45, centre),
            numberColumn("进货单价", "②进货信息|单价", 50),
            numberColumn("进货数量", "②进货信息|数量", 50),
            grid::withSum(numberColumn("进货金额", "②进货信息|金额", 65), QStringLiteral("#0.##")),
            textColumn("供货单位", "③供货商信息|供货单位", 65),
            textColumn("联系人", "③供货商信息|联系人", 65, centre),
            textColumn("联系电话", "③供货商信息|联系电话", 80),
            textColumn("详细地址", "③供货商信息|详细地址", 120),
            textColumn("备注", "备注", 90)};
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>()) {
    platform::FormActivation::instance();  // watching before the first activation
    tables_.open();

    ui->setupUi(this);
    setUpWindow();
    setUpLook();
    setUpGrid();
    setUpMenus();
    wireCommands();
    setUpPanels();
    FormCreate();
    panels::EnterClicksButtons::install(*this);
}

TMainForm::~TMainForm() {
    // The list lets go of the query before the query goes.
    ui->DataGrid1->setQuery(nullptr);
}

void TMainForm::setUpWindow() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(artwork::programIcon()));
    ui->centralwidget->setFixedSize(1000, 603);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    platform::look::centreOnScreen(*this);
}

void TMainForm::setUpLook() {
    platform::setPixelFont(*ui->centralwidget, 13);
    ui->Image1->setPixmap(artwork::background(QSize(1000, 603)));

    using artwork::Glyph;
    platform::look::styleToolButtons(
        {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton4, ui->SpeedButton5,
         ui->SpeedButton6, ui->SpeedButton7},
        artwork::toolGlyphs({Glyph::Add, Glyph::Edit, Glyph::Delete, Glyph::Search, Glyph::Refresh,
                             Glyph::Print, Glyph::Export},
                            artwork::toolGlyph));
    platform::look::stylePictureButton(*ui->Image4, QIcon(artwork::homePageButton()));
    for (QToolButton* close : {ui->Image2, ui->Image3})
        platform::look::stylePictureButton(*close, QIcon(artwork::closePicture()));
    platform::look::styleListArea(*ui->Panel1, {ui->Panel2, ui->Panel5});
    platform::look::styleMarks({ui->Mark1, ui->Mark2, ui->Mark3}, 16);
    for (QLabel* contact : {ui->QQLabel, ui->PhoneLabel, ui->MailLabel})
        platform::look::setTextColour(*contact, Qt::white);
}

void TMainForm::setUpGrid() {
    ui->DataGrid1->setColumns(purchaseColumns());
    ui->DataGrid1->setFooterBold(false);
    ui->DataGrid1->setQuery(&ADOQuery1);
    ui->DataGrid1->setRowDeleter([this](const std::vector<int>& rows) {
        purchases::PurchaseRecords(ADOConnection1, ADOQuery1).deleteRows(rows);
    });
}

void TMainForm::setUpMenus() {
    setMenuBar(ui->MainMenu1);
    PopupMenu1 = platform::look::contextMenu(
        *this, {ui->N1, ui->N2, ui->N3, nullptr, ui->N11, ui->N12, nullptr, ui->N14, ui->N7});
    ui->DataGrid1->setPopupMenu(PopupMenu1);
}

void TMainForm::wireCommands() {
    platform::connectCommand(ui->SpeedButton1, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton1Click);
    platform::connectCommand(ui->SpeedButton2, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton2Click);
    platform::connectCommand(ui->SpeedButton3, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton3Click);
    platform::connectCommand(ui->SpeedButton4, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton4Click);
    platform::connectCommand(ui->SpeedButton5, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton5Click);
    platform::connectCommand(ui->SpeedButton6, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton6Click);
    platform::connectCommand(ui->SpeedButton7, &QToolButton::clicked, this,
                             &TMainForm::SpeedButton7Click);
    platform::connectCommand(ui->Image4, &QToolButton::clicked, this, &TMainForm::Image4Click);
    platform::connectCommand(ui->Image2, &QToolButton::clicked, this, &TMainForm::Image2Click);
    platform::connectCommand(ui->Image3, &QToolButton::clicked, this, &TMainForm::Image3Click);
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    platform::connectCommand(ui->Button2, &QPushButton::clicked, this, &TMainForm::Button2Click);
    platform::connectCommand(ui->Button3, &QPushButton::clicked, this, &TMainForm::Button3Click);
    platform::connectCommand(ui->Button4, &QPushButton::clicked, this, &TMainForm::Button4Click);
    platform::connectCommand(ui->DataGrid1, &grid::TDataGrid::doubleClicked, this,
                             &TMainForm::DataGrid1DblClick);

    platform::connectCommand(ui->N1, &QAction::triggered, this, &TMainForm::N1Click);
    platform::connectCommand(ui->N2, &QAction::triggered, this, &TMainForm::N2Click);
    platform::connectCommand(ui->N3, &QAction::triggered, this, &TMainForm::N3Click);
    platform::connectCommand(ui->N11, &QAction::triggered, this, &TMainForm::N11Click);
    platform::connectCommand(ui->N12, &QAction::triggered, this, &TMainForm::N12Click);
    platform::connectCommand(ui->N14, &QAction::triggered, this, &TMainForm::N14Click);
    platform::connectCommand(ui->N7, &QAction::triggered, this, &TMainForm::N7Click);
    platform::connectCommand(ui->N5, &QAction::triggered, this, &TMainForm::N5Click);
    platform::connectCommand(ui->N6, &QAction::triggered, this, &TMainForm::N6Click);
    platform::connectCommand(ui->N8, &QAction::triggered, this, &TMainForm::N8Click);
    platform::connectCommand(ui->N9, &QAction::triggered, this, &TMainForm::N9Click);
    platform::connectCommand(ui->N10, &QAction::triggered, this, &TMainForm::N10Click);
    platform::connectCommand(ui->N15, &QAction::triggered, this, &TMainForm::N15Click);
    platform::connectCommand(ui->N17, &QAction::triggered, this, &TMainForm::N17Click);
}

grid::TDataGrid& TMainForm::purchaseList() const { return *ui->DataGrid1; }
QWidget& TMainForm::entryPanel() const { return *ui->Panel2; }
QWidget& TMainForm::queryPanel() const { return *ui->Panel5; }
QLineEdit& TMainForm::codeEdit() const { return *ui->Edit1; }
QLineEdit& TMainForm::goodsNameEdit() const { return *ui->Edit2; }
QLineEdit& TMainForm::unitEdit() const { return *ui->Edit5; }
QLineEdit& TMainForm::priceEdit() const { return *ui->Edit6; }
QLineEdit& TMainForm::quantityEdit() const { return *ui->Edit7; }
QLineEdit& TMainForm::contactEdit() const { return *ui->Edit9; }
QLineEdit& TMainForm::remarkEdit() const { return *ui->Edit12; }
QLineEdit& TMainForm::searchCodeEdit() const { return *ui->Edit13; }
QLineEdit& TMainForm::searchNameEdit() const { return *ui->Edit14; }

void TMainForm::FormCreate() { launcher::writeForThisProgram(); }

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate &&
        platform::FormActivation::instance().cameFromAnotherForm(this))
        platform::runCommand(this, [this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TMainForm::FormActivate() { tables_.reread(); }

void TMainForm::N5Click() {
    if (companyWindow_ != nullptr) platform::showModal(*companyWindow_);
}

void TMainForm::N6Click() {
    if (salesWindow_ == nullptr) return;
    hide();
    platform::showModal(*salesWindow_);
    show();
    activateWindow();
}

void TMainForm::N10Click() { platform::current().openUrl(kHomePage); }

void TMainForm::Image4Click() { platform::current().openUrl(kHomePage); }

void TMainForm::N15Click() { platform::current().openUrl(kQuestionsPage); }

void TMainForm::N17Click() { close(); }
