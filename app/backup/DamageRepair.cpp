#include "app/backup/DamageRepair.h"

#include <QCoreApplication>
#include <QDir>

#include "app/backup/BackupCommands.h"
#include "backup/AutoBackupSession.h"
#include "backup/DamagedDataStore.h"
#include "platform/Platform.h"

namespace backup {

RepairOutcome offerRepair(QWidget* owner, const QString& dataFolder, const QString& headline,
                          const std::function<void()>& closeConnections, const QDateTime& now) {
    const auto copy = newestGoodCopy(dataFolder, autobackup::session().settingsFile());
    if (!copy) return RepairOutcome::NoGoodCopy;
    const QString question =
        QStringLiteral(
            "%1\n\n可以用最新一份通过检查的自动备份恢复数据：“%2”，备份于 %3。\n"
            "现在的数据文件会保留为“%4”，不会删除。\n\n现在恢复吗？")
            .arg(headline, QDir::toNativeSeparators(copy->file),
                 copy->taken.toString(QStringLiteral("yyyy年M月d日 HH:mm:ss")),
                 damagedFileName(dataFolder, now));
    platform::Platform& desktop = platform::current();
    if (desktop.message(owner, question, platform::MessageKind::Confirm) != platform::Answer::Ok)
        return RepairOutcome::Declined;
    if (keepDamagedDataStore(dataFolder, now).isEmpty()) {
        desktop.message(owner,
                        QStringLiteral("无法在文件夹“%1”中保留损坏的数据文件，所以没有恢复。"
                                       "请腾出磁盘空间或检查该文件夹的权限，然后重试。")
                            .arg(QDir::toNativeSeparators(dataFolder)),
                        platform::MessageKind::Plain);
        return RepairOutcome::Failed;
    }
    return restoreFile(owner, dataFolder, copy->file, closeConnections) == RestoreResult::Restored
               ? RepairOutcome::Restored
               : RepairOutcome::Failed;
}

void repairWhileRunning(QWidget* owner, const QString& dataFolder, const QString& headline,
                        const std::function<void()>& closeConnections) {
    switch (offerRepair(owner, dataFolder, headline, closeConnections)) {
        case RepairOutcome::NoGoodCopy:
            platform::current().message(
                owner,
                QStringLiteral("%1\n\n没有找到通过检查的自动备份。请用菜单“【数据恢复】”从您自己的"
                               "备份恢复数据。")
                    .arg(headline),
                platform::MessageKind::Plain);
            break;
        case RepairOutcome::Restored:
            QCoreApplication::quit();
            break;
        case RepairOutcome::Declined:
        case RepairOutcome::Failed:
            break;
    }
}

}  // namespace backup
