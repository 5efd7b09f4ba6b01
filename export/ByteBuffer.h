#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace workbook {

// Little-endian bytes of BIFF records, built in memory. A record is begun with its id, filled,
// and ended, which writes its length into the header.
class ByteBuffer {
  public:
    static constexpr std::size_t kMaxRecordData = 8224;

    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(const std::uint8_t* data, std::size_t count) {
        bytes_.insert(bytes_.end(), data, data + count);
    }

    // Begins a record; its data follows until endRecord().
    void beginRecord(std::uint16_t id);
    void endRecord();  // throws std::logic_error when the data exceeds kMaxRecordData
    std::size_t recordStart() const noexcept {
        return recordStart_;
    }  // of the open record's header
    std::size_t recordDataSize() const noexcept { return size() - recordStart_ - 4; }

    void patchU32(std::size_t at, std::uint32_t v);

    std::size_t size() const noexcept { return bytes_.size(); }
    const std::uint8_t* data() const noexcept { return bytes_.data(); }
    void clear() noexcept { bytes_.clear(); }
    void reserve(std::size_t n) { bytes_.reserve(n); }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t recordStart_ = 0;
};

}  // namespace workbook
