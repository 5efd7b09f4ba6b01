#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace importing {

// Whether bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isStrictUtf8(std::string_view bytes);

// How many well-formed multi-byte UTF-8 characters bytes hold, and how many bytes begin none.
struct Utf8Census {
    std::size_t multiByte = 0;
    std::size_t invalid = 0;
};
Utf8Census utf8Census(std::string_view bytes);

// Converts GB18030 text (which covers GBK and GB2312) to UTF-8, appending it to out.
class Gb18030Decoder {
  public:
    Gb18030Decoder();
    ~Gb18030Decoder();
    Gb18030Decoder(const Gb18030Decoder&) = delete;
    Gb18030Decoder& operator=(const Gb18030Decoder&) = delete;

    // False, with out holding what came before the fault, when bytes are not GB18030.
    bool appendUtf8(std::string_view bytes, std::string& out);

  private:
    void* converter_;
};

}  // namespace importing
