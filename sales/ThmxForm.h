#pragma once

#include <QWidget>
#include <memory>
#include <string_view>

#include "frame/ListWindowFrame.h"
#include "platform/SharedSaveName.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"

class QLineEdit;
class QMenu;
namespace grid {
class TDataGrid;
}
namespace reports {
class ReportWindow;
}
namespace Ui {
class TThmxForm;
}

// The returns list window "退货明细": every return of 退货 with the footer sums of the quantities
// and the refunds, the search by goods code, goods name, customer, return date or sale date, the
// returns report, the export, and the deletion of returns, which takes their goods back out of
// stock. The sales window and the sales detail window's return panel open it in their place.
class TThmxForm : public QWidget {
    Q_OBJECT
  public:
    explicit TThmxForm(QWidget* parent = nullptr);
    ~TThmxForm() override;

    // What other windows and tests reach.
    store::Connection& connection() noexcept { return ADOConnection1; }
    store::Query& returnsQuery() noexcept { return ADOQuery1; }
    grid::TDataGrid& returnsList() const;
    // The query panel's field for a searched column (退货 or 表3's 销售日期).
    QLineEdit& searchEdit(std::string_view column) const;
    QWidget& queryPanel() const;
    QMenu* popupMenu() const { return PopupMenu1; }
    // The program's main window, closed by "【退出软件】" to end the program.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // The returns report that "退货打印" prints.
    void setReturnsReport(reports::ReportWindow& report) { returnsReport_ = &report; }

    // Shows the window modally in place of opener, which comes back when this one closes.
    void openFrom(QWidget& opener);
    // What coming back to this window from another of the program's windows does.
    void activateFromAnotherWindow() { FormActivate(); }

  private slots:
    // The window's commands, named after their controls.
    void FormActivate();
    void FormClose();
    void SpeedButton1Click();
    void N1Click();
    void SpeedButton2Click();
    void N3Click();
    void Button1Click();
    void Image2Click();
    void SpeedButton3Click();
    void N4Click();
    void SpeedButton4Click();
    void N6Click();
    void SpeedButton5Click();
    void N7Click();
    void SpeedButton6Click();
    void N9Click();
    void Label1Click();

  private:
    void setUpLook();
    void rereadList();
    void deleteRows(const std::vector<int>& rows);

    frame::ListWindowFrame frame_{*this, {store::schema::kReturns}};
    std::unique_ptr<Ui::TThmxForm> ui;
    store::Connection& ADOConnection1 = frame_.connection();
    store::Query& ADOQuery1 = frame_.query(0);  // select * from 退货
    QMenu* PopupMenu1 = nullptr;
    QWidget* mainWindow_ = nullptr;
    QWidget* opener_ = nullptr;
    reports::ReportWindow* returnsReport_ = nullptr;
    SharedSaveName saveName_;  // the export's save dialog
};
