#include "export/SharedStrings.h"

#include <algorithm>
#include <functional>

namespace workbook {

namespace {

constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSst = 0x00FF;
constexpr std::size_t kMaxUnits = 32767;

bool isHighSurrogate(std::uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Decodes one UTF-8 sequence at text[i]; malformed bytes become U+FFFD, one byte each.
char32_t decodeOne(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

}  // namespace

EncodedText encodeText(std::string_view utf8) {
    EncodedText out;
    out.units.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = decodeOne(utf8, i);
        if (cp >= 0x10000) {
            if (out.units.size() + 2 > kMaxUnits) break;
            const char32_t v = cp - 0x10000;
            out.units.push_back(static_cast<std::uint16_t>(0xD800 + (v >> 10)));
            out.units.push_back(static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            if (out.units.size() + 1 > kMaxUnits) break;
            out.units.push_back(static_cast<std::uint16_t>(cp));
        }
    }
    out.compressed =
        std::all_of(out.units.begin(), out.units.end(), [](std::uint16_t u) { return u <= 0xFF; });
    return out;
}

std::uint32_t SharedStrings::add(std::string_view utf8) {
    if (slots_.size() < 2 * (strings_.size() + 1)) grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(utf8)&mask;
    ++total_;
    while (slots_[slot] != 0) {
        const std::uint32_t entry = slots_[slot] - 1;
        if (strings_[entry] == utf8) return entry;
        slot = (slot + 1) & mask;
    }
    strings_.push_back(utf8);
    slots_[slot] = static_cast<std::uint32_t>(strings_.size());
    return static_cast<std::uint32_t>(strings_.size() - 1);
}

void SharedStrings::grow() {
    std::vector<std::uint32_t> slots(std::max<std::size_t>(64, slots_.size() * 2), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t entry = 0; entry < strings_.size(); ++entry) {
        std::size_t slot = std::hash<std::string_view>{}(strings_[entry]) & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = entry + 1;
    }
    slots_.swap(slots);
}

namespace {

// Lays the strings out in an SST record and as many CONTINUE records as they need. A string's
// count, option byte and first character stay in one record; where its characters go on in the
// next record, that record begins with the option byte again.
class SstLayout {
  public:
    explicit SstLayout(ByteBuffer& out) : out_(out) {}

    void begin(std::uint32_t total, std::uint32_t unique) {
        out_.beginRecord(kSst);
        out_.u32(total);
        out_.u32(unique);
    }

    // Returns the stream offset of the string's count and its offset inside its record.
    std::pair<std::size_t, std::size_t> put(const EncodedText& text) {
        const std::size_t width = text.compressed ? 1 : 2;
        const auto& units = text.units;
        std::size_t first = width;
        if (!text.compressed && units.size() > 1 && isHighSurrogate(units[0])) first = 4;
        if (room() < 3 + first) nextRecord();
        const std::pair<std::size_t, std::size_t> at{out_.size(), out_.size() - out_.recordStart()};
        out_.u16(static_cast<std::uint16_t>(units.size()));
        out_.u8(text.compressed ? 0x00 : 0x01);
        std::size_t done = 0;
        while (done < units.size()) {
            std::size_t take = std::min(room() / width, units.size() - done);
            if (take < units.size() - done && take > 0 && !text.compressed &&
                isHighSurrogate(units[done + take - 1]))
                --take;
            if (take == 0) {
                nextRecord();
                out_.u8(text.compressed ? 0x00 : 0x01);
                continue;
            }
            for (std::size_t k = done; k < done + take; ++k) {
                if (text.compressed)
                    out_.u8(static_cast<std::uint8_t>(units[k]));
                else
                    out_.u16(units[k]);
            }
            done += take;
        }
        return at;
    }

    void end() { out_.endRecord(); }

  private:
    std::size_t room() const { return ByteBuffer::kMaxRecordData - out_.recordDataSize(); }
    void nextRecord() {
        out_.endRecord();
        out_.beginRecord(kContinue);
    }
    ByteBuffer& out_;
};

}  // namespace

void SharedStrings::write(ByteBuffer& out) const {
    const std::uint32_t unique = uniqueCount();
    const std::uint32_t perBucket = std::max<std::uint32_t>(unique / 128 + 1, 8);
    std::vector<std::pair<std::size_t, std::size_t>> buckets;

    SstLayout layout(out);
    layout.begin(total_, unique);
    for (std::uint32_t k = 0; k < unique; ++k) {
        const auto at = layout.put(encodeText(strings_[k]));
        if (k % perBucket == 0) buckets.push_back(at);
    }
    layout.end();

    out.beginRecord(kExtSst);
    out.u16(static_cast<std::uint16_t>(perBucket));
    for (const auto& [streamOffset, recordOffset] : buckets) {
        out.u32(static_cast<std::uint32_t>(streamOffset));
        out.u16(static_cast<std::uint16_t>(recordOffset));
        out.u16(0);
    }
    out.endRecord();
}

}  // namespace workbook
