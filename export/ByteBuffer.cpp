#include "export/ByteBuffer.h"

#include <stdexcept>

namespace workbook {

void ByteBuffer::beginRecord(std::uint16_t id) {
    recordStart_ = bytes_.size();
    u16(id);
    u16(0);
}

void ByteBuffer::endRecord() {
    const std::size_t length = recordDataSize();
    if (length > kMaxRecordData) throw std::logic_error("BIFF record longer than 8224 bytes");
    bytes_[recordStart_ + 2] = static_cast<std::uint8_t>(length);
    bytes_[recordStart_ + 3] = static_cast<std::uint8_t>(length >> 8);
}

void ByteBuffer::patchU32(std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes_[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

}  // namespace workbook
