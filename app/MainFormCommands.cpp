// The main window's purchase commands, its panels, backup and restore.
#include "app/MainForm.h"
#include "ui_MainForm.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/backup/BackupCommands.h"
#include "backup/AutoBackupSettings.h"
#include "export/commands/ExportCommands.h"
#include "grid/DataGrid.h"
#include "importing/ImportCommands.h"
#include "panels/EditTexts.h"
#include "panels/NumericKeyFilter.h"
#include "panels/PanelPlacement.h"
#include "platform/Platform.h"
#include "purchases/records/PurchaseMessages.h"
#include "purchases/records/PurchaseRecords.h"
#include "purchases/records/SaleTextLimits.h"
#include "reports/DyForm.h"
#include "stock/records/LowStock.h"
#include "store/WindowTables.h"

// ---- Purchase commands and the entry and query panels ----

namespace {

const QPoint kEntryPanelPlace(240, 88);
const QPoint kQueryPanelPlace(224, 168);

std::array<QLineEdit*, purchases::kFieldCount> entryEdits(Ui::TMainForm& ui) {
    return panels::numberedEdits<purchases::kFieldCount>(*ui.Panel2, 1);
}

std::array<QLineEdit*, purchases::kSearchFieldCount> searchEdits(Ui::TMainForm& ui) {
    return panels::numberedEdits<purchases::kSearchFieldCount>(*ui.Panel5, 13);
}

}  // namespace

QLineEdit& TMainForm::entryEdit(std::string_view column) const {
    return panels::editForColumn(entryEdits(*ui), purchases::kFieldColumns, column);
}

QLineEdit& TMainForm::searchEdit(std::string_view column) const {
    return panels::editForColumn(searchEdits(*ui), purchases::kSearchColumns, column);
}

namespace {

purchases::PurchaseFields entryFields(Ui::TMainForm& ui) {
    const auto edits = entryEdits(ui);
    return {panels::editTexts(edits), panels::editsChanged(edits)};
}

// A stored purchase whose goods texts the sales table cannot take: say so, and what to do.
void warnIfUnsellable(QWidget* owner, const purchases::PurchaseFields& fields) {
    const std::string warning = purchases::saleWarning(fields);
    if (!warning.empty()) platform::say(owner, warning);
}

}  // namespace

// Fills the entry panel from the current row, notes the row's ID in editedPurchaseId_ and shows the
// panel in edit mode; an empty list only gets the warning. A row that cannot be loaded leaves the
// panel where and how it was, but holding part of that row: no row is noted then, so that a
// write-back cannot carry those texts into the row loaded before.
void TMainForm::showForEditing(bool hideQueryPanel) {
    purchases::PurchaseRecords records(ADOConnection1, ADOQuery1);
    if (!panels::loadForEditing(records, entryEdits(*ui), editedPurchaseId_)) {
        platform::say(this, purchases::kNothingToEdit, platform::MessageKind::Confirm);
        return;
    }
    panels::showPanelAt(ui->Panel2, kEntryPanelPlace);
    if (hideQueryPanel) ui->Panel5->hide();
    panels::showModeButton(ui->Button3, ui->Button1);
}

void TMainForm::deleteSelectedPurchases(const char* selectionHint) {
    grid::TDataGrid& list = *ui->DataGrid1;
    if (list.selectedCount() < 1) {
        platform::say(this, selectionHint, platform::MessageKind::Info);
        return;
    }
    if (platform::say(this, purchases::kConfirmDelete, platform::MessageKind::Confirm) !=
        platform::Answer::Ok)
        return;
    if (!ADOQuery1.isEmpty()) list.deleteSelected();
}

void TMainForm::setUpPanels() {
    panels::NumericKeyFilter::install(ui->Edit6);
    panels::NumericKeyFilter::install(ui->Edit7);
    frame_.setUpListArea(*ui->Panel1, {ui->Panel2, ui->Panel5});
    panels::showModeButton(ui->Button1, ui->Button3);
}

void TMainForm::SpeedButton1Click() {
    panels::showPanelAt(ui->Panel2, kEntryPanelPlace);
    ui->Panel5->hide();
    panels::showModeButton(ui->Button1, ui->Button3);
    panels::setEditTexts(entryEdits(*ui), purchases::blankEntryTexts());
}

void TMainForm::N1Click() { SpeedButton1Click(); }

void TMainForm::Button1Click() {
    purchases::PurchaseRecords records(ADOConnection1, ADOQuery1);
    const purchases::PurchaseFields fields = entryFields(*ui);
    switch (records.add(fields)) {
        case purchases::AddOutcome::Empty:
            platform::say(this, purchases::kEntryEmpty);
            return;
        case purchases::AddOutcome::Refused:
            platform::say(this, purchases::refusalOf(fields));
            return;
        case purchases::AddOutcome::Added:
            break;
    }
    panels::setEditTexts(entryEdits(*ui), purchases::blankEntryTexts());
    platform::say(this, purchases::kAdded);
    warnIfUnsellable(this, fields);
    records.refresh();
    // New stock may lift a code above its level: its next fall is told again.
    tellLowStock({fields.texts[0]});
}

