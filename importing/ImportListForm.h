#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "importing/records/ImportHistory.h"

class QPushButton;
class QTableWidget;

namespace store {
class Connection;
}
namespace Ui {
class TImportListForm;
}

// "撤销导入": the imports recorded, the latest first, with their time, file and rows; "撤销导入"
// removes the selected one whole after a confirmation, or says which of its rows have sales.
class TImportListForm : public QDialog {
    Q_OBJECT
  public:
    TImportListForm(QWidget* owner, store::Connection& connection);
    ~TImportListForm() override;

    // Whether an import was undone while the window was open (the list of purchases changed).
    bool undoneAny() const noexcept { return undoneAny_; }

    QTableWidget& importTable() const;
    QPushButton& undoButton() const;

  private slots:
    void Button1Click();
    void Button2Click();

  private:
    void showImports();

    std::unique_ptr<Ui::TImportListForm> ui;
    store::Connection& connection_;
    std::vector<importing::ImportEntry> imports_;
    bool undoneAny_ = false;
};
