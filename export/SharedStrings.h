#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "export/ByteBuffer.h"

namespace workbook {

// The workbook's shared string table: every text cell refers to one entry, and equal texts share
// it. The table keeps views of the texts it is given, which must outlive it.
class SharedStrings {
  public:
    // The entry of a non-empty UTF-8 text, added when new; counts one more cell using it.
    std::uint32_t add(std::string_view utf8);
    std::uint32_t uniqueCount() const noexcept {
        return static_cast<std::uint32_t>(strings_.size());
    }
    std::uint32_t totalCount() const noexcept { return total_; }

    // Appends the SST record with its CONTINUE records and the EXTSST record to out, whose
    // byte 0 is byte 0 of the workbook stream.
    void write(ByteBuffer& out) const;

  private:
    void grow();
    std::vector<std::string_view> strings_;
    std::vector<std::uint32_t> slots_;  // open addressing: entry + 1, 0 when free
    std::uint32_t total_ = 0;
};

// A text as BIFF8 stores it: UTF-16 code units, at most 32,767 of them (a spreadsheet cell's
// limit; a surrogate pair is never cut), and whether every unit fits in one byte.
struct EncodedText {
    std::vector<std::uint16_t> units;
    bool compressed = false;  // all units <= 0xFF: one byte per unit in the file
};
EncodedText encodeText(std::string_view utf8);

}  // namespace workbook
