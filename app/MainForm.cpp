// The main window's layout, wiring and navigation.
#include "app/MainForm.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "app/DesktopLauncher.h"
#include "grid/ListColumns.h"
#include "panels/Artwork.h"
#include "panels/Drawing.h"
#include "panels/ScanDetector.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Modal.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "purchases/records/PurchaseRecords.h"
#include "stock/records/LowStock.h"
#include "store/Schema.h"
#include "ui_MainForm.h"

namespace {

const QString kHomePage = QStringLiteral("https://www.quenvar.example/");
const QString kQuestionsPage = QStringLiteral("https://www.quenvar.example/faq.html");

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>()) {
    frame_.tables().open();
    ui->setupUi(this);
    setUpWindow();
    setUpLook();
    setUpMenus();
    frame_.connectCommandsByName();
    setUpPanels();
    panels::ScanDetector::runOnScan(*this, [this](const QString& code) { goodsScanned(code); },
                                    {ui->Edit1, ui->Edit13});
    frame_.onActivation([this] { FormActivate(); });
    FormCreate();
    frame_.finishSetUp();
}

TMainForm::~TMainForm() = default;

void TMainForm::setUpWindow() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(artwork::programIcon()));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TMainForm::setUpLook() {
    using artwork::Glyph;
    frame_.setUpFace(*ui->centralwidget, artwork::background(QSize(1000, 603)),
                     artwork::toolGlyphs({Glyph::Add, Glyph::Edit, Glyph::Delete, Glyph::Search,
                                          Glyph::Refresh, Glyph::Print, Glyph::Export},
                                         artwork::toolGlyph),
                     QIcon(artwork::closePicture()));
    adjustSize();
    platform::look::centreOnScreen(*this);
    platform::look::stylePictureButton(*ui->Image4, QIcon(artwork::homePageButton()));
    platform::look::styleMarks({ui->Mark1, ui->Mark2, ui->Mark3}, 16);
    for (QLabel* contact : {ui->QQLabel, ui->PhoneLabel, ui->MailLabel})
        platform::look::setTextColour(*contact, Qt::white);
}

void TMainForm::setUpMenus() {
    setMenuBar(ui->MainMenu1);
    PopupMenu1 = frame_.setUpList(
        *ui->DataGrid1, grid::purchaseListColumns(), false, ADOQuery1,
        {ui->N1, ui->N2, ui->N3, nullptr, ui->N11, ui->N12, nullptr, ui->N14, ui->N7, nullptr,
         ui->N20, ui->N21},
        [this](const std::vector<int>& rows) {
            const std::vector<std::string> codes = stock::codesOfRows(ADOQuery1, rows);
            purchases::PurchaseRecords(ADOConnection1, ADOQuery1).deleteRows(rows);
            tellLowStock(codes);
        });
    // The list has no stock column: the code of low goods is drawn red.
    lowStockMarks_.attach(*ui->DataGrid1, ADOQuery1, store::schema::column::kGoodsCode);
}

void TMainForm::tellLowStock(const std::vector<std::string>& codes) {
    const std::string text = stock::lowStockNoticeText(ADOConnection1, ADOQuery1, codes, "\n");
    if (!text.empty()) platform::say(this, text);
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

void TMainForm::FormActivate() {
    frame_.tables().reread();
    lowStockMarks_.reload(ADOConnection1);
}

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
