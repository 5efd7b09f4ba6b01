#include "export/commands/ExportCommands.h"

#include <QString>
#include <optional>

#include "export/CellLimits.h"
#include "export/QueryTable.h"
#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "export/WorkbookFormat.h"
#include "export/commands/ExportProgress.h"
#include "platform/FileFilters.h"
#include "platform/Platform.h"
#include "platform/SharedSaveName.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/ServerSettings.h"

namespace exporting {

namespace {

// Where and how the user chose to write the workbook.
struct ChosenWorkbook {
    std::string file;
    WorkbookFormat format = WorkbookFormat::Xls;
};

// The save dialog, starting on the .xls; nothing when cancelled.
std::optional<ChosenWorkbook> askForWorkbook(QWidget* owner, SharedSaveName& saveName) {
    QString filter;
    const QString chosen = saveName.ask(owner, platform::excelFilter(), &filter);
    if (chosen.isEmpty()) return std::nullopt;
    const WorkbookFormat format =
        filter == platform::xlsxFilter() ? WorkbookFormat::Xlsx : WorkbookFormat::Xls;
    return ChosenWorkbook{workbookFileName(chosen.toStdString(), format), format};
}

workbook::WriteResult writeTable(QWidget* owner, const workbook::TableSource& table,
                                 const ChosenWorkbook& chosen) {
    ExportProgress progress(owner);
    // The workbook holds the data of the windows' data.mdb: it is never more open than that. Data
    // on a server has no file to follow: the user's umask alone.
    const std::string dataStore =
        store::currentServer() != nullptr
            ? std::string()
            : store::connectionTarget(store::buildConnectionStringForCurrentDirectory()).file;
    return writeWorkbookAs(
        chosen.format, chosen.file, table,
        [&progress](std::int64_t done, std::int64_t total) { return progress(done, total); },
        dataStore);
}

void reportSuccess(QWidget* owner, const workbook::WriteResult& result) {
    if (result.outcome != workbook::Outcome::Written) return;
    platform::current().message(owner, successText(result.adjusted), platform::MessageKind::Plain);
}

void exportThroughStaging(QWidget* owner, store::Connection& connection, store::Query& list,
                          store::Query& staging, const char* stagingTable, store::Query* sales,
                          SharedSaveName& saveName) {
    refreshForExport(connection, list, staging, stagingTable, sales);
    const StagedRows staged = fillStaging(connection, list, staging);
    const auto chosen = askForWorkbook(owner, saveName);
    if (!chosen) return;
    reportSuccess(owner, writeTable(owner, staged, *chosen));
}

}  // namespace

void exportPurchases(QWidget* owner, store::Connection& connection, store::Query& list,
                     store::Query& staging, SharedSaveName& saveName) {
    exportThroughStaging(owner, connection, list, staging, store::schema::kPurchaseExport, nullptr,
                         saveName);
}

void exportGoods(QWidget* owner, store::Connection& connection, store::Query& list,
                 store::Query& staging, store::Query* sales, SharedSaveName& saveName) {
    exportThroughStaging(owner, connection, list, staging, store::schema::kGoodsExport, sales,
                         saveName);
}

void exportList(QWidget* owner, store::Query& list, SharedSaveName& saveName) {
    const auto chosen = askForWorkbook(owner, saveName);
    if (!chosen) return;
    if (list.isOpen() && !list.isEmpty()) list.first();
    const workbook::WriteResult result = writeTable(owner, workbook::QueryTable(list), *chosen);
    if (list.isOpen() && !list.isEmpty()) list.last();
    reportSuccess(owner, result);
}

QString successText(const workbook::CellAdjustments& adjusted) {
    QString text = QStringLiteral("成功导出全部数据!");
    if (adjusted.numbersLeftEmpty != 0)
        text += QStringLiteral("\n%1 个数值超出 Excel 范围，已留空").arg(adjusted.numbersLeftEmpty);
    if (adjusted.textsCut != 0)
        text += QStringLiteral("\n%1 个文本超过单元格可容纳的 %2 个字符，已截断")
                    .arg(adjusted.textsCut)
                    .arg(workbook::kLongestCellText);
    return text;
}

}  // namespace exporting
