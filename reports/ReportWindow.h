#pragma once

#include <QWidget>
#include <memory>

#include "reports/engine/QueryCursor.h"
#include "reports/engine/Report.h"
#include "reports/layouts/CompanyRow.h"
#include "reports/layouts/ReportLayout.h"
#include "reports/layouts/SumList.h"
#include "store/Connection.h"
#include "store/Query.h"

namespace Ui {
class ReportWindow;
}

namespace reports {

// A report window: never shown, it holds a connection of its own, the report's data set over
// every row of its table, the totals of that data set and the report built from its layout.
class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    ~ReportWindow() override;

    // The company query whose current row heads every report; it must outlive the printing.
    void setCompanyQuery(const store::Query& companyQuery);

    // The print command: re-reads the whole table, fills in the print date and the totals and
    // shows the preview; returns when the preview window has been closed. Errors of the data
    // store are thrown before the preview opens.
    void printReport();
    // Its first steps, without the preview: reconnect, re-read every row (the totals follow),
    // refresh the summary's date and totals.
    void prepareReport();

    void Button1Click();  // 转换: the print date and the totals into the summary band

    store::Connection& connection() { return ADOConnection1; }  // released before a restore
    const store::Query& reportRows() const { return ADODataSet1; }
    const layouts::SumList& totals() const { return SumList1; }
    TReport& report() { return report_; }
    const layouts::ReportLayout& layout() const { return layout_; }

  protected:
    explicit ReportWindow(const layouts::ReportLayout& layout, QWidget* parent = nullptr);

  private:
    void FormCreate();

    const layouts::ReportLayout& layout_;
    std::unique_ptr<Ui::ReportWindow> ui;
    store::Connection ADOConnection1;
    store::Query ADODataSet1;
    layouts::SumList SumList1;
    QueryCursor rows_;
    layouts::CompanyRow company_;
    TReport report_;
};

}  // namespace reports
