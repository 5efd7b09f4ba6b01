#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/ByteBuffer.h"

namespace store {

// The rows of a static result set in one buffer: each row is a record of its cells, each cell a
// varint (0 for NULL, otherwise the byte length plus one) followed by its bytes. Per row only an
// offset, the database row id and a bookmark are kept beside the buffer.
class RowArena {
  public:
    void reset(std::size_t columns);

    // Filling while the statement is read.
    void beginRow(std::int64_t rowId);
    void addNull() { arena_.push_back('\0'); }
    void addCell(std::string_view text);
    void endRow() {}
    void finish();  // gives back the spare capacity once every row is read

    std::size_t count() const noexcept { return offsets_.size(); }
    std::string_view cell(std::size_t row, std::size_t column) const noexcept;
    bool isNull(std::size_t row, std::size_t column) const noexcept;
    std::int64_t rowId(std::size_t row) const noexcept { return rowIds_[row]; }
    std::uint64_t bookmark(std::size_t row) const noexcept { return bookmarks_[row]; }
    int indexOf(std::uint64_t bookmark) const noexcept;

    void appendRow(std::int64_t rowId, const std::vector<std::string>& cells,
                   const std::vector<bool>& nulls);
    void replaceRow(std::size_t row, const std::vector<std::string>& cells,
                    const std::vector<bool>& nulls);
    void removeRow(std::size_t row);
    void removeRows(const std::vector<int>& ascendingRows);  // one pass over the row list

    std::size_t memoryUsage() const noexcept;

  private:
    void writeRecord(const std::vector<std::string>& cells, const std::vector<bool>& nulls);
    std::size_t recordSize(std::size_t row) const noexcept;
    void compact();

    std::size_t columns_ = 0;
    ByteBuffer arena_;
    std::vector<std::uint64_t> offsets_;
    std::vector<std::int64_t> rowIds_;
    // Ascending: rows are only ever appended at the end or removed, so a binary search finds them.
    std::vector<std::uint32_t> bookmarks_;
    std::uint32_t nextBookmark_ = 1;
    std::size_t garbage_ = 0;  // bytes of records that were replaced or removed
};

}  // namespace store
