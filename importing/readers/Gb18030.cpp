#include "importing/readers/Gb18030.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace importing {

bool isStrictUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const std::uint8_t lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trail = 0;
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
            return false;
        }
        if (end - p <= trail) return false;
        if (p[1] < low || p[1] > high) return false;
        for (int i = 2; i <= trail; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        p += trail + 1;
    }
    return true;
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
