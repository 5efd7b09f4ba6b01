#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "importing/readers/BiffStream.h"

namespace importing::biff {

// The data of one record, read on into the CONTINUE records after it when continued (as the
// shared strings and long texts are stored). Reading past its end tells the file damaged.
class ContinuedData {
  public:
    ContinuedData(std::string_view data, RecordStream& stream, bool continued)
        : data_(data), stream_(stream), continued_(continued) {}

    // Whether the record and its CONTINUE records are used up.
    bool atEnd();
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::size_t bytes);
    // count UTF-16 units of a text's characters, one byte each (wide false) or two; a CONTINUE
    // that cuts them begins with a fresh flags byte telling the width of the rest.
    void characters(std::size_t count, bool wide, std::u16string& out);

  private:
    std::size_t available();  // unread bytes of the current record, moving on to a CONTINUE

    std::string_view data_;
    std::size_t at_ = 0;
    RecordStream& stream_;
    bool continued_;
};

// Appends a text with a 16-bit (or, for sheet names, 8-bit) character count, its flags and any
// rich-text runs and phonetic data after its characters, as UTF-8. scratch holds its UTF-16.
void appendText(ContinuedData& in, bool shortCount, std::string& utf8, std::u16string& scratch);

// Appends UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
void appendUtf8(std::u16string_view utf16, std::string& out);

}  // namespace importing::biff
