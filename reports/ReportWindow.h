#pragma once

#include <QWidget>
#include <memory>

#include "reports/layouts/PrintedReport.h"

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
    // store are thrown before the preview opens. Ignored while this report is being produced.
    // The preview belongs to owner, the window whose command prints.
    void printReport(QWidget* owner = nullptr);
    // Its first steps, without the preview: reconnect, re-read every row (the totals follow),
    // refresh the summary's date and totals.
    void prepareReport();

    store::Connection& connection() { return printed_.connection(); }  // released for a restore
    const store::Query& reportRows() const { return printed_.rows(); }
    const layouts::SumList& totals() const { return printed_.totals(); }
    TReport& report() { return printed_.report(); }

  protected:
    explicit ReportWindow(const layouts::ReportLayout& layout, QWidget* parent = nullptr);

  private slots:
    void Button1Click();  // 转换: the print date and the totals into the summary band

  private:
    void FormCreate();

    std::unique_ptr<Ui::ReportWindow> ui;
    layouts::PrintedReport printed_;
};

}  // namespace reports
