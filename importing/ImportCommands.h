#pragma once

#include <QString>
#include <vector>

#include "importing/records/ColumnMapping.h"

class QWidget;

namespace store {
class Connection;
}

// "数据导入" and "撤销导入" of the main window. Each runs its whole command and throws its errors
// (the caller runs it inside platform::runCommand); true when 表1 changed, so that the window
// re-reads its list.
namespace importing {

// The headers a file's columns are known by: 表1's column names (our purchase export's headers),
// then the purchase list's captions (both levels, and the lower one alone where it names one
// column only).
std::vector<HeaderAlias> purchaseHeaderAliases();

// Asks for a .xls, .xlsx or .csv file; tells when the same bytes were imported before; reads it
// through the dry run (progress with 取消 for a large file) into the preview, where the user
// checks and changes the mapping; on "导入" remembers the mapping for the file's headers in
// settingsFile and imports the rows, or none.
bool importPurchases(QWidget* owner, store::Connection& connection, const QString& settingsFile);

// Lists the imports; each can be undone whole.
bool undoImports(QWidget* owner, store::Connection& connection);

}  // namespace importing
