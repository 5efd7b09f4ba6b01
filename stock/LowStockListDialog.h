#pragma once

#include <QDialog>
#include <memory>

#include "platform/SharedSaveName.h"
#include "store/Query.h"

namespace grid {
class TDataGrid;
}
namespace reports {
class ReportWindow;
}
namespace store {
class Connection;
}
namespace Ui {
class TLowStockListDialog;
}

namespace stock {

// "库存预警": the goods codes at or below their lowest stock, the largest shortfall first, with
// their print (a report in the style of the others) and their export to a workbook.
class TLowStockListDialog : public QDialog {
    Q_OBJECT
  public:
    // goods is the window's query on 表1 the stock is summed over; report prints the list.
    TLowStockListDialog(QWidget* parent, store::Connection& connection, const store::Query& goods,
                        reports::ReportWindow* report);
    ~TLowStockListDialog() override;

    // Works the list out again from goods and the levels, and shows it.
    void refresh();

    store::Query& lowStockQuery() noexcept { return ADOQuery1; }
    grid::TDataGrid& lowStockList() const;

  private slots:
    void Button1Click();  // 打印报表
    void Button2Click();  // 数据导出

  private:
    store::Connection& connection_;
    const store::Query& goods_;
    reports::ReportWindow* report_;
    store::Query ADOQuery1;  // select * from 库存预警
    std::unique_ptr<Ui::TLowStockListDialog> ui;
    SharedSaveName saveName_;
};

}  // namespace stock
