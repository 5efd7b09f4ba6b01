#include "importing/ImportListForm.h"
#include "ui_ImportListForm.h"

#include <QHeaderView>

#include "importing/records/ImportMessages.h"
#include "platform/Command.h"
#include "platform/Platform.h"

namespace {

QString message(const char* pattern) { return QString::fromUtf8(pattern); }

}  // namespace

TImportListForm::TImportListForm(QWidget* owner, store::Connection& connection)
    : QDialog(owner), ui(std::make_unique<Ui::TImportListForm>()), connection_(connection) {
    ui->setupUi(this);
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this,
                             &TImportListForm::Button1Click);
    platform::connectCommand(ui->Button2, &QPushButton::clicked, this,
                             &TImportListForm::Button2Click);
    ui->ImportTable->horizontalHeader()->setStretchLastSection(true);
    showImports();
}

TImportListForm::~TImportListForm() = default;

QTableWidget& TImportListForm::importTable() const { return *ui->ImportTable; }
QPushButton& TImportListForm::undoButton() const { return *ui->Button1; }

void TImportListForm::showImports() {
    imports_ = importing::listImports(connection_);
    QTableWidget& table = *ui->ImportTable;
    table.clear();
    table.setColumnCount(4);
    table.setHorizontalHeaderLabels({QStringLiteral("导入时间"), QStringLiteral("导入行数"),
                                     QStringLiteral("现存行数"), QStringLiteral("文件名")});
    table.setRowCount(static_cast<int>(imports_.size()));
    for (int r = 0; r < table.rowCount(); ++r) {
        const auto& entry = imports_[static_cast<std::size_t>(r)];
        const QStringList cells = {
            QString::fromStdString(entry.time), QString::number(entry.importedRows),
            QString::number(entry.rowsLeft), QString::fromStdString(entry.fileName)};
        for (int c = 0; c < cells.size(); ++c) table.setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table.resizeColumnsToContents();
    ui->Button1->setEnabled(!imports_.empty());
}

void TImportListForm::Button1Click() {
    const auto selected = ui->ImportTable->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        platform::say(this, importing::kSelectImport, platform::MessageKind::Info);
        return;
    }
    const auto& entry = imports_.at(static_cast<std::size_t>(selected.front().row()));
    if (platform::current().message(this, message(importing::kConfirmUndo).arg(entry.rowsLeft),
                                    platform::MessageKind::Confirm) != platform::Answer::Ok)
        return;
    const auto result = importing::undoImport(connection_, entry.id);
    using Outcome = importing::UndoResult::Outcome;
    switch (result.outcome) {
        case Outcome::Undone:
            undoneAny_ = true;
            platform::current().message(this, message(importing::kUndone).arg(result.removedRows),
                                        platform::MessageKind::Plain);
            break;
        case Outcome::HasSales:
            platform::current().message(
                this,
                message(importing::kUndoRefused)
                    .arg(QString::fromStdString(importing::soldRowsText(result.soldRows))),
                platform::MessageKind::Plain);
            break;
        case Outcome::Gone:
            platform::say(this, importing::kUndoGone);
            break;
    }
    showImports();
}

void TImportListForm::Button2Click() { close(); }
