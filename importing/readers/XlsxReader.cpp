#include "importing/readers/XlsxReader.h"

#include "importing/readers/ReadMessages.h"
#include "importing/readers/RowCells.h"
#include "importing/readers/WholeFile.h"
#include "importing/readers/XlsxParts.h"

namespace importing {

namespace {

// The column (from 0) of a cell reference such as "AB12"; -1 when it has no letters.
long columnOf(QStringView reference) {
    long column = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        const char16_t c = reference[i].unicode();
        if (c >= u'A' && c <= u'Z')
            column = column * 26 + (c - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            column = column * 26 + (c - u'a' + 1);
        else
            break;
        if (column > 16384) return -1;  // past Excel's last column XFD
    }
    return i == 0 ? -1 : column - 1;
}

class SheetStream {
  public:
    SheetStream(const xlsx::Workbook& book, const xlsx::SharedStrings& strings,
                const std::vector<celltext::FormatKind>& formats, const std::string& part,
                const std::string& file)
        : book_(book), strings_(strings), formats_(formats), part_(part), file_(file) {}

    void read(QIODevice& device, const RowSink& sink, SheetFacts& facts) {
        QXmlStreamReader reader(&device);
        while (!reader.atEnd()) {
            const auto token = reader.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (reader.name() == QLatin1StringView("row")) {
                    const auto r = reader.attributes().value("r");
                    row_ = r.isEmpty() ? row_ + 1 : r.toLongLong();
                    column_ = -1;
                    cells_.clear();
                } else if (reader.name() == QLatin1StringView("c")) {
                    readCell(reader);
                }
            } else if (token == QXmlStreamReader::EndElement &&
                       reader.name() == QLatin1StringView("row") && !cells_.blank()) {
                ++facts.rows;
                if (!sink(row_, cells_.views())) return;
            }
        }
        xlsx::throwIfBroken(reader, part_, file_);
    }

  private:
    void readCell(QXmlStreamReader& reader) {
        const auto attributes = reader.attributes();
        const long column = columnOf(attributes.value("r"));
        column_ = column > column_ ? column : column_ + 1;
        const QString type = attributes.value("t").toString();
        const long style = attributes.value("s").toLong();
        std::string value;
        while (!reader.atEnd()) {
            const auto token = reader.readNext();
            if (token == QXmlStreamReader::EndElement && reader.name() == QLatin1StringView("c"))
                break;
            if (token != QXmlStreamReader::StartElement) continue;
            if (reader.name() == QLatin1StringView("v"))
                value = reader.readElementText().toStdString();
            else if (reader.name() == QLatin1StringView("is"))
                value = xlsx::richText(reader);
            else
                reader.skipCurrentElement();  // the formula, whose last value <v> holds
        }
        cells_.setCell(static_cast<std::size_t>(column_), cellText(type, style, value));
    }

    std::string cellText(const QString& type, long style, const std::string& value) const {
        if (type == QLatin1StringView("s")) {
            std::size_t index = 0;
            try {
                index = std::stoul(value);
            } catch (const std::exception&) {
                index = strings_.size();
            }
            if (index >= strings_.size())
                throw ReadError(messages::badWorkbook(
                    file_, "工作簿已损坏（第 " + std::to_string(row_) + " 行第 " +
                               std::to_string(column_ + 1) + " 列引用了不存在的共享文本）。"));
            return std::string(strings_.at(index));
        }
        if (type == QLatin1StringView("b")) return value == "1" ? "TRUE" : "FALSE";
        if (type == QLatin1StringView("d")) return value.substr(0, 10);
        if (!type.isEmpty() && type != QLatin1StringView("n")) return value;  // str, inlineStr, e
        if (value.empty()) return value;
        const auto kind = style >= 0 && static_cast<std::size_t>(style) < formats_.size()
                              ? formats_[static_cast<std::size_t>(style)]
                              : celltext::FormatKind::Number;
        if (kind != celltext::FormatKind::Number) {
            double serial = 0;
            try {
                serial = std::stod(value);
            } catch (const std::exception&) {
                return value;
            }
            const std::string date = kind == celltext::FormatKind::Date
                                         ? celltext::serialDate(serial, book_.date1904)
                                         : celltext::serialTime(serial);
            if (!date.empty()) return date;
        }
        return celltext::numberText(std::string_view(value));
    }

    const xlsx::Workbook& book_;
    const xlsx::SharedStrings& strings_;
    const std::vector<celltext::FormatKind>& formats_;
    const std::string& part_;
    const std::string& file_;
    std::int64_t row_ = 0;
    long column_ = -1;
    RowCells cells_;
};

}  // namespace

SheetFacts readXlsx(const std::string& path, const RowSink& sink, const ReadOptions& options) {
    const std::string file = fileNameOf(path);
    const ZipArchive archive(path, file);
    const xlsx::Workbook book = xlsx::readWorkbook(archive, file);
    SheetFacts facts;
    facts.format = "xlsx";
    for (const auto& sheet : book.sheets) facts.sheetNames.push_back(sheet.name);
    const int count = static_cast<int>(book.sheets.size());
    if (options.sheet < 0 || options.sheet >= count)
        throw ReadError(messages::noSheet(file, options.sheet, count));

    const auto strings = xlsx::readSharedStrings(archive, book.sharedStringsPart, file);
    const auto formats = xlsx::readCellFormats(archive, book.stylesPart, file);
    const std::string& part = book.sheets[static_cast<std::size_t>(options.sheet)].part;
    const auto device = archive.open(part);
    if (!device)
        throw ReadError(messages::badWorkbook(file, "工作簿已损坏（缺少工作表 " + part + "）。"));
    SheetStream(book, strings, formats, part, file).read(*device, sink, facts);
    return facts;
}

}  // namespace importing
