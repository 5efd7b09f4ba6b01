#include "store/RowArena.h"

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace store {

namespace {

void putVarint(ByteBuffer& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

std::uint64_t getVarint(const char*& p) noexcept {
    std::uint64_t value = 0;
    int shift = 0;
    for (;;) {
        auto byte = static_cast<unsigned char>(*p++);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return value;
        shift += 7;
    }
}

// A buffer of a large table grows to tens of megabytes. glibc raises its threshold for mapping
// large blocks each time such a block is freed, and from then on the outgrown buffers stay in the
// heap, held by the process. A fixed threshold keeps them mapped: each one goes back to the system
// when it is freed, and the row buffer grows by remapping its pages rather than copying them.
void keepLargeBuffersMapped() {
#if defined(__GLIBC__)
    static const bool done = mallopt(M_MMAP_THRESHOLD, 256 * 1024) != 0;
    (void)done;
#endif
}

}  // namespace

void RowArena::reset(std::size_t columns) {
    keepLargeBuffersMapped();
    columns_ = columns;
    arena_.clear();
    offsets_.clear();
    rowIds_.clear();
    bookmarks_.clear();
    nextBookmark_ = 1;
    garbage_ = 0;
}

void RowArena::beginRow(std::int64_t rowId) {
    offsets_.push_back(arena_.size());
    rowIds_.push_back(rowId);
    bookmarks_.push_back(nextBookmark_++);
}

void RowArena::addCell(std::string_view text) {
    putVarint(arena_, text.size() + 1);
    arena_.append(text);
}

void RowArena::finish() {
    arena_.shrinkToFit();
    offsets_.shrink_to_fit();
    rowIds_.shrink_to_fit();
    bookmarks_.shrink_to_fit();
}

std::string_view RowArena::cell(std::size_t row, std::size_t column) const noexcept {
    const char* p = arena_.data() + offsets_[row];
    for (std::size_t c = 0; c < column; ++c) {
        std::uint64_t length = getVarint(p);
        if (length > 0) p += length - 1;
    }
    std::uint64_t length = getVarint(p);
    if (length == 0) return {};
    return {p, static_cast<std::size_t>(length - 1)};
}

bool RowArena::isNull(std::size_t row, std::size_t column) const noexcept {
    const char* p = arena_.data() + offsets_[row];
    for (std::size_t c = 0; c < column; ++c) {
        std::uint64_t length = getVarint(p);
        if (length > 0) p += length - 1;
    }
    return getVarint(p) == 0;
}

int RowArena::indexOf(std::uint64_t bookmark) const noexcept {
    auto it = std::lower_bound(bookmarks_.begin(), bookmarks_.end(), bookmark);
    if (it == bookmarks_.end() || *it != bookmark) return -1;
    return static_cast<int>(it - bookmarks_.begin());
}

std::size_t RowArena::recordSize(std::size_t row) const noexcept {
    const char* start = arena_.data() + offsets_[row];
    const char* p = start;
    for (std::size_t c = 0; c < columns_; ++c) {
        std::uint64_t length = getVarint(p);
        if (length > 0) p += length - 1;
    }
    return static_cast<std::size_t>(p - start);
}

void RowArena::writeRecord(const std::vector<std::string>& cells, const std::vector<bool>& nulls) {
    for (std::size_t c = 0; c < columns_; ++c) {
        if (nulls[c])
            addNull();
        else
            addCell(cells[c]);
    }
}

void RowArena::appendRow(std::int64_t rowId, const std::vector<std::string>& cells,
                         const std::vector<bool>& nulls) {
    beginRow(rowId);
    writeRecord(cells, nulls);
}

void RowArena::replaceRow(std::size_t row, const std::vector<std::string>& cells,
                          const std::vector<bool>& nulls) {
    garbage_ += recordSize(row);
    offsets_[row] = arena_.size();
    writeRecord(cells, nulls);
    if (garbage_ > 4096 && garbage_ > arena_.size() / 2) compact();
}

void RowArena::removeRow(std::size_t row) {
    garbage_ += recordSize(row);
    auto at = static_cast<std::ptrdiff_t>(row);
    offsets_.erase(offsets_.begin() + at);
    rowIds_.erase(rowIds_.begin() + at);
    bookmarks_.erase(bookmarks_.begin() + at);
    if (garbage_ > 4096 && garbage_ > arena_.size() / 2) compact();
}

void RowArena::removeRows(const std::vector<int>& ascendingRows) {
    if (ascendingRows.empty()) return;
    std::size_t kept = static_cast<std::size_t>(ascendingRows.front());
    std::size_t next = 0;  // position in ascendingRows of the next row to drop
    for (std::size_t row = kept; row < offsets_.size(); ++row) {
        if (next < ascendingRows.size() && static_cast<std::size_t>(ascendingRows[next]) == row) {
            garbage_ += recordSize(row);
            ++next;
            continue;
        }
        offsets_[kept] = offsets_[row];
        rowIds_[kept] = rowIds_[row];
        bookmarks_[kept] = bookmarks_[row];
        ++kept;
    }
    offsets_.resize(kept);
    rowIds_.resize(kept);
    bookmarks_.resize(kept);
    if (garbage_ > 4096 && garbage_ > arena_.size() / 2) compact();
}

void RowArena::compact() {
    ByteBuffer packed;
    packed.reserve(arena_.size() - garbage_);
    for (auto& offset : offsets_) {
        std::size_t size = recordSize(static_cast<std::size_t>(&offset - offsets_.data()));
        std::uint64_t from = offset;
        offset = packed.size();
        packed.append(std::string_view(arena_.data() + from, size));
    }
    arena_ = std::move(packed);
    garbage_ = 0;
}

std::size_t RowArena::memoryUsage() const noexcept {
    return sizeof(*this) + arena_.capacity() + offsets_.capacity() * sizeof(std::uint64_t) +
           rowIds_.capacity() * sizeof(std::int64_t) +
           bookmarks_.capacity() * sizeof(std::uint32_t);
}

}  // namespace store
