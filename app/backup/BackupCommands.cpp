#include "app/backup/BackupCommands.h"

#include <QCoreApplication>

#include "app/backup/AutomaticBackupHooks.h"
#include "backup/DataStoreCopy.h"
#include "platform/FileFilters.h"
#include "platform/Platform.h"
#include "platform/SharedSaveName.h"

namespace backup {

namespace {

void tell(QWidget* owner, const QString& text) {
    platform::current().message(owner, text, platform::MessageKind::Plain);
}

}  // namespace

QString programFolder() { return QCoreApplication::applicationDirPath(); }

void runBackup(QWidget* owner, SharedSaveName& saveName, const QString& programFolder) {
    const QString chosen = saveName.ask(owner, platform::backupFilter());
    if (chosen.isEmpty()) return;
    if (backupDataStore(programFolder, backupFileName(chosen)))
        tell(owner, QStringLiteral("数据备份成功！"));
    else
        tell(owner, QStringLiteral("数据备份失败，请重试！"));
}

RestoreResult runRestore(QWidget* owner, const QString& programFolder,
                         const std::function<void()>& closeConnections) {
    const QString chosen = platform::current().openFileName(owner, platform::backupFilter());
    if (chosen.isEmpty()) return RestoreResult::Cancelled;
    // A file that is not our database is refused before anything is closed or replaced.
    if (!isRestorableFile(chosen)) {
        tell(owner, QStringLiteral("数据恢复失败，请重试！"));
        return RestoreResult::Failed;
    }
    // A copy of the data about to be replaced, so that a wrong restore can be undone.
    if (!copyBeforeRestore(owner, programFolder)) return RestoreResult::Cancelled;
    return restoreFile(owner, programFolder, chosen, closeConnections);
}

RestoreResult restoreFile(QWidget* owner, const QString& dataFolder, const QString& file,
                          const std::function<void()>& closeConnections) {
    if (closeConnections) closeConnections();
    if (!restoreDataStore(dataFolder, file)) {
        tell(owner, QStringLiteral("数据恢复失败，请重试！"));
        return RestoreResult::Failed;
    }
    tell(owner, QStringLiteral("数据恢复成功！"));
    return RestoreResult::Restored;
}

}  // namespace backup
