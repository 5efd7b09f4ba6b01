#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/backup/DataStoreFiles.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

// A program folder holding a fresh data.mdb with one goods row "A", a separate folder for the
// files the user chooses, and a scripted platform answering the dialogs. The current directory
// is left elsewhere on purpose: backup and restore work on the program folder.
class BackupFixture : public ::testing::Test {
  protected:
    BackupFixture();

    QString programFolder() const;
    std::string dataStore() const { return program_.path(); }
    QString chosen(const std::string& name) const;  // a name in the user's folder
    std::filesystem::path userFolder() const { return user_.path(); }

    testsupport::TestDatabase program_{testsupport::TestDatabase::Content::Empty, false};
    testsupport::TemporaryDirectory user_;
    testsupport::TemporaryDirectory config_;  // the settings of the automatic copies
    platform::ScriptedPlatform platform_;
};
