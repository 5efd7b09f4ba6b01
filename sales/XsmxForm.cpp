// The sales detail window's layout, wiring, activation and closing.
#include "sales/XsmxForm.h"

#include <QLineEdit>
#include <QMenu>

#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "panels/Artwork.h"
#include "panels/Drawing.h"
#include "panels/NumericKeyFilter.h"
#include "panels/ScanDetector.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "sales/records/SaleDetailMessages.h"
#include "sales/records/SaleDetailRecords.h"
#include "store/Schema.h"
#include "ui_XsmxForm.h"

TXsmxForm::TXsmxForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TXsmxForm>()) {
    // The list is read when the window is first activated, as every time it is shown.
    frame_.tables().prepare();

    ui->setupUi(this);
    setUpWindow();
    setUpLook();
    setUpMenu();
    setUpPanels();
    setUpReturnPanel();
    // A scanned goods code is searched for as if typed into the query panel.
    panels::ScanDetector::searchOnScan(
        *this, searchEdit(store::schema::column::kGoodsCode), [this] { SpeedButton3Click(); },
        [this] { Button3Click(); });
    frame_.connectCommandsByName();
    // Coming back from a message box or another program leaves the list as it is; coming from
    // another window of the program (the sales window, the print preview) re-reads it, and so
    // does the first activation, since start-up reads nothing here.
    // A list left closed by a failed re-read is read again by the next activation from another
    // window or by 刷新信息, not by the closing of the box that told the failure.
    frame_.onActivationRereading([this] { FormActivate(); }, ADOQuery1);
    frame_.onClose([this] { FormClose(); });
    frame_.finishSetUp();
}

TXsmxForm::~TXsmxForm() = default;

grid::TDataGrid& TXsmxForm::salesList() const { return *ui->DataGrid1; }

void TXsmxForm::setUpWindow() {
    // A fixed border with only the close box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(artwork::programIcon()));
}

void TXsmxForm::setUpLook() {
    using artwork::Glyph;
    std::vector<QIcon> glyphs = artwork::toolGlyphs(
        {Glyph::Edit, Glyph::Delete, Glyph::Search, Glyph::Refresh, Glyph::Print, Glyph::Export},
        artwork::toolGlyph);
    glyphs.emplace_back(artwork::closePicture());
    glyphs.push_back(artwork::toolGlyph(Glyph::Return));
    frame_.setUpFace(*this, artwork::background(QSize(1000, 603)), glyphs,
                     QIcon(artwork::closePicture()));
    frame::ListWindowFrame::styleQuitLabel(*ui->Label1);
    ui->Label1->setAttribute(Qt::WA_TranslucentBackground);
    platform::look::styleMarks({ui->Mark1, ui->Mark2, ui->Mark3}, 15);
    platform::look::showReadOnly(
        {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5, ui->Edit6, ui->Edit7});
    platform::look::showTyped({ui->Edit8, ui->Edit9, ui->Edit10, ui->Edit11});
    platform::look::stylePictureButton(*ui->Image4, QIcon(artwork::closePicture()));
    for (QLineEdit* edit : ui->Panel1->findChildren<QLineEdit*>()) edit->setFrame(false);
}

void TXsmxForm::setUpMenu() {
    PopupMenu1 = frame_.setUpList(
        *ui->DataGrid1, grid::saleListColumns(), true, ADOQuery1,
        {ui->N1, ui->N2, ui->N11, nullptr, ui->N4, ui->N5, nullptr, ui->N7, ui->N8, nullptr,
         ui->N10},
        [this](const std::vector<int>& rows) {
            if (saledetail::SaleDetailRecords(ADOConnection1, ADOQuery1).deleteRows(rows) ==
                saledetail::DeleteOutcome::HasReturns)
                platform::say(this, saledetail::kSaleHasReturns);
        });
}

void TXsmxForm::setUpPanels() {
    // Both numeric edits are read-only; the filter stays for the day they are not.
    panels::NumericKeyFilter::install(ui->Edit6);
    panels::NumericKeyFilter::install(ui->Edit7);
    frame_.setUpListArea(*ui->Panel1, {ui->Panel2, ui->Panel5, ui->Panel3});
}

// Every way of closing hides the window, which ends its modal run, and shows the sales window
// again at once: a run still waiting under this one (a preview's) must not leave the program
// without a visible window.
void TXsmxForm::FormClose() {
    if (salesWindow_ != nullptr) salesWindow_->show();
}

void TXsmxForm::SpeedButton7Click() { close(); }

void TXsmxForm::N10Click() { SpeedButton7Click(); }

void TXsmxForm::Label1Click() { frame::quitProgram(mainWindow_); }
