#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// Changes the current directory for its lifetime (many windows open "data.mdb" relative to it).
class ScopedCurrentDirectory {
  public:
    explicit ScopedCurrentDirectory(const std::filesystem::path& directory);
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

// A fresh temporary directory, removed with everything in it at the end.
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::filesystem::path& path() const noexcept { return path_; }

  private:
    std::filesystem::path path_;
};

// A temporary directory holding a new data.mdb made by the database maker (empty tables, or the
// demo shop), and the current directory moved into it while the object lives.
class TestDatabase {
  public:
    enum class Content { Empty, Demo };
    explicit TestDatabase(Content content = Content::Empty, bool enterDirectory = true);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::filesystem::path& directory() const noexcept { return directory_.path(); }
    std::string path() const;  // the data.mdb file

  private:
    TemporaryDirectory directory_;
    std::filesystem::path previous_;
    bool entered_ = false;
};

}  // namespace testsupport
