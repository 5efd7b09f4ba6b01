#include "importing/ImportForm.h"
#include "ui_ImportForm.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalBlocker>

#include "importing/records/ImportMessages.h"
#include "platform/Command.h"
#include "purchases/records/PurchaseFields.h"
#include "store/Schema.h"

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString separatorName(char separator) {
    switch (separator) {
        case ',':
            return QStringLiteral("逗号");
        case ';':
            return QStringLiteral("分号");
        case '\t':
            return QStringLiteral("制表符");
        default:
            return QString(QLatin1Char(separator));
    }
}

QString factsText(const importing::SheetFacts& facts, std::int64_t dataRows) {
    // A workbook names its sheets in the choice beside this text.
    QString text;
    if (facts.format == "csv")
        text = QStringLiteral("CSV 文件，编码：%1，分隔符：%2")
                   .arg(fromUtf8(facts.encoding), separatorName(facts.separator));
    else
        text = QStringLiteral("Excel 工作簿（.%1）").arg(fromUtf8(facts.format)) +
               (facts.sheetNames.empty()
                    ? QString()
                    : QStringLiteral("，工作表：%1").arg(fromUtf8(facts.sheetNames.front())));
    return text + QStringLiteral("，标题行下共 %1 行").arg(dataRows);
}

void fillTable(QTableWidget& table, const QStringList& headers, int rows) {
    table.clear();
    table.setColumnCount(static_cast<int>(headers.size()));
    table.setHorizontalHeaderLabels(headers);
    table.setRowCount(rows);
}

void setCell(QTableWidget& table, int row, int column, const QString& text) {
    table.setItem(row, column, new QTableWidgetItem(text));
}

}  // namespace

TImportForm::TImportForm(QWidget* owner, const QString& fileName, importing::ImportSummary summary,
                         DryRun dryRun)
    : QDialog(owner),
      ui(std::make_unique<Ui::TImportForm>()),
      summary_(std::move(summary)),
      dryRun_(std::move(dryRun)) {
    ui->setupUi(this);
    ui->Label1->setText(QStringLiteral("文件：%1").arg(fileName));
    platform::connectCommand(ui->Button1, &QPushButton::clicked, this, &TImportForm::Button1Click);
    platform::connectCommand(ui->Button2, &QPushButton::clicked, this, &TImportForm::Button2Click);
    platform::connectCommand(ui->CheckBox1, &QCheckBox::clicked, this,
                             &TImportForm::CheckBox1Click);
    connect(ui->ComboBox1, &QComboBox::activated, this,
            [this](int index) { platform::runCommand(this, [&] { ComboBox1Change(index); }); });
    ui->MappingTable->verticalHeader()->hide();
    ui->MappingTable->horizontalHeader()->setStretchLastSection(true);
    showSheets();
    showMapping();
    showSummary();
}

TImportForm::~TImportForm() = default;

bool TImportForm::skipFaultyRows() const { return ui->CheckBox1->isChecked(); }
QComboBox& TImportForm::mappingChoice(int fileColumn) const {
    return *qobject_cast<QComboBox*>(ui->MappingTable->cellWidget(fileColumn, 1));
}
QComboBox& TImportForm::sheetChoice() const { return *ui->ComboBox1; }
QTableWidget& TImportForm::previewTable() const { return *ui->PreviewTable; }
QTableWidget& TImportForm::errorTable() const { return *ui->ErrorTable; }
QCheckBox& TImportForm::skipFaultyRowsBox() const { return *ui->CheckBox1; }
QPushButton& TImportForm::importButton() const { return *ui->Button1; }

void TImportForm::Button1Click() { accept(); }

void TImportForm::Button2Click() { reject(); }

void TImportForm::CheckBox1Click() { enableImport(); }

void TImportForm::ComboBox1Change(int index) {
    summary_ = dryRun_(std::nullopt, index);
    sheet_ = index;
    showMapping();
    showSummary();
}

// The choice of sheet, for a workbook of more than one.
void TImportForm::showSheets() {
    const auto& names = summary_.facts.sheetNames;
    for (const auto& name : names) ui->ComboBox1->addItem(fromUtf8(name));
    ui->ComboBox1->setCurrentIndex(sheet_);
    ui->Label7->setVisible(names.size() > 1);
    ui->ComboBox1->setVisible(names.size() > 1);
}

