#include "importing/readers/BiffStream.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>

#include <algorithm>
#include <cstring>

#include "importing/readers/ReadMessages.h"
#include "importing/readers/SheetReader.h"
#include "importing/readers/WholeFile.h"

namespace importing::biff {

namespace {

// Read from the stream at a time: large enough that the container's sector chains are walked
// rarely, small beside any workbook worth measuring.
constexpr std::size_t kChunk = 1 << 16;
// A record's header and the most data its 16-bit length can declare.
constexpr std::size_t kLongestRecord = 4 + 0xFFFF;

struct Unref {
    void operator()(void* object) const noexcept { g_object_unref(object); }
};

}  // namespace

double f64(std::string_view data, std::size_t at) {
    double value = 0;
    std::memcpy(&value, data.data() + at, sizeof value);  // little-endian, as is this machine
    return value;
}

struct RecordStream::Handles {
    std::unique_ptr<GsfInput, Unref> file;
    std::unique_ptr<GsfInfile, Unref> container;
    std::unique_ptr<GsfInput, Unref> stream;
};

RecordStream::RecordStream(const std::string& path)
    : file_(fileNameOf(path)),
      handles_(std::make_unique<Handles>()),
      buffer_(kChunk + kLongestRecord) {
    GError* error = nullptr;
    handles_->file.reset(gsf_input_stdio_new(path.c_str(), &error));
    if (error != nullptr) g_error_free(error);
    if (!handles_->file) throw ReadError(messages::cannotOpen(file_));
    error = nullptr;
    handles_->container.reset(gsf_infile_msole_new(handles_->file.get(), &error));
    if (error != nullptr) g_error_free(error);
    if (!handles_->container) damaged("它的文件结构不完整");
    handles_->stream.reset(gsf_infile_child_by_name(handles_->container.get(), "Workbook"));
    if (!handles_->stream) {
        const std::unique_ptr<GsfInput, Unref> old(
            gsf_infile_child_by_name(handles_->container.get(), "Book"));
        throw ReadError(messages::badWorkbook(
            file_, old ? "它是 Excel 5.0/95 工作簿，本程序只读 Excel 97-2003 及以后的格式。"
                         "请在表格软件中把它另存为 .xlsx 后再导入。"
                       : "它不是 Excel 97-2003 工作簿（.xls）。"));
    }
}

RecordStream::~RecordStream() = default;

void RecordStream::damaged(const std::string& why) const {
    throw ReadError(messages::badWorkbook(
        file_, "工作簿已损坏，或含有本程序读不了的内容（" + why +
                   "）。请在表格软件中把它另存为 .xlsx 或 CSV 文件后再导入。"));
}

bool RecordStream::fill(std::size_t bytes) {
    if (end_ - begin_ >= bytes) return true;
    if (ended_) return false;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    GsfInput* stream = handles_->stream.get();
    while (end_ < bytes) {
        const auto remaining =
            static_cast<std::size_t>(std::max<gsf_off_t>(gsf_input_remaining(stream), 0));
        const std::size_t want = std::min(buffer_.size() - end_, remaining);
        if (want == 0) {
            ended_ = true;
            return false;
        }
        if (gsf_input_read(stream, want, buffer_.data() + end_) == nullptr)
            damaged("读取工作簿数据失败");
        end_ += want;
    }
    return true;
}

bool RecordStream::next(Record& record) {
    if (!fill(4)) {
        if (end_ != begin_) damaged("最后一条记录不完整");
        return false;
    }
    const std::string_view header(reinterpret_cast<const char*>(buffer_.data() + begin_), 4);
    record.id = u16(header, 0);
    const std::size_t size = u16(header, 2);
    if (!fill(4 + size)) damaged("最后一条记录不完整");
    record.data =
        std::string_view(reinterpret_cast<const char*>(buffer_.data() + begin_ + 4), size);
    begin_ += 4 + size;
    return true;
}

std::uint16_t RecordStream::peekId() {
    if (!fill(2)) return 0;
    return u16(std::string_view(reinterpret_cast<const char*>(buffer_.data() + begin_), 2), 0);
}

void RecordStream::seek(std::uint64_t offset) {
    if (gsf_input_seek(handles_->stream.get(), static_cast<gsf_off_t>(offset), G_SEEK_SET))
        damaged("工作表的位置超出了工作簿数据");
    begin_ = end_ = 0;
    ended_ = false;
}

std::uint64_t RecordStream::tell() const {
    return static_cast<std::uint64_t>(gsf_input_tell(handles_->stream.get())) - (end_ - begin_);
}

}  // namespace importing::biff
