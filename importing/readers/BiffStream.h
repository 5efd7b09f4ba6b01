#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace importing::biff {

// Record ids of an Excel 97–2003 workbook that the reader looks at.
namespace record {
constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kFilePass = 0x002F, kDateMode = 0x0022,
                        kFormat = 0x041E, kXf = 0x00E0, kBoundSheet = 0x0085, kSst = 0x00FC,
                        kContinue = 0x003C, kDimensions = 0x0200, kLabelSst = 0x00FD,
                        kLabel = 0x0204, kRString = 0x00D6, kNumber = 0x0203, kRk = 0x027E,
                        kMulRk = 0x00BD, kFormula = 0x0006, kString = 0x0207, kBoolErr = 0x0205;
}  // namespace record

struct Record {
    std::uint16_t id = 0;
    std::string_view data;  // valid until the next record is read
};

// The records of the "Workbook" stream of a compound document file, read in order through a
// small buffer: the stream is never held whole. Throws ReadError naming the file.
class RecordStream {
  public:
    explicit RecordStream(const std::string& path);
    ~RecordStream();
    RecordStream(const RecordStream&) = delete;
    RecordStream& operator=(const RecordStream&) = delete;

    // The next record; false at the end of the stream.
    bool next(Record& record);
    // The id of the record next() would read; 0 at the end of the stream.
    std::uint16_t peekId();
    // Goes to the record at offset bytes from the start of the stream.
    void seek(std::uint64_t offset);
    // The offset of the record next() would read.
    std::uint64_t tell() const;

    const std::string& file() const noexcept { return file_; }
    [[noreturn]] void damaged(const std::string& why) const;

  private:
    bool fill(std::size_t bytes);  // at least bytes unread bytes in the buffer, false at the end

    struct Handles;
    std::string file_;
    std::unique_ptr<Handles> handles_;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0, end_ = 0;  // the unread bytes of buffer_
    bool ended_ = false;               // the stream has no more bytes to give
};

inline std::uint16_t u16(std::string_view data, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) |
                                      static_cast<std::uint8_t>(data[at + 1]) << 8);
}
inline std::uint32_t u32(std::string_view data, std::size_t at) {
    return u16(data, at) | static_cast<std::uint32_t>(u16(data, at + 2)) << 16;
}
double f64(std::string_view data, std::size_t at);

}  // namespace importing::biff
