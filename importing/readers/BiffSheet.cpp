#include "importing/readers/BiffSheet.h"

#include <algorithm>
#include <cstring>

#include "importing/readers/BiffText.h"

namespace importing::biff {

namespace {

constexpr std::uint16_t kShrFmla = 0x04BC, kArray = 0x0221, kTable = 0x0236;

bool isCell(std::uint16_t id) {
    switch (id) {
        case record::kLabelSst:
        case record::kLabel:
        case record::kRString:
        case record::kNumber:
        case record::kRk:
        case record::kMulRk:
        case record::kFormula:
        case record::kBoolErr:
            return true;
        default:
            return false;
    }
}

// A number stored in 30 bits: a whole number or the upper half of a double, either perhaps in
// hundredths.
double rkValue(std::uint32_t rk) {
    double value = 0;
    if ((rk & 0x02) != 0) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) != 0 ? value / 100 : value;
}

const char* errorText(std::uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        default:
            return "#N/A";
    }
}

const char* booleanText(std::uint8_t value) { return value != 0 ? "TRUE" : "FALSE"; }

}  // namespace

SheetRows::SheetRows(RecordStream& stream, const Globals& globals, std::size_t sheet)
    : stream_(stream), globals_(globals) {
    stream_.seek(globals_.sheets.at(sheet).offset);
    Record record;
    if (!stream_.next(record) || record.id != record::kBof)
        stream_.damaged("第 " + std::to_string(sheet + 1) + " 个工作表不在它所说的位置");
    while (nextRecord(record)) {
        if (record.id == record::kDimensions && record.data.size() >= 12) {
            rows_ = u32(record.data, 4);
            // A damaged size must not widen every row beyond Excel 97–2003's columns.
            columns_ = std::min<std::uint16_t>(u16(record.data, 10), kColumns);
            return;
        }
        if (isCell(record.id)) {  // a sheet without its size: the cells start at once
            pendingId_ = record.id;
            pendingData_.assign(record.data);
            break;
        }
    }
    if (record.id != record::kDimensions && pendingId_ == 0) {
        ended_ = true;
        return;
    }
    const std::uint64_t cellsStart = stream_.tell();
    const bool ordered = inRowOrder();
    stream_.seek(cellsStart);
    if (!ordered) gatherCells();
}

bool SheetRows::inRowOrder() {
    std::uint32_t last = pendingId_ != 0 && pendingData_.size() >= 2 ? u16(pendingData_, 0) : 0;
    Record record;
    while (nextRecord(record)) {
        if (!isCell(record.id) || record.data.size() < 6) continue;
        const std::uint32_t row = u16(record.data, 0);
        if (row < last) return false;
        last = row;
    }
    return true;
}

void SheetRows::gatherCells() {
    gathering_ = true;
    Record record;
    while (streamRow(record)) {
    }
    closeGathered();
    gathering_ = false;
    std::stable_sort(gathered_.begin(), gathered_.end(),
                     [](const Gathered& a, const Gathered& b) { return a.row < b.row; });
    replaying_ = true;
}

void SheetRows::closeGathered() {
    if (!gatheredOpen_) return;
    gathered_.back().begin = gatheredText_.size();
    gatheredText_ += gatheredCell_;
    gathered_.back().end = gatheredText_.size();
    gatheredOpen_ = false;
}

bool SheetRows::replayRow() {
    if (replayAt_ >= gathered_.size()) return false;
    row_ = gathered_[replayAt_].row;
    for (; replayAt_ < gathered_.size() && gathered_[replayAt_].row == row_; ++replayAt_) {
        const Gathered& g = gathered_[replayAt_];
        cell(g.column).assign(gatheredText_, g.begin, g.end - g.begin);
    }
    return true;
}

bool SheetRows::nextRecord(Record& record) {
    int depth = 0;
    while (stream_.next(record)) {
        if (record.id == record::kBof) {
            ++depth;
        } else if (record.id == record::kEof) {
            if (depth == 0) return false;
            --depth;
        } else if (depth == 0) {
            return true;
        }
    }
    stream_.damaged("工作表没有结束");
}

bool SheetRows::next(std::uint32_t& row, RowCells& cells) {
    Record record;
    if (!(replaying_ ? replayRow() : streamRow(record))) return false;
    row = row_;
    cells.clear();
    const std::uint16_t width = std::max(used_, columns_);
    for (std::uint16_t column = 0; column < width; ++column) {
        if (column < used_) cells.text().append(texts_[column]);
        cells.endCell();
    }
    for (std::uint16_t column = 0; column < used_; ++column) texts_[column].clear();
    used_ = 0;
    return true;
}

