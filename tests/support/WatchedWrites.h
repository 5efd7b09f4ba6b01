#pragma once

#include <string>
#include <vector>

#include "store/Database.h"

namespace testsupport {

// What a second connection to the same file sees while a connection writes rows one by one: each
// time the writing connection inserts, updates or deletes a row of the watched table (temporary
// triggers of that connection), the second connection runs its statement and notes the first
// value of the answer as text. Writes made together in one transaction are never seen half-done
// there: every note is what the file held before they began. The file has the program's password.
class SecondConnectionView {
  public:
    SecondConnectionView(store::Database& writer, const std::string& table, std::string sql);
    ~SecondConnectionView();
    SecondConnectionView(const SecondConnectionView&) = delete;
    SecondConnectionView& operator=(const SecondConnectionView&) = delete;

    const std::vector<std::string>& seen() const noexcept { return seen_; }
    std::string look();  // runs the statement now

  private:
    store::Database& writer_;
    store::Database reader_;
    std::string sql_;
    std::vector<std::string> seen_;
    friend struct SecondConnectionViewAccess;
};

// While it lives, every commit of the database fails, as on a disk that refuses the journal's
// last write: SQLite rolls the transaction back.
class RefusedCommits {
  public:
    explicit RefusedCommits(store::Database& db);
    ~RefusedCommits();
    RefusedCommits(const RefusedCommits&) = delete;
    RefusedCommits& operator=(const RefusedCommits&) = delete;

  private:
    store::Database& db_;
};

}  // namespace testsupport
