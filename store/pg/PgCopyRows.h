#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/pg/PgConnection.h"

namespace store::pg {

// The rows of a SELECT streamed from the server as COPY text, one row at a time, while the server
// is still producing the next ones: neither side holds the whole result. The connection is busy
// until the last row is read; when it is needed for another statement before, the rest is read
// into memory (holdRest) and the rows go on from there.
class CopyRows {
  public:
    // Starts COPY (select) TO STDOUT. On failure the server's result (or null when the
    // connection failed) is kept, and failed() tells so.
    CopyRows(PGconn* connection, std::string_view select, std::size_t columns);
    ~CopyRows();
    CopyRows(const CopyRows&) = delete;
    CopyRows& operator=(const CopyRows&) = delete;

    // The next row; false at the end or on a failure (failed()).
    bool next();
    bool failed() const noexcept { return failed_; }
    // The failure the server ended the rows with; null when the connection failed.
    const PGresult* failure() const noexcept { return end_.get(); }

    bool isNull(std::size_t column) const noexcept { return fields_[column].data() == nullptr; }
    std::string_view field(std::size_t column) const noexcept { return fields_[column]; }

    // Reads the rows not yet read into memory and frees the connection.
    void holdRest() noexcept;
    // Reads and drops the rows not yet read, freeing the connection.
    void dropRest() noexcept;

  private:
    struct Freer {
        void operator()(char* row) const noexcept { PQfreemem(row); }
    };
    // The next raw row (its line without the newline) from memory or the connection; false at
    // the end.
    bool nextLine(std::string_view& line);
    bool receive(std::string_view& line);  // from the connection
    void finish() noexcept;                // after the last row: the server's closing result
    bool split(std::string_view line);

    PGconn* connection_;
    std::size_t columns_;
    bool streaming_ = false;
    bool failed_ = false;
    ResultHandle end_;
    std::unique_ptr<char, Freer> received_;
    std::string held_;                   // rows read ahead, one after another
    std::vector<std::size_t> heldEnds_;  // where each of them ends in held_
    std::size_t nextHeld_ = 0;
    std::string unescaped_;                 // fields that held escapes, for the current row
    std::vector<std::string_view> fields_;  // a null view for NULL
};

}  // namespace store::pg
