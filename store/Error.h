#pragma once

#include <stdexcept>
#include <string>

namespace store {

// Every failure of the data store: the message is the text shown to the user; the code is the
// SQLite result code where SQLite reported the failure, kNotFromSqlite otherwise (never SQLite's
// "no error").
class StoreError : public std::runtime_error {
  public:
    static constexpr int kNotFromSqlite = -1;

    explicit StoreError(const std::string& message, int code = kNotFromSqlite)
        : std::runtime_error(message), code_(code) {}
    int code() const noexcept { return code_; }

  private:
    int code_;
};

}  // namespace store
