#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "store/Database.h"
#include "store/ServerSettings.h"

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
// On the server (onServer()) the data is a new database of the cluster instead, with the same
// tables and rows, and entering the directory also makes it the server every connection of the
// process opens; it is dropped at the end.
class TestDatabase {
  public:
    enum class Content { Empty, Demo };
    explicit TestDatabase(Content content = Content::Empty, bool enterDirectory = true);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::filesystem::path& directory() const noexcept { return directory_.path(); }
    std::string path() const;  // the data.mdb file (none on the server)
    // A handle of its own on the data, as another program would open it.
    store::Database open() const;
    // The server's database; only on the server.
    const store::ServerSettings& server() const;
    // Runs the engine's own SQL on the data, as another program would: SQLite's on a file, the
    // server's on the server.
    void execDirectly(const std::string& sql) const;

  private:
    TemporaryDirectory directory_;
    std::filesystem::path previous_;
    bool entered_ = false;
    std::optional<store::ServerSettings> server_;
    std::optional<store::ServerSettings> previousServer_;
};

}  // namespace testsupport
