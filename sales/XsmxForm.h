#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "frame/ListWindowFrame.h"
#include "platform/SharedSaveName.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"

class QComboBox;
class QLineEdit;
class QMenu;
namespace grid {
class TDataGrid;
}
namespace reports {
class ReportWindow;
}
namespace Ui {
class TXsmxForm;
}

// The sales detail window "销售明细": every recorded sale of 表3 with the footer total of the
// amounts, the search by goods code, goods name, customer or telephone, the correction of a
// sale's customer details and remark, the deletion of the selected sales, and the return of
// goods from a sale (its return panel). The sales window shows it modally and comes back when it
// is hidden; only a return touches 表1, giving its goods back to stock.
class TXsmxForm : public QWidget {
    Q_OBJECT
  public:
    explicit TXsmxForm(QWidget* parent = nullptr);
    ~TXsmxForm() override;

    // What other windows and tests reach.
    store::Connection& connection() noexcept { return ADOConnection1; }
    store::Query& salesQuery() noexcept { return ADOQuery1; }
    grid::TDataGrid& salesList() const;
    // The entry panel's field for a column of 表3, the query panel's for a searched column.
    QLineEdit& entryEdit(std::string_view column) const;
    QLineEdit& searchEdit(std::string_view column) const;
    QMenu* popupMenu() const { return PopupMenu1; }
    // The return panel: the sale's figures it shows, the goods row the return goes back to, and
    // what the user types.
    QWidget& returnPanel() const;
    QLineEdit& soldEdit() const;
    QLineEdit& returnedEdit() const;
    QLineEdit& returnableEdit() const;
    QComboBox& returnGoodsRowBox() const;
    QLineEdit& returnQuantityEdit() const;
    QLineEdit& refundEdit() const;
    QLineEdit& returnReasonEdit() const;
    // What the return panel's "退货明细" opens: the list of returns.
    void setOpenReturnsWindow(std::function<void()> open);
    // The program's main window, closed by "【退出软件】" to end the program.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // The sales window this window was opened from, shown again when this one closes.
    void setSalesWindow(QWidget* window) { salesWindow_ = window; }
    // The sales detail report that "明细打印" prints.
    void setSalesDetailReport(reports::ReportWindow& report) { salesReport_ = &report; }

    // What coming back to this window from another of the program's windows does.
    void activateFromAnotherWindow() { FormActivate(); }

  private slots:
    // The window's commands, named after their controls.
    void FormActivate();
    void FormClose();
    void SpeedButton1Click();
    void N1Click();
    void DataGrid1DblClick();
    void Button1Click();
    void Button2Click();
    void Image2Click();
    void SpeedButton2Click();
    void N2Click();
    void SpeedButton3Click();
    void N4Click();
    void Button3Click();
    void Image3Click();
    void SpeedButton4Click();
    void N5Click();
    void SpeedButton5Click();
    void N7Click();
    void SpeedButton6Click();
    void N8Click();
    void SpeedButton7Click();
    void N10Click();
    void Label1Click();

    // The return panel (XsmxFormReturn.cpp).
    void SpeedButton8Click();
    void N11Click();
    void Edit26KeyUp();
    void Edit27KeyUp();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Image4Click();

  private:
    void setUpWindow();
    void rereadList();
    void setUpLook();
    void setUpMenu();
    void setUpPanels();
    void showForEditing(bool hideQueryPanel);
    void deleteSelectedSales();
    void setUpReturnPanel();  // XsmxFormReturn.cpp
    void showForReturn();
    void showReturnFigures(const std::string& returned, const std::string& returnable);

    frame::ListWindowFrame frame_{*this, {store::schema::kSales}};
    std::unique_ptr<Ui::TXsmxForm> ui;
    store::Connection& ADOConnection1 = frame_.connection();
    store::Query& ADOQuery1 = frame_.query(0);  // select * from 表3
    QMenu* PopupMenu1 = nullptr;
    QWidget* mainWindow_ = nullptr;
    QWidget* salesWindow_ = nullptr;
    reports::ReportWindow* salesReport_ = nullptr;
    SharedSaveName saveName_;         // the export's save dialog
    std::int64_t editedSaleId_ = -1;  // the sale the entry panel was loaded from
    std::int64_t returnSaleId_ = -1;  // the sale the return panel was opened for
    std::function<void()> openReturnsWindow_;
};
