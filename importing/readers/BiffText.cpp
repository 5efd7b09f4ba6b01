#include "importing/readers/BiffText.h"

#include <algorithm>

namespace importing::biff {

namespace {

constexpr std::uint8_t kHighByte = 0x01, kPhonetic = 0x04, kRichText = 0x08;

void appendCodePoint(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::size_t ContinuedData::available() {
    while (at_ == data_.size()) {
        if (!continued_ || stream_.peekId() != record::kContinue) return 0;
        Record next;
        stream_.next(next);
        data_ = next.data;
        at_ = 0;
    }
    return data_.size() - at_;
}

bool ContinuedData::atEnd() { return available() == 0; }

std::uint8_t ContinuedData::u8() {
    if (available() == 0) stream_.damaged("一条记录的数据不完整");
    return static_cast<std::uint8_t>(data_[at_++]);
}

std::uint16_t ContinuedData::u16() {
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | u8() << 8);
}

std::uint32_t ContinuedData::u32() {
    const std::uint32_t low = u16();
    return low | static_cast<std::uint32_t>(u16()) << 16;
}

void ContinuedData::skip(std::size_t bytes) {
    while (bytes > 0) {
        const std::size_t here = std::min(bytes, available());
        if (here == 0) stream_.damaged("一条记录的数据不完整");
        at_ += here;
        bytes -= here;
    }
}

void ContinuedData::characters(std::size_t count, bool wide, std::u16string& out) {
    while (count > 0) {
        if (at_ == data_.size()) wide = (u8() & kHighByte) != 0;  // a CONTINUE's own flags
        const std::size_t width = wide ? 2 : 1;
        const std::size_t here = std::min(count, (data_.size() - at_) / width);
        if (here == 0) stream_.damaged("文本在两条记录之间被截断");  // half a UTF-16 unit
        for (std::size_t i = 0; i < here; ++i, at_ += width)
            out += wide ? static_cast<char16_t>(biff::u16(data_, at_))
                        : static_cast<char16_t>(static_cast<std::uint8_t>(data_[at_]));
        count -= here;
    }
}

void appendText(ContinuedData& in, bool shortCount, std::string& utf8, std::u16string& scratch) {
    const std::size_t count = shortCount ? in.u8() : in.u16();
    const std::uint8_t flags = in.u8();
    const std::size_t runs = (flags & kRichText) != 0 ? in.u16() : 0;
    const std::size_t phonetic = (flags & kPhonetic) != 0 ? in.u32() : 0;
    scratch.clear();
    in.characters(count, (flags & kHighByte) != 0, scratch);
    in.skip(4 * runs + phonetic);
    appendUtf8(scratch, utf8);
}

void appendUtf8(std::u16string_view utf16, std::string& out) {
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit < 0xD800 || unit > 0xDFFF) {
            appendCodePoint(unit, out);
        } else if (unit < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
                   utf16[i + 1] <= 0xDFFF) {
            appendCodePoint(0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00), out);
            ++i;
        } else {
            appendCodePoint(0xFFFD, out);
        }
    }
}

}  // namespace importing::biff
