#include "export/WorkbookFormat.h"

#include <algorithm>
#include <cctype>

#include "export/StagingCopy.h"
#include "export/XlsxWorkbook.h"

namespace exporting {

namespace {

bool endsWithIgnoringCase(const std::string& text, std::string_view end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

std::string workbookFileName(const std::string& chosenName, WorkbookFormat format) {
    if (format == WorkbookFormat::Xls) return workbookFileName(chosenName);
    return endsWithIgnoringCase(chosenName, ".xlsx") ? chosenName : chosenName + ".xlsx";
}

workbook::WriteResult writeWorkbookAs(WorkbookFormat format, const std::string& file,
                                      const workbook::TableSource& table,
                                      const workbook::Progress& progress,
                                      const std::string& permissionsLimit) {
    if (format == WorkbookFormat::Xlsx)
        return workbook::writeXlsxWorkbook(file, table, progress, permissionsLimit);
    return workbook::writeWorkbook(file, table, progress, permissionsLimit);
}

}  // namespace exporting
