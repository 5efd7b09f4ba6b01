#include "importing/ImportCommands.h"

#include <QDateTime>
#include <QFileInfo>

#include "grid/ListColumns.h"
#include "importing/ImportForm.h"
#include "importing/ImportListForm.h"
#include "importing/ImportProgress.h"
#include "importing/records/ImportHistory.h"
#include "importing/records/ImportMessages.h"
#include "importing/records/MappingMemory.h"
#include "importing/records/PurchaseImport.h"
#include "platform/FileFilters.h"
#include "platform/Platform.h"
#include "purchases/records/PurchaseFields.h"

namespace importing {

namespace {

QString message(const char* pattern) { return QString::fromUtf8(pattern); }

int fieldOfColumn(const QString& name) {
    for (int field = 0; field < purchases::kFieldCount; ++field)
        if (name.toStdString() == purchases::kFieldColumns[field]) return field;
    return kNotImported;
}

}  // namespace

std::vector<HeaderAlias> purchaseHeaderAliases() {
    std::vector<HeaderAlias> aliases = columnNameAliases();
    const auto columns = grid::purchaseListColumns();
    std::vector<HeaderAlias> lower;
    for (const auto& column : columns) {
        const int field = fieldOfColumn(column.field);
        if (field == kNotImported || column.caption.isEmpty()) continue;
        const QStringList levels = column.caption.split(QLatin1Char('|'));
        aliases.push_back({field, levels.join(QString()).toStdString()});
        aliases.push_back({field, column.caption.toStdString()});
        lower.push_back({field, levels.back().toStdString()});
    }
    // A lower caption alone ("单价") only where no other column shares it.
    for (const auto& alias : lower) {
        const auto shared =
            std::count_if(lower.begin(), lower.end(),
                          [&](const HeaderAlias& other) { return other.header == alias.header; });
        if (shared == 1) aliases.push_back(alias);
    }
    return aliases;
}

bool importPurchases(QWidget* owner, store::Connection& connection, const QString& settingsFile) {
    const QString path = platform::current().openFileName(owner, platform::importFilter());
    if (path.isEmpty()) return false;
    const std::string file = path.toStdString();
    const std::string hash = contentHash(file);
    if (const auto when = importedBefore(connection, hash))
        if (platform::current().message(owner,
                                        message(kImportedBefore).arg(QString::fromStdString(*when)),
                                        platform::MessageKind::Confirm) != platform::Answer::Ok)
            return false;

    ImportSettings settings;
    settings.aliases = purchaseHeaderAliases();
    settings.remembered = [&](const std::vector<std::string>& headers) {
        return rememberedMapping(settingsFile, headers);
    };
    const auto check = [&](ImportSettings checked, int sheet) {
        ImportProgress progress(owner, QStringLiteral("正在读取文件..."));
        checked.progress = std::ref(progress);
        return dryRun(fileSource(file, {sheet}), checked);
    };
    ImportSummary summary = check(settings, 0);
    if (summary.cancelled) return false;
    if (summary.headers.empty()) {
        platform::say(owner, kNoHeader);
        return false;
    }
    TImportForm preview(owner, QFileInfo(path).fileName(), std::move(summary),
                        [&](const std::optional<ColumnMapping>& mapping, int sheet) {
                            ImportSettings changed = settings;
                            changed.mapping = mapping;
                            return check(changed, sheet);
                        });
    if (preview.exec() != QDialog::Accepted) return false;

    const ImportSummary& checked = preview.summary();
    rememberMapping(settingsFile, checked.headers, checked.mapping);
    settings.mapping = checked.mapping;
    settings.skipFaultyRows = preview.skipFaultyRows();
    ImportProgress progress(owner, QStringLiteral("正在导入数据..."),
                            checked.storableRows + checked.faultyRows + checked.blankRows);
    settings.progress = std::ref(progress);
    const ImportSummary imported =
        importRows(connection, fileSource(file, {preview.sheet()}), settings,
                   {QFileInfo(path).fileName().toStdString(), hash,
                    QDateTime::currentDateTime()
                        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                        .toStdString()});
    if (imported.cancelled) return false;
    if (imported.importId == 0) {
        // The file changed after the preview, and now has problems: nothing was written.
        platform::say(owner, kNothingToImport);
        return false;
    }
    platform::current().message(
        owner,
        imported.faultyRows == 0
            ? message(kImported).arg(imported.importedRows)
            : message(kImportedSkipping).arg(imported.importedRows).arg(imported.faultyRows),
        platform::MessageKind::Plain);
    return true;
}

bool undoImports(QWidget* owner, store::Connection& connection) {
    if (listImports(connection).empty()) {
        platform::say(owner, kNoImports);
        return false;
    }
    TImportListForm list(owner, connection);
    list.exec();
    return list.undoneAny();
}

}  // namespace importing
