#include "tests/app/backup/BackupFixture.h"

#include "backup/AutoBackupSession.h"

BackupFixture::BackupFixture() {
    addGoods(dataStore(), "A");
    autobackup::session().setSettingsFile(
        QString::fromStdString((config_.path() / "quenvar-jxc.ini").string()));
    autobackup::session().resetReports();
}

QString BackupFixture::programFolder() const {
    return QString::fromStdString(program_.directory().string());
}

QString BackupFixture::chosen(const std::string& name) const {
    return QString::fromStdString((user_.path() / name).string());
}
