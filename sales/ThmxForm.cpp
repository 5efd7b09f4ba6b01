// The returns list window: its layout, wiring and commands.
#include "sales/ThmxForm.h"

#include <QLineEdit>
#include <QMenu>
#include <array>
#include <string>

#include "export/commands/ExportCommands.h"
#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "panels/Artwork.h"
#include "panels/Drawing.h"
#include "panels/EditTexts.h"
#include "panels/PanelPlacement.h"
#include "panels/ScanDetector.h"
#include "platform/Modal.h"
#include "platform/Platform.h"
#include "reports/ReportWindow.h"
#include "sales/records/ReturnListMessages.h"
#include "sales/records/ReturnListRecords.h"
#include "sales/records/ReturnMessages.h"
#include "sales/records/SaleDetailMessages.h"
#include "stock/records/LowStock.h"
#include "ui_ThmxForm.h"

namespace {

const QPoint kQueryPanelPlace(224, 168);

std::array<QLineEdit*, returnlist::kSearchFieldCount> searchEdits(Ui::TThmxForm& ui) {
    return panels::numberedEdits<returnlist::kSearchFieldCount>(*ui.Panel2, 1);
}

}  // namespace

TThmxForm::TThmxForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TThmxForm>()) {
    // The list is read when the window is first activated, as every time it is shown.
    frame_.tables().prepare();

    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(artwork::programIcon()));
    setUpLook();
    PopupMenu1 = frame_.setUpList(
        *ui->DataGrid1, grid::returnListColumns(), true, ADOQuery1,
        {ui->N1, nullptr, ui->N3, ui->N4, nullptr, ui->N6, ui->N7, nullptr, ui->N9},
        [this](const std::vector<int>& rows) { deleteRows(rows); });
    frame_.setUpListArea(*ui->Panel1, {ui->Panel2});
    // A scanned goods code is searched for as if typed into the query panel.
    panels::ScanDetector::searchOnScan(
        *this, searchEdit(store::schema::column::kGoodsCode), [this] { SpeedButton2Click(); },
        [this] { Button1Click(); });
    frame_.connectCommandsByName();
    // Read at its first activation and each time it is shown, as the sales detail window.
    frame_.onActivationRereading([this] { FormActivate(); }, ADOQuery1);
    frame_.onClose([this] { FormClose(); });
    frame_.finishSetUp();
}

TThmxForm::~TThmxForm() = default;

grid::TDataGrid& TThmxForm::returnsList() const { return *ui->DataGrid1; }

QWidget& TThmxForm::queryPanel() const { return *ui->Panel2; }

QLineEdit& TThmxForm::searchEdit(std::string_view column) const {
    return panels::editForColumn(searchEdits(*ui), returnlist::kSearchColumns, column);
}

void TThmxForm::setUpLook() {
    using artwork::Glyph;
    std::vector<QIcon> glyphs = artwork::toolGlyphs(
        {Glyph::Delete, Glyph::Search, Glyph::Refresh, Glyph::Print, Glyph::Export},
        artwork::toolGlyph);
    glyphs.emplace_back(artwork::closePicture());
    frame_.setUpFace(*this, artwork::background(QSize(1000, 603)), glyphs,
                     QIcon(artwork::closePicture()));
    frame::ListWindowFrame::styleQuitLabel(*ui->Label1);
    ui->Label1->setAttribute(Qt::WA_TranslucentBackground);
    for (QLineEdit* edit : ui->Panel1->findChildren<QLineEdit*>()) edit->setFrame(false);
}

void TThmxForm::openFrom(QWidget& opener) {
    opener_ = &opener;
    platform::showModalInPlace(opener, *this);
}

void TThmxForm::rereadList() {
    frame_.reread([this] { returnlist::ReturnListRecords(ADOConnection1, ADOQuery1).refresh(); });
}

void TThmxForm::FormActivate() {
    rereadList();
    ui->Panel2->hide();
}

// The window it was opened from comes back at once, as the sales detail window brings back the
// sales window: a run still waiting under this one must not leave the program without a window.
void TThmxForm::FormClose() {
    if (opener_ != nullptr) opener_->show();
}

// ---- deleting returns ----

// All the selected returns go together, or none of them: a return that cannot be undone says why.
void TThmxForm::deleteRows(const std::vector<int>& rows) {
    std::string refusal;
    const std::vector<std::string> codes = stock::codesOfRows(ADOQuery1, rows);
    switch (returnlist::ReturnListRecords(ADOConnection1, ADOQuery1).deleteRows(rows)) {
        case salereturn::DeleteOutcome::Deleted: {
            // The goods taken out of stock again may take a code to its lowest stock.
            const std::string notice = stock::lowStockNoticeText(ADOConnection1, codes, "\n");
            if (!notice.empty()) platform::say(this, notice);
            return;
        }
        case salereturn::DeleteOutcome::ReturnGone:
            refusal = salereturn::kReturnGone;
            break;
        case salereturn::DeleteOutcome::GoodsRowGone:
            refusal = salereturn::kReturnGoodsRowGone;
            break;
    }
    if (rows.size() > 1) refusal += returnlist::kNoneOfThemDeleted;
    platform::say(this, refusal);
}

void TThmxForm::SpeedButton1Click() {
    frame_.deleteSelectedRows(saledetail::kSelectToDelete, returnlist::kConfirmDelete);
}

void TThmxForm::N1Click() { SpeedButton1Click(); }

// ---- searching and re-reading ----

void TThmxForm::SpeedButton2Click() {
    for (QLineEdit* edit : searchEdits(*ui)) panels::setEditText(edit, {});
    panels::showPanelAt(ui->Panel2, kQueryPanelPlace);
}

void TThmxForm::N3Click() { SpeedButton2Click(); }

void TThmxForm::Button1Click() {
    returnlist::ReturnListRecords(ADOConnection1, ADOQuery1)
        .search(panels::editTexts(searchEdits(*ui)));
}

void TThmxForm::Image2Click() { ui->Panel2->hide(); }

void TThmxForm::SpeedButton3Click() { rereadList(); }

void TThmxForm::N4Click() { SpeedButton3Click(); }

// ---- printing, export, closing ----

void TThmxForm::SpeedButton4Click() {
    if (returnsReport_ != nullptr) returnsReport_->printReport(this);
}

void TThmxForm::N6Click() { SpeedButton4Click(); }

void TThmxForm::SpeedButton5Click() { exporting::exportList(this, ADOQuery1, saveName_); }

void TThmxForm::N7Click() { SpeedButton5Click(); }

void TThmxForm::SpeedButton6Click() { close(); }

void TThmxForm::N9Click() { SpeedButton6Click(); }

void TThmxForm::Label1Click() { frame::quitProgram(mainWindow_); }
