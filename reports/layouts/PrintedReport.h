#pragma once

#include <QDate>

#include "reports/engine/QueryCursor.h"
#include "reports/engine/Report.h"
#include "reports/layouts/CompanyRow.h"
#include "reports/layouts/ReportLayout.h"
#include "reports/layouts/SumList.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/WindowTables.h"

namespace reports::layouts {

// What a report window holds, without the window: a connection of its own, the data set over
// every row of the layout's table, the sum list over that data set and the report built from
// the layout, whose heading reads the company query's current row.
class PrintedReport {
  public:
    explicit PrintedReport(const ReportLayout& layout);
    PrintedReport(const PrintedReport&) = delete;
    PrintedReport& operator=(const PrintedReport&) = delete;

    // The first connection, at the window's creation: the data set opens, the sums follow.
    void open();
    // A print command's re-read: close the connection and the data set, rebuild the connection
    // string from the current directory, open the data set again (every row; the sums are
    // computed afresh) and the connection.
    void reread();
    // The print date and every total into the summary band.
    void refreshHeader(const QDate& today);

    // The company query must outlive the printing; null prints an empty heading.
    void setCompanyQuery(const store::Query* companyQuery) { company_.setQuery(companyQuery); }

    const ReportLayout& layout() const { return layout_; }
    TReport& report() { return report_; }
    store::Connection& connection() { return tables_.connection(); }
    const store::Query& rows() const { return rows_; }
    const SumList& totals() const { return totals_; }

  private:
    const ReportLayout& layout_;
    store::WindowTables tables_;
    store::Query& rows_ = tables_.query(0);  // every row of the layout's table
    SumList totals_;
    QueryCursor cursor_;  // the report's walk over rows_
    CompanyRow company_;
    TReport report_;
};

}  // namespace reports::layouts
