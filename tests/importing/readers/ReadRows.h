#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "importing/readers/SheetReader.h"

namespace readertest {

// What a reader handed on: each row as "rowNumber:cell|cell|…".
struct ReadRows {
    importing::SheetFacts facts;
    std::vector<std::string> rows;
};

inline ReadRows readRows(const std::string& path, const importing::ReadOptions& options = {}) {
    ReadRows read;
    read.facts = importing::readSheet(
        path,
        [&](std::int64_t row, const std::vector<std::string_view>& cells) {
            std::string line = std::to_string(row) + ":";
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (c > 0) line += '|';
                line += cells[c];
            }
            read.rows.push_back(line);
            return true;
        },
        options);
    return read;
}

// The message a reading of path stops with; "" when it reads to the end.
inline std::string readError(const std::string& path, const importing::ReadOptions& options = {}) {
    try {
        readRows(path, options);
    } catch (const importing::ReadError& e) {
        return e.what();
    }
    return {};
}

// A folder of its own for a test's files, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "jxc-import-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }

  private:
    std::filesystem::path path_;
};

}  // namespace readertest
