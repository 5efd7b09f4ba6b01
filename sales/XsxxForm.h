#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

#include "frame/ListWindowFrame.h"
#include "platform/SharedSaveName.h"
#include "stock/LowStockMarks.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"

class QComboBox;
class QLabel;
class QTimer;
class QDateEdit;
class QLineEdit;
class QMenu;
class TThmxForm;

namespace grid {
class TDataGrid;
}
namespace reports {
class ReportWindow;
}
namespace stock {
class TLowStockListDialog;
}
namespace sales {
class SaleRecords;
struct ScanMatch;
}  // namespace sales
namespace Ui {
class TXsxxForm;
}

// The sales window: every goods row of 表1 with its purchase, sales and stock figures, the query
// by goods code or name, and the sale entry panel that sells out of the current row. It is shown
// modally in place of the main window and brings the main window back however it closes.
class TXsxxForm : public QWidget {
    Q_OBJECT
  public:
    explicit TXsxxForm(QWidget* parent = nullptr);
    ~TXsxxForm() override;

    // Set once all windows exist: the window that comes back when this one closes (and whose
    // closing ends the program), and the sales detail window.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    void setSalesDetailWindow(QWidget* window) { detailWindow_ = window; }
    // The returns list that "退货明细" opens in this window's place.
    void setReturnsWindow(TThmxForm* window) { returnsWindow_ = window; }
    // The goods report that "销售打印" and "打印报表" print.
    void setGoodsReport(reports::ReportWindow& report) { goodsReport_ = &report; }
    // The report the 库存预警 list prints.
    void setLowStockReport(reports::ReportWindow& report) { lowStockReport_ = &report; }

    store::Connection& connection() noexcept { return ADOConnection1; }
    store::Query& goodsQuery() noexcept { return ADOQuery1; }
    // 表3: the sale entry panel's customer list, emptied when a customer name matched no earlier
    // sale; closed until the panel first needs it.
    store::Query& salesQuery() noexcept { return ADOQuery2; }
    // The staging table 表5 of the goods export, opened on "select * from 表5" when asked for.
    store::Query& goodsExportQuery();

    grid::TDataGrid& goodsList() const;
    QWidget& saleEntryPanel() const;
    QWidget& queryPanel() const;
    QDateEdit& saleDateEdit() const;
    // The goods fields of the sale entry panel, filled from the chosen goods row.
    QLineEdit& goodsCodeEdit() const;
    QLineEdit& goodsNameEdit() const;
    QLineEdit& unitEdit() const;
    QLineEdit& purchasePriceEdit() const;
    QLineEdit& stockEdit() const;
    QLineEdit& priceEdit() const;
    QLineEdit& quantityEdit() const;
    QLineEdit& amountEdit() const;
    QComboBox& customerBox() const;
    QLineEdit& phoneEdit() const;
    QLineEdit& addressEdit() const;
    QLineEdit& remarkEdit() const;
    // The query panel's fields: goods code and goods name.
    QLineEdit& searchCodeEdit() const;
    QLineEdit& searchNameEdit() const;
    QMenu* popupMenu() const { return PopupMenu1; }
    // The line below the list that tells what a scan found when no panel does.
    QLabel& scanStatusLabel() const;
    // The sale panel's note of the supplier whose goods row a scan chose among several.
    QLabel& scanBatchLabel() const;
    // The levels the list's marks of low goods are drawn from.
    const stock::LowStockMarks& lowStockMarks() const { return lowStockMarks_; }

    // What coming back to this window from another of the program's windows does.
    void activateFromAnotherWindow() { FormActivate(); }

  private slots:
    // Commands; each runs through the command edge from its control.
    void FormActivate();
    void SpeedButton1Click();
    void N1Click();
    void DataGrid1DblClick();
    void SpeedButton2Click();
    void N2Click();
    void N11Click();
    void SpeedButton3Click();
    void N4Click();
    void Button2Click();
    void SpeedButton4Click();
    void N5Click();
    void SpeedButton5Click();
    void N7Click();
    void SpeedButton6Click();
    void N8Click();
    void SpeedButton7Click();
    void N10Click();
    void Label1Click();
    void Image2Click();
    void Image3Click();
    // The lowest stock of goods (XsxxFormStock.cpp): the level of the current row's code, and the
    // list of the low codes.
    void N12Click();
    void N13Click();

    // The sale entry panel (XsxxFormSale.cpp).
    void ComboBox1Change();
    void Edit8KeyUp();
    void Edit9KeyUp();
    void Button1Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormClose();
    void setUpWindow();
    void setUpLook();
    void setUpMenu();
    void setUpSalePanel();  // XsxxFormSale.cpp
    void openSalePanel();
    sales::SaleRecords records();
    // The barcode scanner (XsxxFormScan.cpp).
    void setUpScanning();
    void goodsScanned(const QString& code);
    void openSaleForScan(const sales::ScanMatch& match);
    void sellOneMore();
    void showScanStatus(const QString& text);
    // Low stock (XsxxFormStock.cpp): the marks in the list, and the notices of the codes a
    // change of 表1 touched, told on the status line below the list.
    void setUpLowStock();
    void tellLowStock(const std::vector<std::string>& codes);

    frame::ListWindowFrame frame_{
        *this, {store::schema::kGoods, store::schema::kSales, store::schema::kGoodsExport}};
    store::Connection& ADOConnection1 = frame_.connection();
    store::Query& ADOQuery1 = frame_.query(0);  // select * from 表1
    store::Query& ADOQuery2 = frame_.query(1);  // 表3
    store::Query& ADOQuery3 = frame_.query(2);  // select * from 表5
    stock::LowStockMarks lowStockMarks_;
    std::unique_ptr<Ui::TXsxxForm> ui;
    QMenu* PopupMenu1 = nullptr;
    QWidget* mainWindow_ = nullptr;
    QWidget* detailWindow_ = nullptr;
    TThmxForm* returnsWindow_ = nullptr;
    reports::ReportWindow* goodsReport_ = nullptr;
    reports::ReportWindow* lowStockReport_ = nullptr;
    stock::TLowStockListDialog* lowStockList_ = nullptr;  // made at its first use
    std::int64_t saleGoodsId_ = 0;  // the goods row the sale entry panel was filled from
    SharedSaveName saveName_;       // the export's save dialog
    QTimer* scanStatusTimer_ = nullptr;
};
