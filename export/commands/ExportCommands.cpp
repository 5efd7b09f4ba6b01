#include "export/commands/ExportCommands.h"

#include <QString>

#include "export/QueryTable.h"
#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "export/commands/ExportProgress.h"
#include "platform/FileFilters.h"
#include "platform/Platform.h"
#include "platform/SharedSaveName.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "store/Schema.h"

namespace exporting {

namespace {

// Writes table under the chosen name + ".xls"; false when cancelled.
bool writeTable(QWidget* owner, const workbook::TableSource& table, const QString& chosenName) {
    const std::string file = workbookFileName(chosenName.toStdString());
    ExportProgress progress(owner);
    // The workbook holds the data of the windows' data.mdb: it is never more open than that.
    const std::string dataStore =
        store::connectionTarget(store::buildConnectionStringForCurrentDirectory()).file;
    const workbook::Outcome outcome = workbook::writeWorkbook(
        file, table,
        [&progress](std::int64_t done, std::int64_t total) { return progress(done, total); },
        dataStore);
    return outcome == workbook::Outcome::Written;
}

void reportSuccess(QWidget* owner) {
    platform::current().message(owner, QStringLiteral("成功导出全部数据!"),
                                platform::MessageKind::Plain);
}

void exportThroughStaging(QWidget* owner, store::Connection& connection, store::Query& list,
                          store::Query& staging, const char* stagingTable, store::Query* sales,
                          SharedSaveName& saveName) {
    refreshForExport(connection, list, staging, stagingTable, sales);
    const StagedRows staged = fillStaging(connection, list, staging);
    const QString chosen = saveName.ask(owner, platform::excelFilter());
    if (chosen.isEmpty()) return;
    if (writeTable(owner, staged, chosen)) reportSuccess(owner);
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
    const QString chosen = saveName.ask(owner, platform::excelFilter());
    if (chosen.isEmpty()) return;
    if (list.isOpen() && !list.isEmpty()) list.first();
    const bool written = writeTable(owner, workbook::QueryTable(list), chosen);
    if (list.isOpen() && !list.isEmpty()) list.last();
    if (written) reportSuccess(owner);
}

}  // namespace exporting