// One combo per file column: "不导入" and the twelve purchase fields; a field chosen here leaves
// the column that had it.
void TImportForm::showMapping() {
    QTableWidget& table = *ui->MappingTable;
    const int columns = static_cast<int>(summary_.headers.size());
    fillTable(table, {QStringLiteral("文件中的列"), QStringLiteral("导入到")}, columns);
    for (int c = 0; c < columns; ++c) {
        const QString header = fromUtf8(summary_.headers[static_cast<std::size_t>(c)]);
        setCell(table, c, 0, header.isEmpty() ? QStringLiteral("（第 %1 列）").arg(c + 1) : header);
        auto* choice = new QComboBox(&table);
        choice->setObjectName(QStringLiteral("MappingChoice%1").arg(c + 1));
        choice->addItem(QStringLiteral("不导入"));
        for (const auto column : purchases::kFieldColumns) choice->addItem(fromUtf8(column));
        choice->setCurrentIndex(summary_.mapping.fieldOf(static_cast<std::size_t>(c)) + 1);
        table.setCellWidget(c, 1, choice);
        connect(choice, &QComboBox::activated, this, [this, c](int index) {
            platform::runCommand(this, [&] { chooseField(c, index); });
        });
    }
}

void TImportForm::chooseField(int fileColumn, int choice) {
    importing::ColumnMapping mapping = summary_.mapping;
    const int field = choice - 1;
    if (field != importing::kNotImported) {
        const int before = mapping.columnOf(field);
        if (before >= 0)
            mapping.fieldOfColumn[static_cast<std::size_t>(before)] = importing::kNotImported;
    }
    mapping.fieldOfColumn[static_cast<std::size_t>(fileColumn)] = field;
    summary_ = dryRun_(mapping, sheet_);
    for (int c = 0; c < ui->MappingTable->rowCount(); ++c) {
        const QSignalBlocker quiet(mappingChoice(c));
        mappingChoice(c).setCurrentIndex(summary_.mapping.fieldOf(static_cast<std::size_t>(c)) + 1);
    }
    showSummary();
}

void TImportForm::showSummary() {
    const std::int64_t dataRows = summary_.storableRows + summary_.faultyRows + summary_.blankRows;
    ui->Label2->setText(factsText(summary_.facts, dataRows));

    // The rows as they would be stored, in the columns of the purchase export.
    const auto columns = store::schema::table(store::schema::kPurchaseExport).columnNames();
    QStringList headers;
    for (const auto& name : columns) headers << fromUtf8(name);
    QTableWidget& preview = *ui->PreviewTable;
    fillTable(preview, headers, static_cast<int>(summary_.preview.size()));
    for (int r = 0; r < preview.rowCount(); ++r) {
        const auto& row = summary_.preview[static_cast<std::size_t>(r)];
        for (int c = 0; c < preview.columnCount(); ++c) {
            const std::string& name = columns[static_cast<std::size_t>(c)];
            const auto field =
                std::find(purchases::kFieldColumns.begin(), purchases::kFieldColumns.end(), name);
            setCell(preview, r, c,
                    fromUtf8(field == purchases::kFieldColumns.end()
                                 ? row.amount
                                 : row.texts[static_cast<std::size_t>(
                                       field - purchases::kFieldColumns.begin())]));
        }
    }

    QTableWidget& errors = *ui->ErrorTable;
    const int listed = std::min<int>(kErrorsListed, static_cast<int>(summary_.errors.size()));
    fillTable(
        errors,
        {QStringLiteral("行"), QStringLiteral("列"), QStringLiteral("值"), QStringLiteral("问题")},
        listed);
    for (int r = 0; r < listed; ++r) {
        const auto& error = summary_.errors[static_cast<std::size_t>(r)];
        setCell(errors, r, 0, QString::number(error.row));
        setCell(errors, r, 1, fromUtf8(error.column));
        setCell(errors, r, 2, fromUtf8(error.value));
        setCell(errors, r, 3, fromUtf8(error.problem));
    }
    errors.horizontalHeader()->setStretchLastSection(true);
    QString count = summary_.errors.empty() ? QStringLiteral("没有错误")
                                            : QStringLiteral("错误：共 %1 处，在 %2 行中")
                                                  .arg(summary_.errors.size())
                                                  .arg(summary_.faultyRows);
    if (static_cast<int>(summary_.errors.size()) > listed)
        count += QStringLiteral("（下面列出前 %1 处）").arg(listed);
    ui->Label5->setText(count);
    enableImport();
}

void TImportForm::enableImport() {
    QString state;
    if (!summary_.unmappedRequired.empty())
        state = QString::fromUtf8(importing::kRequiredUnmapped)
                    .arg(fromUtf8(summary_.unmappedRequired));
    else if (summary_.storableRows == 0)
        state = QString::fromUtf8(importing::kNothingToImport);
    else
        state = QStringLiteral("可导入 %1 行").arg(summary_.storableRows);
    ui->Label6->setText(state);
    ui->Button1->setEnabled(summary_.canImport(skipFaultyRows()));
}
