#include "tests/app/backup/AutoBackupFixture.h"

#include <QSettings>
#include <algorithm>
#include <chrono>
#include <fstream>

#include "backup/AutoBackupFiles.h"
#include "tests/app/backup/DataStoreFiles.h"

AutoBackupFixture::AutoBackupFixture() {
    addGoods(dataStore(), "A");
    // The data was last written some time ago, as at a real start.
    std::filesystem::last_write_time(
        dataStore(), std::filesystem::last_write_time(dataStore()) - std::chrono::hours(1));
}

QString AutoBackupFixture::programFolder() const {
    return QString::fromStdString(program_.directory().string());
}

QString AutoBackupFixture::settingsFile() const {
    return QString::fromStdString((config_.path() / "quenvar-jxc.ini").string());
}

void AutoBackupFixture::set(const QString& key, const QVariant& value) const {
    QSettings ini(settingsFile(), QSettings::IniFormat);
    ini.setValue(key, value);
}

std::vector<std::string> AutoBackupFixture::bakFiles(const std::filesystem::path& folder) {
    if (!std::filesystem::exists(folder)) return {};
    std::vector<std::string> names = fileNames(folder);
    std::vector<std::string> copies;
    for (const auto& name : names) {
        const auto copy = autobackup::parseCopyFileName(QString::fromStdString(name));
        EXPECT_TRUE(copy.has_value()) << "left in the folder: " << name;
        copies.push_back(name);
    }
    std::sort(copies.begin(), copies.end(), [](const std::string& a, const std::string& b) {
        return *autobackup::parseCopyFileName(QString::fromStdString(a)) <
               *autobackup::parseCopyFileName(QString::fromStdString(b));
    });
    return copies;
}

void AutoBackupFixture::plant(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << "old copy " << name;
}
