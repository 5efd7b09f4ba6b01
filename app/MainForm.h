#pragma once

#include <QMainWindow>
#include <memory>
#include <string_view>

#include "frame/ListWindowFrame.h"
#include "platform/SharedSaveName.h"
#include "stock/LowStockMarks.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"

class QLineEdit;
class QMenu;
class TDyForm;

namespace Ui {
class TMainForm;
}
namespace grid {
class TDataGrid;
}

// The main window: the purchase list of the goods table 表1 with its tool buttons, menu bar and
// context menu, through which every other window is reached. Closing it ends the program.
class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows this one opens, set once all windows exist.
    void setCompanyWindow(QWidget* companyWindow) { companyWindow_ = companyWindow; }
    void setSalesWindow(QWidget* salesWindow) { salesWindow_ = salesWindow; }
    void setPurchaseReport(TDyForm* purchaseReport) { purchaseReport_ = purchaseReport; }
    store::Connection& connection() noexcept { return ADOConnection1; }
    store::Query& goodsQuery() noexcept { return ADOQuery1; }
    QMenu* popupMenu() const { return PopupMenu1; }
    grid::TDataGrid& purchaseList() const;
    QWidget& entryPanel() const;
    QWidget& queryPanel() const;
    // The entry panel's field for a column of 表1, the query panel's for a searched column.
    QLineEdit& entryEdit(std::string_view column) const;
    QLineEdit& searchEdit(std::string_view column) const;
    // Fields of the entry panel.
    QLineEdit& codeEdit() const;
    QLineEdit& goodsNameEdit() const;
    QLineEdit& unitEdit() const;
    QLineEdit& priceEdit() const;
    QLineEdit& quantityEdit() const;
    QLineEdit& contactEdit() const;
    QLineEdit& remarkEdit() const;
    // Fields of the query panel: goods code and goods name.
    QLineEdit& searchCodeEdit() const;
    QLineEdit& searchNameEdit() const;

    // What coming back to this window from another of the program's windows does.
    void activateFromAnotherWindow() { FormActivate(); }

  private slots:
    // Navigation and web pages.
    void FormActivate();
    void N5Click();
    void N6Click();
    void N10Click();
    void Image4Click();
    void N15Click();
    void N17Click();

    // Purchase commands, panels, backup and restore (MainFormCommands.cpp).
    void SpeedButton1Click();
    void N1Click();
    void Button1Click();
    void SpeedButton2Click();
    void N2Click();
    void DataGrid1DblClick();
    void Button3Click();
    void SpeedButton3Click();
    void N3Click();
    void SpeedButton4Click();
    void N11Click();
    void Button4Click();
    void SpeedButton5Click();
    void N12Click();
    void Button2Click();
    void Image2Click();
    void Image3Click();
    void SpeedButton6Click();
    void N14Click();
    void SpeedButton7Click();
    void N7Click();
    void N8Click();
    void N9Click();
    // Importing purchases from a file, and taking an import back (MainFormCommands.cpp).
    void N18Click();
    void N19Click();
    void N20Click();
    void N21Click();

  private:
    void FormCreate();
    void setUpWindow();
    void setUpLook();
    void setUpMenus();
    // Tells the codes a change of 表1 took to their lowest stock, after the change's own message.
    void tellLowStock(const std::vector<std::string>& codes);
    // Panel drag and the numeric key filters of the entry panel (MainFormCommands.cpp).
    void setUpPanels();

    // Purchase entry, edit and deletion with the entry panel (MainFormCommands.cpp).
    void showForEditing(bool hideQueryPanel);
    // A scanned goods code: into the purchase entry's code while that panel is open, otherwise
    // searched for as if typed into the query panel.
    void goodsScanned(const QString& code);
    void deleteSelectedPurchases(const char* selectionHint);

    frame::ListWindowFrame frame_{*this, {store::schema::kGoods}};
    store::Connection& ADOConnection1 = frame_.connection();
    store::Query& ADOQuery1 = frame_.query(0);  // select * from 表1
    store::Query ADOQuery2{ADOConnection1};     // select * from 表4, the export's staging table

    QWidget* companyWindow_ = nullptr;
    QWidget* salesWindow_ = nullptr;
    TDyForm* purchaseReport_ = nullptr;
    stock::LowStockMarks lowStockMarks_;  // the codes of low goods drawn red
    std::unique_ptr<Ui::TMainForm> ui;
    QMenu* PopupMenu1 = nullptr;
    std::int64_t editedPurchaseId_ = -1;  // the row the entry panel was loaded from
    SharedSaveName saveName_;             // the save dialog shared by backup and export
};
