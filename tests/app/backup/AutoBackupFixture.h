#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "backup/AutoBackup.h"
#include "tests/support/TestDatabase.h"

// A program folder with a fresh data.mdb holding goods row "A", a settings file of its own and a
// clock the test sets.
class AutoBackupFixture : public ::testing::Test {
  protected:
    AutoBackupFixture();

    QString programFolder() const;
    std::string dataStore() const { return program_.path(); }
    std::filesystem::path copiesFolder() const { return program_.directory() / "自动备份"; }
    QString settingsFile() const;
    // Sets a key of the settings file ("AutoBackup/Keep").
    void set(const QString& key, const QVariant& value) const;

    autobackup::Clock clock() const {
        return [this] { return now_; };
    }
    autobackup::AutoBackup backup() const {
        return autobackup::AutoBackup(programFolder(), settingsFile(), clock());
    }
    autobackup::Result run(autobackup::Occasion occasion) const { return backup().run(occasion); }
    // Names of the copies in folder, oldest first (only .bak files: nothing else may be left).
    static std::vector<std::string> bakFiles(const std::filesystem::path& folder);
    // Plants a copy file with arbitrary bytes, as an old copy would lie there.
    static void plant(const std::filesystem::path& folder, const std::string& name);

    testsupport::TestDatabase program_{testsupport::TestDatabase::Content::Empty, false};
    testsupport::TemporaryDirectory config_;
    QDateTime now_{QDate(2026, 3, 1), QTime(9, 30, 0)};
};
