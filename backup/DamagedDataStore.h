#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// A damaged data.mdb and its repair from the newest automatic copy that passes its check. The
// damaged file is never deleted: it is kept beside as "data.mdb.damaged-YYYYMMDD-HHMMSS".
namespace backup {

// Whether the engine's own check of file ran and found it damaged. A file that cannot be checked
// at all (missing, held by another program) is not called damaged.
bool isDamagedDataStore(const QString& file);

struct GoodCopy {
    QString file;
    QDateTime taken;
};

// The newest automatic copy of the data store in dataFolder, in the copies' folders the settings
// of settingsFile name, that passes its check; none when there is no such copy.
std::optional<GoodCopy> newestGoodCopy(const QString& dataFolder, const QString& settingsFile);

// The name the damaged data store is kept under, free in dataFolder:
// "data.mdb.damaged-YYYYMMDD-HHMMSS", or with "-2", "-3", ... after it.
QString damagedFileName(const QString& dataFolder, const QDateTime& moment);

// Copies the data store in dataFolder, byte for byte and with its permissions, to its damaged
// name; that name, or empty when the copy could not be made (then nothing may replace it).
QString keepDamagedDataStore(const QString& dataFolder, const QDateTime& moment);

}  // namespace backup
