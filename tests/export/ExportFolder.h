#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TestDatabase.h"

// A fresh folder for the workbooks a test writes, and what is in it.
class ExportFolderTest : public ::testing::Test {
  protected:
    explicit ExportFolderTest(const char* defaultName) : defaultName_(defaultName) {}

    std::string file(const char* name = nullptr) const {
        return (dir_.path() / (name != nullptr ? name : defaultName_)).string();
    }
    std::vector<std::string> filesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The first line of a file of the folder, the default one unless named.
    std::string firstLine(const char* name = nullptr) const {
        std::ifstream in(file(name));
        std::string text;
        std::getline(in, text);
        return text;
    }
    void writeOldContents() const { std::ofstream(file()) << "old contents"; }

    testsupport::TemporaryDirectory dir_;

  private:
    const char* defaultName_;
};
