// The sales detail window's commands on its list and its two panels.
#include <QLineEdit>
#include <array>
#include <string>

#include "export/commands/ExportCommands.h"
#include "grid/DataGrid.h"
#include "panels/EditTexts.h"
#include "panels/PanelPlacement.h"
#include "platform/Platform.h"
#include "reports/ReportWindow.h"
#include "sales/XsmxForm.h"
#include "sales/records/SaleDetailMessages.h"
#include "sales/records/SaleDetailRecords.h"
#include "ui_XsmxForm.h"

namespace {

const QPoint kEntryPanelPlace(256, 88);
const QPoint kQueryPanelPlace(224, 168);

std::array<QLineEdit*, saledetail::kFieldCount> entryEdits(Ui::TXsmxForm& ui) {
    return panels::numberedEdits<saledetail::kFieldCount>(*ui.Panel2, 1);
}

std::array<QLineEdit*, saledetail::kSearchFieldCount> searchEdits(Ui::TXsmxForm& ui) {
    return panels::numberedEdits<saledetail::kSearchFieldCount>(*ui.Panel5, 12);
}

}  // namespace

QLineEdit& TXsmxForm::entryEdit(std::string_view column) const {
    return panels::editForColumn(entryEdits(*ui), saledetail::kFieldColumns, column);
}

QLineEdit& TXsmxForm::searchEdit(std::string_view column) const {
    return panels::editForColumn(searchEdits(*ui), saledetail::kSearchColumns, column);
}

void TXsmxForm::rereadList() {
    frame_.reread([this] { saledetail::SaleDetailRecords(ADOConnection1, ADOQuery1).refresh(); });
}

void TXsmxForm::FormActivate() {
    rereadList();
    ui->Panel2->hide();
    ui->Panel5->hide();
    ui->Panel3->hide();
}

// ---- correcting a sale ----

// Fills the entry panel from the current sale, notes its ID and shows the panel; an empty list
// only gets the warning. A sale that cannot be loaded (an empty price or quantity) leaves the
// panel where and how it was but holding part of that sale, so no sale is noted then: a later
// "修改" cannot carry those texts into the sale loaded before.
void TXsmxForm::showForEditing(bool hideQueryPanel) {
    saledetail::SaleDetailRecords records(ADOConnection1, ADOQuery1);
    if (!panels::loadForEditing(records, entryEdits(*ui), editedSaleId_)) {
        platform::say(this, saledetail::kNothingToEdit, platform::MessageKind::Confirm);
        return;
    }
    panels::showPanelAt(ui->Panel2, kEntryPanelPlace);
    ui->Panel3->hide();
    if (hideQueryPanel) ui->Panel5->hide();
}

void TXsmxForm::SpeedButton1Click() { showForEditing(true); }

void TXsmxForm::N1Click() { SpeedButton1Click(); }

void TXsmxForm::DataGrid1DblClick() {
    // The double click leaves the query panel as it is.
    showForEditing(false);
}

void TXsmxForm::Button1Click() {
    const auto edits = entryEdits(*ui);
    const saledetail::SaleFields fields{panels::editTexts(edits), panels::editsChanged(edits)};
    switch (
        saledetail::SaleDetailRecords(ADOConnection1, ADOQuery1).writeBack(editedSaleId_, fields)) {
        case saledetail::WriteBackOutcome::NoCurrentRow:
            platform::say(this, saledetail::kNothingToEdit);
            return;
        case saledetail::WriteBackOutcome::RowGone:
            platform::say(this, saledetail::kEditedRowGone);
            return;
        case saledetail::WriteBackOutcome::BelowReturned:
            platform::say(this, saledetail::kQuantityBelowReturned);
            return;
        case saledetail::WriteBackOutcome::Written:
            platform::say(this, saledetail::kEdited);
            ui->Panel2->hide();
            return;
    }
}

void TXsmxForm::Button2Click() { ui->Panel2->hide(); }

void TXsmxForm::Image2Click() { ui->Panel2->hide(); }

// ---- deleting sales ----

void TXsmxForm::deleteSelectedSales() {
    frame_.deleteSelectedRows(saledetail::kSelectToDelete, saledetail::kConfirmDelete);
}

void TXsmxForm::SpeedButton2Click() { deleteSelectedSales(); }

void TXsmxForm::N2Click() { deleteSelectedSales(); }

// ---- searching and re-reading ----

void TXsmxForm::SpeedButton3Click() {
    for (QLineEdit* edit : searchEdits(*ui)) panels::setEditText(edit, {});
    panels::showPanelAt(ui->Panel5, kQueryPanelPlace);
    ui->Panel2->hide();
    ui->Panel3->hide();
}

void TXsmxForm::N4Click() { SpeedButton3Click(); }

void TXsmxForm::Button3Click() {
    saledetail::SaleDetailRecords(ADOConnection1, ADOQuery1)
        .search(panels::editTexts(searchEdits(*ui)));
}

void TXsmxForm::Image3Click() { ui->Panel5->hide(); }

void TXsmxForm::SpeedButton4Click() { rereadList(); }

void TXsmxForm::N5Click() { SpeedButton4Click(); }

// ---- printing and export: filled in by the report and export work ----

void TXsmxForm::SpeedButton5Click() {
    if (salesReport_ != nullptr) salesReport_->printReport(this);
}

void TXsmxForm::N7Click() { SpeedButton5Click(); }

void TXsmxForm::SpeedButton6Click() { exporting::exportList(this, ADOQuery1, saveName_); }

void TXsmxForm::N8Click() { SpeedButton6Click(); }
