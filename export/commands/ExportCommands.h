#pragma once

#include <QString>

class QWidget;
class SharedSaveName;

namespace workbook {
struct CellAdjustments;
}

namespace store {
class Connection;
class Query;
}  // namespace store

// "数据导出" of the list windows. The save dialog offers an Excel 97-2003 workbook, the
// default, written to the chosen name + ".xls", and an Excel workbook (.xlsx), written to the
// chosen name with ".xlsx" appended unless it ends with it. Each runs its whole command: errors are
// thrown (the caller runs it inside platform::runCommand); a cancelled dialog or progress window
// ends it without a message; on success successText() is shown over owner.
namespace exporting {

// The main window: re-reads 表1 (list), copies its purchase columns into 表4 (the table of
// staging), asks for a name in the shared save dialog and writes the copied rows, with the
// columns of 表4, to the workbook named there.
void exportPurchases(QWidget* owner, store::Connection& connection, store::Query& list,
                     store::Query& staging, SharedSaveName& saveName);

// The sales window: the same with 表5 and the goods columns. sales, when given (the menu
// command), is re-read on "select * from 表3" as well.
void exportGoods(QWidget* owner, store::Connection& connection, store::Query& list,
                 store::Query& staging, store::Query* sales, SharedSaveName& saveName);

// The sales detail and returns windows: asks for a name, then writes the rows of list as it
// stands (after a search only the rows found), every column of its table, from its first row,
// and leaves list on its last row.
void exportList(QWidget* owner, store::Query& list, SharedSaveName& saveName);

// "成功导出全部数据!", followed by a line for each kind of value the workbook could not hold as
// it was: nothing a sheet leaves out or cuts goes unsaid.
QString successText(const workbook::CellAdjustments& adjusted);

}  // namespace exporting
