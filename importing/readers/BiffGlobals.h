#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "importing/readers/BiffStream.h"
#include "importing/readers/CellText.h"

namespace importing::biff {

struct SheetEntry {
    std::string name;
    std::uint32_t offset = 0;  // of the sheet's BOF record in the stream
};

// The workbook's shared strings as UTF-8, in one buffer.
class SharedStrings {
  public:
    std::string& text() { return text_; }
    void endString() { ends_.push_back(text_.size()); }
    std::size_t size() const noexcept { return ends_.size(); }
    std::string_view at(std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_).substr(begin, ends_[index] - begin);
    }

  private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

// What the cells of every sheet refer to: the sheets, the shared strings, the kinds of the cell
// formats and the date system.
struct Globals {
    std::vector<SheetEntry> sheets;
    SharedStrings strings;
    std::vector<celltext::FormatKind> formatOfXf;
    bool date1904 = false;

    celltext::FormatKind kindOf(std::uint16_t xf) const {
        return xf < formatOfXf.size() ? formatOfXf[xf] : celltext::FormatKind::Number;
    }
};

// Reads the workbook's globals from the start of the stream up to their EOF record. Throws
// ReadError for a workbook of another version, one protected by a password, or a damaged one.
Globals readGlobals(RecordStream& stream);

}  // namespace importing::biff