bool SheetRows::streamRow(Record& record) {
    bool started = false;
    while (!ended_) {
        if (pendingId_ != 0) {
            record = {pendingId_, pendingData_};
            pendingId_ = 0;
        } else if (!nextRecord(record)) {
            ended_ = true;
            break;
        }
        if (!isCell(record.id) || record.data.size() < 6) continue;
        const std::uint32_t at = u16(record.data, 0);
        if (started && at != row_ && !gathering_) {
            pendingId_ = record.id;
            pendingData_.assign(record.data);
            break;
        }
        if (!started || gathering_) {
            row_ = at;
            started = true;
        }
        place(record);
    }
    return started;
}

std::string& SheetRows::cell(std::uint16_t column) {
    if (column >= kColumns) damagedAt(row_, column, "列号超出了 Excel 97-2003 的 256 列");
    if (gathering_) {
        closeGathered();
        gathered_.push_back({row_, column, 0, 0});
        gatheredOpen_ = true;
        gatheredCell_.clear();
        return gatheredCell_;
    }
    if (column >= used_) used_ = static_cast<std::uint16_t>(column + 1);
    texts_[column].clear();  // a cell stored twice: the later one stands
    return texts_[column];
}

void SheetRows::number(std::uint16_t column, std::uint16_t xf, double value) {
    std::string& text = cell(column);
    const auto kind = globals_.kindOf(xf);
    if (kind != celltext::FormatKind::Number) {
        text = kind == celltext::FormatKind::Date ? celltext::serialDate(value, globals_.date1904)
                                                  : celltext::serialTime(value);
        if (!text.empty()) return;
    }
    text = celltext::numberText(value);
}

void SheetRows::formula(std::uint16_t column, std::uint16_t xf, std::string_view data) {
    if (data.size() < 14) return;
    if (u16(data, 12) != 0xFFFF) return number(column, xf, f64(data, 6));
    const auto type = static_cast<std::uint8_t>(data[6]);
    const auto value = static_cast<std::uint8_t>(data[8]);
    std::string& text = cell(column);
    switch (type) {
        case 0: {  // a text, in the STRING record after the formula's own records
            while (stream_.peekId() == kShrFmla || stream_.peekId() == kArray ||
                   stream_.peekId() == kTable) {
                Record skipped;
                stream_.next(skipped);
            }
            if (stream_.peekId() != record::kString) return;
            Record string;
            stream_.next(string);
            ContinuedData in(string.data, stream_, true);
            appendText(in, false, text, scratch_);
            return;
        }
        case 1:
            text = booleanText(value);
            return;
        case 2:
            text = errorText(value);
            return;
        default:  // an empty text
            return;
    }
}

void SheetRows::place(const Record& record) {
    const std::string_view data = record.data;
    const std::uint16_t column = u16(data, 2);
    const std::uint16_t xf = u16(data, 4);
    switch (record.id) {
        case record::kLabelSst: {
            if (data.size() < 10) return;
            const std::uint32_t index = u32(data, 6);
            if (index >= globals_.strings.size()) damagedAt(row_, column, "引用了不存在的共享文本");
            cell(column).append(globals_.strings.at(index));
            return;
        }
        case record::kLabel:
        case record::kRString: {
            ContinuedData in(data.substr(6), stream_, false);
            appendText(in, false, cell(column), scratch_);
            return;
        }
        case record::kNumber:
            if (data.size() >= 14) number(column, xf, f64(data, 6));
            return;
        case record::kRk:
            if (data.size() >= 10) number(column, xf, rkValue(u32(data, 6)));
            return;
        case record::kMulRk: {
            // The first column, then a format and an RK number per cell, then the last column.
            const std::size_t count = (data.size() - 6) / 6;
            for (std::size_t i = 0; i < count; ++i)
                number(static_cast<std::uint16_t>(column + i), u16(data, 4 + 6 * i),
                       rkValue(u32(data, 6 + 6 * i)));
            return;
        }
        case record::kFormula:
            return formula(column, xf, data);
        case record::kBoolErr:
            if (data.size() >= 8)
                cell(column) = data[7] != 0 ? errorText(static_cast<std::uint8_t>(data[6]))
                                            : booleanText(static_cast<std::uint8_t>(data[6]));
            return;
        default:
            return;
    }
}

void SheetRows::damagedAt(std::uint32_t row, std::uint16_t column, const std::string& why) const {
    stream_.damaged("第 " + std::to_string(row + 1) + " 行第 " + std::to_string(column + 1) +
                    " 列" + why);
}

}  // namespace importing::biff
