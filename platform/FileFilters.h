#pragma once

#include <QString>

namespace platform {

// The filters of the program's file dialogs, in the dialogs' own language.
// The exports' dialog offers both workbook formats, the .xls first: it is the default.
inline QString xlsFilter() { return QStringLiteral("Excel 97-2003 工作簿 (*.xls)"); }
inline QString xlsxFilter() { return QStringLiteral("Excel 工作簿 (*.xlsx)"); }
inline QString excelFilter() {
    return xlsFilter() + QStringLiteral(";;") + xlsxFilter() + QStringLiteral(";;所有文件 (*)");
}
inline QString importFilter() {
    return QStringLiteral(
        "表格文件 (*.xls *.xlsx *.csv);;Excel 工作簿 (*.xls *.xlsx);;"
        "CSV 文件 (*.csv);;所有文件 (*)");
}
inline QString pdfFilter() { return QStringLiteral("PDF 文件 (*.pdf);;所有文件 (*)"); }
inline QString backupFilter() { return QStringLiteral("备份文件 (*.bak);;所有文件 (*)"); }
inline QString allFilesFilter() { return QStringLiteral("所有文件 (*)"); }

}  // namespace platform
