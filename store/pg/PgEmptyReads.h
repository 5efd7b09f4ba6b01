#pragma once

#include <string>
#include <unordered_map>

#include "store/pg/PgConnection.h"

namespace store::pg {

// The columns of the reads that can give no row (a query opened only to append to its table),
// kept per session by their text once the server told them: such a read run again gives them,
// and no row, without asking the server. All are forgotten whenever a table's columns may have
// changed, and with the connection.
class EmptyReads {
  public:
    // A result of its own with the columns of text and no row; null when they are not known.
    ResultHandle find(const std::string& text) const noexcept;
    // Keeps the columns of result, the server's answer to text.
    void keep(const std::string& text, const PGresult* result) noexcept;
    void clear() noexcept { results_.clear(); }

  private:
    std::unordered_map<std::string, ResultHandle> results_;
};

}  // namespace store::pg
