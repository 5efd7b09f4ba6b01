#pragma once

#include <memory>
#include <string>

#include "store/ServerSettings.h"
#include "store/engine/Engine.h"

// A fresh database on the tests' PostgreSQL cluster, dropped at the end. The cluster is the one
// the PG* variables name when JXC_TEST_SERVER=1 is set; without it, the tests that need a server
// skip (GTEST_SKIP when serverTestsEnabled() is false).
namespace pgtest {

bool serverTestsEnabled();

class ServerDatabase {
  public:
    enum class Tables { None, Program };  // an empty database, or the program's tables
    explicit ServerDatabase(Tables tables = Tables::Program);
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    const store::ServerSettings& settings() const noexcept { return settings_; }
    std::unique_ptr<store::Engine> open() const;  // another connection to it

    // One database with the program's tables for the whole test program, its rows removed and
    // its counters back at 1 each time it is asked for: quicker than a new database per test.
    static const ServerDatabase& emptied();

  private:
    store::ServerSettings settings_;
};

}  // namespace pgtest
