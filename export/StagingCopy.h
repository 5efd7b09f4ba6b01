#pragma once

#include <string>
#include <vector>

#include "export/Workbook.h"
#include "store/Query.h"

namespace store {
class Connection;
}  // namespace store

// The steps of the purchase and goods exports before the save dialog, and the workbook name.
namespace exporting {

// Reconnects and re-reads the window's lists for an export: list on "select * from 表1" and,
// where given, sales on "select * from 表3". staging gets "select * from " + stagingTable but is
// not read: the copy empties that table at once.
void refreshForExport(store::Connection& connection, store::Query& list, store::Query& staging,
                      const std::string& stagingTable, store::Query* sales = nullptr);

// The rows just copied into a staging table as the workbook shows them: the staging table's
// columns in its order, and for every list row the texts that were copied. Reads the list, which
// must stay open and unchanged while this is used.
class StagedRows : public workbook::TableSource {
  public:
    struct Column {
        std::string name;
        store::FieldType type;
        int size;  // characters of a text column
        int from;  // column of the list
    };
    StagedRows(const store::Query& list, std::vector<Column> columns)
        : list_(list), columns_(std::move(columns)) {}

    int columnCount() const override { return static_cast<int>(columns_.size()); }
    std::string_view columnName(int column) const override;
    int rowCount() const override { return list_.recordCount(); }
    workbook::Cell cell(int row, int column) const override;

  private:
    const store::Query& list_;
    std::vector<Column> columns_;
};

// Empties the staging table named by staging's statement and copies into it, for every row of
// list in its order, the staging table's columns as text from the same-named columns of list (a
// number as its text, an empty number as empty). One transaction: on an error the staging table
// stays as it was. list is left on its last row; staging stays closed.
StagedRows fillStaging(store::Connection& connection, store::Query& list,
                       const store::Query& staging);

// The name chosen in the save dialog with ".xls" appended, whatever it already ends with.
std::string workbookFileName(const std::string& chosenName);

}  // namespace exporting
