#include "importing/readers/Gb18030.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace importing {

namespace {

// The length of the UTF-8 sequence at p, 0 when none begins there.
std::size_t sequenceLength(const std::uint8_t* p, const std::uint8_t* end) {
    const std::uint8_t lead = *p;
    if (lead < 0x80) return 1;
    std::size_t trail = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) <= trail) return 0;
    if (p[1] < low || p[1] > high) return 0;
    for (std::size_t i = 2; i <= trail; ++i)
        if ((p[i] & 0xC0) != 0x80) return 0;
    return trail + 1;
}

const std::uint8_t* begin(std::string_view bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

}  // namespace

bool isStrictUtf8(std::string_view bytes) {
    const auto* const end = begin(bytes) + bytes.size();
    for (const auto* p = begin(bytes); p < end;) {
        const std::size_t length = sequenceLength(p, end);
        if (length == 0) return false;
        p += length;
    }
    return true;
}

Utf8Census utf8Census(std::string_view bytes) {
    Utf8Census census;
    const auto* const end = begin(bytes) + bytes.size();
    for (const auto* p = begin(bytes); p < end;) {
        const std::size_t length = sequenceLength(p, end);
        if (length == 0) {
            ++census.invalid;
            ++p;
        } else {
            if (length > 1) ++census.multiByte;
            p += length;
        }
    }
    return census;
}

Gb18030Decoder::Gb18030Decoder() : converter_(iconv_open("UTF-8", "GB18030")) {
    if (converter_ == reinterpret_cast<void*>(static_cast<std::intptr_t>(-1)))
        throw std::runtime_error("系统不支持 GB18030 编码的转换。");
}

Gb18030Decoder::~Gb18030Decoder() { iconv_close(static_cast<iconv_t>(converter_)); }

bool Gb18030Decoder::appendUtf8(std::string_view bytes, std::string& out) {
    const auto cd = static_cast<iconv_t>(converter_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start for every piece
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        const std::size_t before = out.size();
        const std::size_t room = inLeft * 2 + 16;  // GB18030 never grows by more than 2× in UTF-8
        out.resize(before + room);
        char* dest = out.data() + before;
        std::size_t destLeft = room;
        const std::size_t done = iconv(cd, &in, &inLeft, &dest, &destLeft);
        out.resize(before + (room - destLeft));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
}

}  // namespace importing
