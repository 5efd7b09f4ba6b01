#include "backup/AutoBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

#include "backup/AutoBackupFiles.h"
#include "backup/DamagedDataStore.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/KeyCache.h"
#include "store/Schema.h"
#include "store/engine/Engine.h"

namespace autobackup {

namespace {

const QString kDefaultFolderName = QStringLiteral("自动备份");

QString withNativeSeparators(const QString& path) { return QDir::toNativeSeparators(path); }

Problem cannotWrite(const QString& folder, const QString& reason) {
    return {folder, QStringLiteral("自动备份失败：无法在文件夹“%1”中写入备份（%2）。")
                        .arg(withNativeSeparators(folder), reason)};
}

// The data store through the engine, so a copy taken while other connections write is still
// consistent; written as target.partial and renamed to target by the store. The source is opened
// with its derived key: the copy then gets the same salt and key, opens with the same password,
// and is made without deriving a new key from the password (tens of milliseconds a copy).
void snapshot(const QString& dataFile, const QString& target) {
    const std::string file = dataFile.toStdString();
    const auto rawKey = store::rawKeyFor(file, store::kDatabasePassword);
    const store::Database source(file, rawKey ? *rawKey : std::string(store::kDatabasePassword),
                                 store::Database::Mode::ReadOnly);
    source.backupTo(target.toStdString());
}

// The server's rows as of one moment, written into the same kind of file.
void snapshot(const store::ServerSettings& server, const QString& target) {
    store::Database::onServer(server).backupTo(target.toStdString());
}

// The server's data has no file whose size and time change with every write; its tables' change
// counters only ever grow, so their sum stands for the data's state, beside the server's name.
Fingerprint fingerprintOf(const store::ServerSettings& server) {
    Fingerprint fingerprint;
    const store::Database db = store::Database::onServer(server);
    fingerprint.file = QString::fromStdString(db.file());
    const std::unique_ptr<store::ChangeWatch> watch = db.engine().watchChanges();
    qint64 changes = 0;
    for (const store::schema::TableDef* table : store::schema::everyTable()) {
        const std::optional<std::int64_t> version = watch->version(table->name);
        if (!version) return fingerprint;  // not known: taken as changed
        changes += *version;
    }
    fingerprint.size = changes;
    return fingerprint;
}

// A byte copy of a checked copy, flushed to the device before it is renamed (a stick may be
// pulled right after).
void copyBytes(const QString& from, const QString& to) {
    std::error_code ec;
    const std::filesystem::path target(to.toStdU16String());
    std::filesystem::copy_file(std::filesystem::path(from.toStdU16String()), target,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) throw std::runtime_error(ec.message());
    QFile written(to);
    if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0)
        throw std::runtime_error(written.errorString().toStdString());
}

}  // namespace

AutoBackup::AutoBackup(QString programFolder, QString settingsFile, Clock clock)
    : programFolder_(std::move(programFolder)),
      settingsFile_(std::move(settingsFile)),
      clock_(std::move(clock)),
      settings_(readSettings(settingsFile_)),
      verifier_(verifyCopy) {
    if (const store::ServerSettings* server = store::currentServer()) server_ = *server;
}

QString AutoBackup::dataFile() const {
    return QDir(programFolder_).filePath(QString::fromUtf8(store::kDatabaseFileName));
}

QStringList AutoBackup::folders() const {
    const QDir program(programFolder_);
    QStringList list;
    list << (settings_.folder.isEmpty() ? program.filePath(kDefaultFolderName)
                                        : program.absoluteFilePath(settings_.folder));
    if (!settings_.secondFolder.isEmpty()) {
        const QString second = program.absoluteFilePath(settings_.secondFolder);
        // The same folder named twice receives one copy.
        if (QDir::cleanPath(second) != QDir::cleanPath(list.front())) list << second;
    }
    return list;
}

bool AutoBackup::isDue(Occasion occasion) const {
    // Without a data store there is nothing to keep.
    if (!server_ && !QFileInfo(dataFile()).isFile()) return false;
    switch (occasion) {
        case Occasion::BeforeRestore:
            return true;
        case Occasion::Start: {
            if (!settings_.enabled) return false;
            const QDate today = clock_().date();
            for (const QString& folder : folders())
                if (hasCopyOn(folder, today)) return false;
            return true;
        }
        case Occasion::End:
            return settings_.enabled && dataFingerprint() != readLastCopied(settingsFile_);
    }
    return false;
}

