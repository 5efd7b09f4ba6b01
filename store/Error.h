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
    // A database server's failures that callers tell apart: another connection's concurrent
    // change (a serialization failure or a deadlock: the transaction may be tried again), and a
    // server that cannot be reached or refused the login.
    static constexpr int kServerConflict = -2;
    static constexpr int kServerUnreachable = -3;

    explicit StoreError(const std::string& message, int code = kNotFromSqlite)
        : std::runtime_error(message), code_(code) {}
    int code() const noexcept { return code_; }

  private:
    int code_;
};

}  // namespace store
