#pragma once

#include <unistd.h>
#include <string>

#include "store/ServerSettings.h"
#include "tests/support/TestServer.h"

namespace testsupport {

// A new database of the tests' cluster without any table, as a shop's administrator makes one
// for the program; dropped at the end. Only on the server (onServer()).
class EmptyServerDatabase {
  public:
    EmptyServerDatabase()
        : name_("jxc_empty_" + std::to_string(::getpid()) + "_" + std::to_string(++made_)) {
        dropServerDatabase(name_);  // a process of the same number before
        createServerDatabase(name_, "template0");
    }
    ~EmptyServerDatabase() { dropServerDatabase(name_); }
    EmptyServerDatabase(const EmptyServerDatabase&) = delete;
    EmptyServerDatabase& operator=(const EmptyServerDatabase&) = delete;

    store::ServerSettings settings() const { return serverSettings(name_); }

  private:
    static inline int made_ = 0;
    std::string name_;
};

}  // namespace testsupport