Result AutoBackup::run(Occasion occasion) {
    Result result;
    if (!isDue(occasion)) return result;
    result.wasDue = true;

    // Taken before the copy: a write during or after it changes the file's time or size, so the
    // end of the run copies again rather than missing it.
    const Fingerprint before = dataFingerprint();
    const QStringList targets = folders();
    const QString fileName = freeCopyFileName(targets, clock_());
    QString madeCopy;  // the first checked copy, which the other folder receives byte for byte
    for (int k = 0; k < targets.size(); ++k) {
        const QString& folder = targets[k];
        // Only the folder beside the data store is made; a configured folder that is missing may
        // be an unplugged stick or an unmounted share.
        if (k == 0 && settings_.folder.isEmpty()) QDir().mkpath(folder);
        if (!QFileInfo(folder).isDir()) {
            result.problems.append({folder, QStringLiteral("自动备份失败：找不到文件夹“%1”。")
                                                .arg(withNativeSeparators(folder))});
            continue;
        }
        if (copyInto(folder, fileName, madeCopy, result) && madeCopy.isEmpty())
            madeCopy = result.copies.back();
        else if (!result.problems.isEmpty() && result.problems.back().damagedSource)
            break;  // no folder can get a sound copy of a damaged file
    }
    if (!result.copies.isEmpty()) writeLastCopied(settingsFile_, before);
    return result;
}

// A copy from the data store failed: the folder is blamed only when the data store itself passes
// its check. A server checks its own data: only a file is found damaged here.
bool AutoBackup::damagedSource() const {
    return !server_ && backup::isDamagedDataStore(dataFile());
}

Fingerprint AutoBackup::dataFingerprint() const {
    return server_ ? fingerprintOf(*server_) : fingerprintOf(dataFile());
}

Problem AutoBackup::damaged(const QString& folder) const {
    return {folder,
            QStringLiteral("数据库文件“%1”已损坏（完整性检查未通过），这次的自动备份没有做；"
                           "以前的备份都保留着。")
                .arg(withNativeSeparators(dataFile())),
            true};
}

bool AutoBackup::copyInto(const QString& folder, const QString& fileName, const QString& madeCopy,
                          Result& result) {
    removeLeftovers(folder);
    const QString file = QDir(folder).filePath(fileName);
    const QString unchecked = file + QStringLiteral(".new");
    try {
        if (!madeCopy.isEmpty())
            copyBytes(madeCopy, unchecked);
        else if (server_)
            snapshot(*server_, unchecked);
        else
            snapshot(dataFile(), unchecked);
    } catch (const std::exception& error) {
        QFile::remove(unchecked);
        result.problems.append(madeCopy.isEmpty() && damagedSource()
                                   ? damaged(folder)
                                   : cannotWrite(folder, QString::fromUtf8(error.what())));
        return false;
    }
    if (const QString fault = verifier_(unchecked); !fault.isEmpty()) {
        QFile::remove(unchecked);
        if (madeCopy.isEmpty() && damagedSource()) {
            result.problems.append(damaged(folder));
            return false;
        }
        result.problems.append(
            {folder, QStringLiteral("自动备份失败：文件夹“%1”中新做的备份未通过检查（%2），已删除；"
                                    "以前的备份都保留着。")
                         .arg(withNativeSeparators(folder), fault)});
        return false;
    }
    if (!QFile::rename(unchecked, file)) {
        QFile::remove(unchecked);
        result.problems.append(cannotWrite(folder, QStringLiteral("无法改名")));
        return false;
    }
    result.copies << file;
    const QStringList stuck = pruneCopies(folder, settings_.keep);
    if (!stuck.isEmpty())
        result.problems.append(
            {folder, QStringLiteral("自动备份：无法删除文件夹“%1”中的旧备份 %2。")
                         .arg(withNativeSeparators(folder), stuck.join(QStringLiteral("、")))});
    return true;
}

}  // namespace autobackup
