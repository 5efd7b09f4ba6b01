#pragma once

#include <string>

namespace store {
class Connection;
class Query;
}  // namespace store

// The steps of the purchase and goods exports before the save dialog, and the workbook name.
namespace exporting {

// Reconnects and re-reads the window's lists for an export: list on "select * from 表1",
// staging on its staging table (表4 or 表5), and, where given, sales on "select * from 表3".
void refreshForExport(store::Connection& connection, store::Query& list, store::Query& staging,
                      const std::string& stagingTable, store::Query* sales = nullptr);

// Empties the staging table of the open query staging and copies into it, for every row of list
// in its order, the staging table's listed columns (store::schema) as text from the same-named
// columns of list. One transaction: on an error the staging table stays as it was. Afterwards
// staging shows the new rows from its first row and list stands on its last row.
void fillStaging(store::Connection& connection, store::Query& list, store::Query& staging);

// The name chosen in the save dialog with ".xls" appended, whatever it already ends with.
std::string workbookFileName(const std::string& chosenName);

}  // namespace exporting
