#include "importing/readers/CsvReader.h"

#include <array>
#include <optional>

#include "importing/readers/Gb18030.h"
#include "importing/readers/ReadMessages.h"
#include "importing/readers/RowCells.h"
#include "importing/readers/WholeFile.h"

namespace importing {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// A text with at least this many well-formed UTF-8 characters for each broken byte is UTF-8
// that was damaged; GBK text read as UTF-8 breaks far more often than it forms a character.
constexpr std::size_t kDamagedUtf8 = 8;
// In the order that wins a tie: a tab stands in text less often than a comma.
constexpr std::array<char, 3> kSeparators = {'\t', ',', ';'};

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// How often each separator stands outside quotes in the line beginning at pos; pos is left at
// the start of the next line.
std::array<int, 3> countSeparators(std::string_view text, std::size_t& pos) {
    std::array<int, 3> counts{};
    bool quoted = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
            ++pos;
            break;
        } else if (!quoted) {
            for (std::size_t s = 0; s < kSeparators.size(); ++s)
                if (c == kSeparators[s]) ++counts[s];
        }
    }
    return counts;
}

// The field's raw bytes, turned into UTF-8 text in the row.
class FieldDecoder {
  public:
    FieldDecoder(bool gb18030, bool checkUtf8, std::string encoding, const std::string& file)
        : checkUtf8_(checkUtf8), encoding_(std::move(encoding)), file_(file) {
        if (gb18030) gb_.emplace();
    }

    void append(std::string_view raw, std::int64_t row, RowCells& cells) {
        if (gb_) {
            if (!gb_->appendUtf8(raw, cells.text()))
                throw ReadError(messages::badBytes(file_, row, encoding_));
            return;
        }
        if (checkUtf8_ && !isStrictUtf8(raw))
            throw ReadError(messages::badBytes(file_, row, encoding_));
        cells.text().append(raw);
    }

  private:
    std::optional<Gb18030Decoder> gb_;
    bool checkUtf8_;
    std::string encoding_;
    const std::string& file_;
};

class CsvParser {
  public:
    CsvParser(std::string_view text, char separator, FieldDecoder& decoder, const std::string& file)
        : text_(text), separator_(separator), decoder_(decoder), file_(file) {}

    // Reads the next record into cells; false at the end of the text.
    bool next(RowCells& cells) {
        if (pos_ >= text_.size()) return false;
        ++row_;
        cells.clear();
        for (;;) {
            if (pos_ < text_.size() && text_[pos_] == '"')
                quotedField(cells);
            else
                plainField(cells);
            cells.endCell();
            if (pos_ < text_.size() && text_[pos_] == separator_) {
                ++pos_;
                continue;
            }
            endLine();
            return true;
        }
    }

    std::int64_t row() const { return row_; }

  private:
    bool atLineEnd() const {
        return pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r';
    }

    void plainField(RowCells& cells) {
        const std::size_t begin = pos_;
        while (!atLineEnd() && text_[pos_] != separator_) ++pos_;
        decoder_.append(text_.substr(begin, pos_ - begin), row_, cells);
    }

    // "…" with "" for a quote; what stands between the closing quote and the separator is kept
    // as it is, as spreadsheet programs do.
    void quotedField(RowCells& cells) {
        ++pos_;
        scratch_.clear();
        for (;;) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string_view::npos) throw ReadError(messages::openQuote(file_, row_));
            scratch_.append(text_.substr(pos_, quote - pos_));
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                scratch_.push_back('"');
                ++pos_;
                continue;
            }
            break;
        }
        const std::size_t begin = pos_;
        while (!atLineEnd() && text_[pos_] != separator_) ++pos_;
        scratch_.append(text_.substr(begin, pos_ - begin));
        decoder_.append(scratch_, row_, cells);
    }

    void endLine() {
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }

    std::string_view text_;
    char separator_;
    FieldDecoder& decoder_;
    const std::string& file_;
    std::size_t pos_ = 0;
    std::int64_t row_ = 0;
    std::string scratch_;
};

}  // namespace

char detectCsvSeparator(std::string_view text) {
    constexpr int kLinesCompared = 5;
    std::size_t pos = 0;
    const auto first = countSeparators(text, pos);
    std::array<bool, 3> steady{true, true, true};
    for (int line = 0; line < kLinesCompared && pos < text.size(); ++line) {
        const auto counts = countSeparators(text, pos);
        for (std::size_t s = 0; s < kSeparators.size(); ++s)
            if (counts[s] != first[s]) steady[s] = false;
    }
    int best = -1;
    for (int s = 0; s < 3; ++s) {
        if (first[s] == 0) continue;
        if (best < 0 || steady[s] > steady[best] ||
            (steady[s] == steady[best] && first[s] > first[best]))
            best = s;
    }
    return best < 0 ? ',' : kSeparators[static_cast<std::size_t>(best)];
}

SheetFacts readCsvText(std::string_view bytes, const std::string& file, const RowSink& sink) {
    SheetFacts facts;
    facts.format = "csv";
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"))
        throw ReadError(messages::utf16(file));
    bool gb18030 = false;
    bool checkUtf8 = false;
    if (startsWith(bytes, kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        facts.encoding = "UTF-8 (BOM)";
        checkUtf8 = true;  // the file says it is UTF-8: a stray byte is damage, not GB18030
    } else if (const auto census = utf8Census(bytes); census.invalid == 0) {
        facts.encoding = "UTF-8";
    } else if (census.invalid * kDamagedUtf8 <= census.multiByte) {
        // UTF-8 with a few broken bytes: read as GB18030 it would turn into other characters
        // row by row, so the row of the first broken byte is told instead.
        facts.encoding = "UTF-8";
        checkUtf8 = true;
    } else {
        facts.encoding = "GB18030";
        gb18030 = true;
    }
    facts.separator = detectCsvSeparator(bytes);

    FieldDecoder decoder(gb18030, checkUtf8, gb18030 ? "GB18030" : "UTF-8", file);
    CsvParser parser(bytes, facts.separator, decoder, file);
    RowCells cells;
    while (parser.next(cells)) {
        if (cells.blank()) continue;
        ++facts.rows;
        if (!sink(parser.row(), cells.views())) break;
    }
    return facts;
}

SheetFacts readCsv(const std::string& path, const RowSink& sink) {
    const std::string bytes = readWholeFile(path);
    return readCsvText(bytes, fileNameOf(path), sink);
}

}  // namespace importing