void TMainForm::SpeedButton2Click() { showForEditing(true); }

void TMainForm::N2Click() { SpeedButton2Click(); }

void TMainForm::DataGrid1DblClick() {
    // The double click leaves the query panel as it is.
    showForEditing(false);
}

void TMainForm::Button3Click() {
    purchases::PurchaseRecords records(ADOConnection1, ADOQuery1);
    const purchases::PurchaseFields fields = entryFields(*ui);
    // A corrected code takes the row's stock from the old code to the new one.
    std::vector<std::string> codes{fields.texts[0]};
    for (int row = 0; row < ADOQuery1.recordCount(); ++row)
        if (ADOQuery1.rowIdAt(row) == editedPurchaseId_)
            codes.push_back(stock::codesOfRows(ADOQuery1, {row}).front());
    switch (records.writeBack(editedPurchaseId_, fields)) {
        case purchases::WriteBackOutcome::NoCurrentRow:
            platform::say(this, purchases::kNothingToEdit);
            return;
        case purchases::WriteBackOutcome::RowGone:
            platform::say(this, purchases::kEditedRowGone);
            return;
        case purchases::WriteBackOutcome::Refused:
            platform::say(this, purchases::refusalOf(fields));
            return;
        case purchases::WriteBackOutcome::Written:
            platform::say(this, purchases::kEdited);
            warnIfUnsellable(this, fields);
            ui->Panel2->hide();
            tellLowStock(codes);
            return;
    }
}

void TMainForm::SpeedButton3Click() { deleteSelectedPurchases(purchases::kSelectToDeleteButton); }

void TMainForm::N3Click() { deleteSelectedPurchases(purchases::kSelectToDeleteMenu); }

void TMainForm::SpeedButton4Click() {
    for (QLineEdit* edit : searchEdits(*ui)) panels::setEditText(edit, {});
    panels::showPanelAt(ui->Panel5, kQueryPanelPlace);
    ui->Panel2->hide();
}

void TMainForm::N11Click() { SpeedButton4Click(); }

void TMainForm::goodsScanned(const QString& code) {
    if (ui->Panel2->isVisible()) {
        // Typed by the user: a correction writes it back.
        ui->Edit1->setText(code);
        ui->Edit1->setModified(true);
        ui->Edit1->setFocus();
        return;
    }
    SpeedButton4Click();
    ui->Edit13->setText(code);
    Button4Click();
}

void TMainForm::Button4Click() {
    purchases::PurchaseRecords(ADOConnection1, ADOQuery1)
        .search(panels::editTexts(searchEdits(*ui)));
}

void TMainForm::SpeedButton5Click() {
    purchases::PurchaseRecords(ADOConnection1, ADOQuery1).refresh();
}

void TMainForm::N12Click() { SpeedButton5Click(); }

void TMainForm::Button2Click() { ui->Panel2->hide(); }

void TMainForm::Image2Click() { ui->Panel2->hide(); }

void TMainForm::Image3Click() { ui->Panel5->hide(); }

// ---- end of the purchase commands ----

void TMainForm::SpeedButton6Click() {
    if (purchaseReport_ != nullptr) purchaseReport_->printReport(this);
}

void TMainForm::N14Click() { SpeedButton6Click(); }

// ---- Export ----

void TMainForm::SpeedButton7Click() {
    exporting::exportPurchases(this, ADOConnection1, ADOQuery1, ADOQuery2, saveName_);
}

void TMainForm::N7Click() { SpeedButton7Click(); }

// ---- Backup and restore ----

void TMainForm::N8Click() { backup::runBackup(this, saveName_, backup::programFolder()); }

void TMainForm::N9Click() {
    // The windows that reconnect by themselves let go of the file; the company window keeps its
    // query, which the reports read, in case the restore fails and the program goes on.
    if (backup::runRestore(this, backup::programFolder(),
                           store::WindowTables::releaseAllForRestore) ==
        backup::RestoreResult::Restored)
        QCoreApplication::quit();
}

// ---- Importing purchases ----

void TMainForm::N18Click() {
    if (!importing::importPurchases(this, ADOConnection1, autobackup::defaultSettingsFile()))
        return;
    purchases::PurchaseRecords(ADOConnection1, ADOQuery1).refresh();
    tellLowStock(stock::levelledCodes(ADOConnection1));
}

void TMainForm::N19Click() {
    if (!importing::undoImports(this, ADOConnection1)) return;
    purchases::PurchaseRecords(ADOConnection1, ADOQuery1).refresh();
    tellLowStock(stock::levelledCodes(ADOConnection1));
}

void TMainForm::N20Click() { N18Click(); }

void TMainForm::N21Click() { N19Click(); }
