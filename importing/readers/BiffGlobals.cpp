#include "importing/readers/BiffGlobals.h"

#include <map>

#include "importing/readers/BiffText.h"
#include "importing/readers/ReadMessages.h"
#include "importing/readers/SheetReader.h"

namespace importing::biff {

namespace {

constexpr std::uint16_t kBiff8 = 0x0600, kGlobalsType = 0x0005;
// Excel keeps at most this many shared strings; a larger count is a damaged file, not a reason
// to reserve memory.
constexpr std::size_t kMostStrings = 1 << 24;

void checkBof(RecordStream& stream) {
    Record bof;
    if (!stream.next(bof) || bof.id != record::kBof || bof.data.size() < 4)
        stream.damaged("工作簿数据不是以 BOF 记录开始");
    if (u16(bof.data, 0) != kBiff8)
        throw ReadError(messages::badWorkbook(
            stream.file(),
            "它是 Excel 97 以前的工作簿格式。请在表格软件中把它另存为 .xlsx 后再导入。"));
    if (u16(bof.data, 2) != kGlobalsType) stream.damaged("工作簿数据不是以全局设置开始");
}

void readStrings(RecordStream& stream, std::string_view data, SharedStrings& strings) {
    ContinuedData in(data, stream, true);
    in.u32();  // the number of text cells
    const std::size_t count = in.u32();
    if (count > kMostStrings) stream.damaged("共享文本的数目不合理");
    std::u16string scratch;
    for (std::size_t i = 0; i < count; ++i) {
        appendText(in, false, strings.text(), scratch);
        strings.endString();
    }
}

}  // namespace

Globals readGlobals(RecordStream& stream) {
    checkBof(stream);
    Globals globals;
    std::map<std::uint16_t, celltext::FormatKind> customFormats;
    std::vector<std::uint16_t> formatIds;
    std::string text;
    std::u16string scratch;
    Record record;
    while (true) {
        if (!stream.next(record)) stream.damaged("全局设置没有结束");
        if (record.id == record::kEof) break;
        // Records too short for their fields are left alone, as a reader that skips them would.
        switch (record.id) {
            case record::kFilePass:
                throw ReadError(messages::badWorkbook(
                    stream.file(), "工作簿有密码保护。请先在表格软件中取消密码。"));
            case record::kDateMode:
                if (record.data.size() >= 2) globals.date1904 = u16(record.data, 0) != 0;
                break;
            case record::kFormat: {
                if (record.data.size() < 5) break;
                ContinuedData in(record.data.substr(2), stream, false);
                text.clear();
                appendText(in, false, text, scratch);
                customFormats[u16(record.data, 0)] = celltext::formatKind(text);
                break;
            }
            case record::kXf:
                if (record.data.size() >= 4) formatIds.push_back(u16(record.data, 2));
                break;
            case record::kBoundSheet: {
                if (record.data.size() < 8) break;
                ContinuedData in(record.data.substr(6), stream, false);
                SheetEntry sheet;
                sheet.offset = u32(record.data, 0);
                appendText(in, true, sheet.name, scratch);
                globals.sheets.push_back(std::move(sheet));
                break;
            }
            case record::kSst:
                readStrings(stream, record.data, globals.strings);
                break;
            default:
                break;
        }
    }
    globals.formatOfXf.reserve(formatIds.size());
    for (const std::uint16_t id : formatIds) {
        const auto custom = customFormats.find(id);
        globals.formatOfXf.push_back(
            custom != customFormats.end() ? custom->second : celltext::builtinFormatKind(id));
    }
    return globals;
}

}  // namespace importing::biff
