#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "importing/records/PurchaseImport.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTableWidget;

namespace Ui {
class TImportForm;
}

// The preview of an import: the file and what was found out about it, the mapping of its columns
// with a choice per column, the first rows as they would be stored and every problem found. "导入"
// is enabled only when the rows can be imported: no problem left, or 跳过有错误的行 ticked.
// Changing a column's choice runs the dry run again with the new mapping; choosing another sheet
// of a workbook runs it on that sheet, mapped afresh by its headers.
class TImportForm : public QDialog {
    Q_OBJECT
  public:
    // The dry run with a mapping (none: the sheet's headers mapped afresh) on a sheet (0 the
    // first; a CSV file has one).
    using DryRun = std::function<importing::ImportSummary(
        const std::optional<importing::ColumnMapping>& mapping, int sheet)>;

    TImportForm(QWidget* owner, const QString& fileName, importing::ImportSummary summary,
                DryRun dryRun);
    ~TImportForm() override;

    const importing::ImportSummary& summary() const noexcept { return summary_; }
    const importing::ColumnMapping& mapping() const noexcept { return summary_.mapping; }
    bool skipFaultyRows() const;
    int sheet() const noexcept { return sheet_; }

    // The controls tests use.
    QComboBox& mappingChoice(int fileColumn) const;
    QComboBox& sheetChoice() const;
    QTableWidget& previewTable() const;
    QTableWidget& errorTable() const;
    QCheckBox& skipFaultyRowsBox() const;
    QPushButton& importButton() const;

    // The errors listed at most; the count above them tells them all.
    static constexpr int kErrorsListed = 1000;

  private slots:
    void Button1Click();
    void Button2Click();
    void CheckBox1Click();
    void ComboBox1Change(int index);

  private:
    void chooseField(int fileColumn, int choice);
    void showSheets();
    void showMapping();
    void showSummary();
    void enableImport();

    std::unique_ptr<Ui::TImportForm> ui;
    importing::ImportSummary summary_;
    DryRun dryRun_;
    int sheet_ = 0;
};
