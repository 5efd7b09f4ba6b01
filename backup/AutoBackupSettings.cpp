#include "backup/AutoBackupSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace autobackup {

namespace {

const QString kEnabled = QStringLiteral("AutoBackup/Enabled");
const QString kKeep = QStringLiteral("AutoBackup/Keep");
const QString kFolder = QStringLiteral("AutoBackup/Folder");
const QString kSecondFolder = QStringLiteral("AutoBackup/SecondFolder");
const QString kLastFile = QStringLiteral("LastCopy/DataFile");
const QString kLastSize = QStringLiteral("LastCopy/Size");
const QString kLastModified = QStringLiteral("LastCopy/Modified");

std::filesystem::path pathOf(const QString& file) {
    return std::filesystem::path(file.toStdU16String());
}

}  // namespace

QString defaultSettingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Quenvar/quenvar-jxc.ini"));
}

Settings readSettings(const QString& settingsFile) {
    QSettings ini(settingsFile, QSettings::IniFormat);
    const Settings defaults;
    if (!ini.contains(kEnabled)) ini.setValue(kEnabled, defaults.enabled);
    if (!ini.contains(kKeep)) ini.setValue(kKeep, defaults.keep);
    if (!ini.contains(kFolder)) ini.setValue(kFolder, defaults.folder);
    if (!ini.contains(kSecondFolder)) ini.setValue(kSecondFolder, defaults.secondFolder);

    Settings settings;
    settings.enabled = ini.value(kEnabled, defaults.enabled).toBool();
    bool whole = false;
    const int keep = ini.value(kKeep).toString().trimmed().toInt(&whole);
    settings.keep = whole && keep >= 1 ? keep : defaults.keep;
    settings.folder = ini.value(kFolder).toString().trimmed();
    settings.secondFolder = ini.value(kSecondFolder).toString().trimmed();
    return settings;
}

Fingerprint fingerprintOf(const QString& file) {
    Fingerprint fingerprint;
    fingerprint.file = file;
    std::error_code ec;
    const auto path = pathOf(file);
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return fingerprint;
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (ec) return fingerprint;
    fingerprint.size = static_cast<qint64>(size);
    fingerprint.modifiedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return fingerprint;
}

QString stateFileFor(const QString& settingsFile) {
    const QFileInfo info(settingsFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".state"));
}

Fingerprint readLastCopied(const QString& settingsFile) {
    const QSettings ini(stateFileFor(settingsFile), QSettings::IniFormat);
    Fingerprint fingerprint;
    fingerprint.file = ini.value(kLastFile).toString();
    bool ok = false;
    fingerprint.size = ini.value(kLastSize).toString().toLongLong(&ok);
    if (!ok) fingerprint.size = -1;
    fingerprint.modifiedNs = ini.value(kLastModified).toString().toLongLong();
    return fingerprint;
}

void writeLastCopied(const QString& settingsFile, const Fingerprint& fingerprint) {
    QSettings ini(stateFileFor(settingsFile), QSettings::IniFormat);
    ini.setValue(kLastFile, fingerprint.file);
    ini.setValue(kLastSize, QString::number(fingerprint.size));
    ini.setValue(kLastModified, QString::number(fingerprint.modifiedNs));
}

}  // namespace autobackup
