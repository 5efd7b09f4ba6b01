#pragma once

#include "reports/layouts/ReportLayout.h"

namespace reports {
class DataCursor;
class QueryCursor;
class TReport;
}  // namespace reports

namespace reports::layouts {

// Turns a report's description into its title, detail and summary bands on report, whose rows
// come from rows; the heading reads the company's current row from company (either may be null:
// its texts print empty).
void buildReport(TReport& report, const ReportLayout& layout, DataCursor* rows,
                 DataCursor* company);

// Gives the number columns of the layout's table their display format, where the layout asks.
void applyDisplayFormats(QueryCursor& rows, const ReportLayout& layout);

}  // namespace reports::layouts
