#include "backup/DamagedDataStore.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "backup/AutoBackup.h"
#include "backup/AutoBackupFiles.h"
#include "backup/DataStoreCopy.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/ErrorMessages.h"

namespace backup {

bool isDamagedDataStore(const QString& file) {
    try {
        const store::Database db(file.toStdString(), store::kDatabasePassword,
                                 store::Database::Mode::ReadOnly);
        store::Statement check(db, "pragma integrity_check");
        return !check.step() || check.text(0) != "ok";
    } catch (const store::StoreError& error) {
        return store::isDamageCode(error.code());
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<GoodCopy> newestGoodCopy(const QString& dataFolder, const QString& settingsFile) {
    const autobackup::AutoBackup rules(dataFolder, settingsFile,
                                       [] { return QDateTime::currentDateTime(); });
    struct Found {
        autobackup::CopyName name;
        QString file;
    };
    std::vector<Found> copies;
    for (const QString& folder : rules.folders())
        for (const autobackup::CopyName& name : autobackup::copiesIn(folder))
            copies.push_back({name, QDir(folder).filePath(autobackup::copyFileName(name))});
    std::stable_sort(copies.begin(), copies.end(),
                     [](const Found& a, const Found& b) { return b.name < a.name; });
    for (const Found& copy : copies)
        if (autobackup::verifyCopy(copy.file).isEmpty())
            return GoodCopy{copy.file, copy.name.taken};
    return std::nullopt;
}

QString damagedFileName(const QString& dataFolder, const QDateTime& moment) {
    const QString first = QString::fromUtf8(store::kDatabaseFileName) +
                          QStringLiteral(".damaged-") +
                          moment.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = first;
    for (int n = 2; QFileInfo::exists(QDir(dataFolder).filePath(name)); ++n)
        name = first + QLatin1Char('-') + QString::number(n);
    return name;
}

QString keepDamagedDataStore(const QString& dataFolder, const QDateTime& moment) {
    const QString name = damagedFileName(dataFolder, moment);
    std::error_code ec;
    // copy_file gives the new file the permissions of the damaged one.
    std::filesystem::copy_file(dataStoreFile(dataFolder).toStdU16String(),
                               QDir(dataFolder).filePath(name).toStdU16String(), ec);
    return ec ? QString() : name;
}

}  // namespace backup
