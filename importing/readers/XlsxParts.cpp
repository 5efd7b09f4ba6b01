#include "importing/readers/XlsxParts.h"

#include <map>

#include "importing/readers/ReadMessages.h"
#include "importing/readers/SheetReader.h"

namespace importing::xlsx {

namespace {

std::string text(QStringView view) { return view.toString().toStdString(); }

bool isTrue(QStringView value) {
    return value == QLatin1StringView("1") || value == QLatin1StringView("true");
}

// The member a relationship's target names, from the part whose relationships these are.
std::string resolve(const std::string& sourcePart, std::string target) {
    if (!target.empty() && target.front() == '/') return target.substr(1);
    std::string base = sourcePart.substr(0, sourcePart.rfind('/') + 1);
    while (target.rfind("../", 0) == 0) {
        target.erase(0, 3);
        if (!base.empty()) base.pop_back();
        base = base.substr(0, base.rfind('/') + 1);
    }
    return base + target;
}

std::string relationshipsOf(const std::string& part) {
    const std::size_t slash = part.rfind('/') + 1;
    return part.substr(0, slash) + "_rels/" + part.substr(slash) + ".rels";
}

struct Relationship {
    std::string type;  // the last word of the type: officeDocument, worksheet, styles …
    std::string target;
};

std::map<std::string, Relationship> readRelationships(const ZipArchive& archive,
                                                      const std::string& part,
                                                      const std::string& file) {
    std::map<std::string, Relationship> relationships;
    const std::string rels = relationshipsOf(part);
    const auto device = archive.open(rels);
    if (!device) return relationships;
    QXmlStreamReader reader(device.get());
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement ||
            reader.name() != QLatin1StringView("Relationship"))
            continue;
        const auto attributes = reader.attributes();
        std::string type = text(attributes.value("Type"));
        type = type.substr(type.rfind('/') + 1);
        relationships[text(attributes.value("Id"))] = {
            type, resolve(part, text(attributes.value("Target")))};
    }
    throwIfBroken(reader, rels, file);
    return relationships;
}

std::string targetOfType(const std::map<std::string, Relationship>& relationships,
                         const std::string& type) {
    for (const auto& [id, relationship] : relationships)
        if (relationship.type == type) return relationship.target;
    return {};
}

[[noreturn]] void notAWorkbook(const std::string& file) {
    throw ReadError(messages::badWorkbook(file, "它不是完整的 .xlsx 工作簿，文件可能已损坏。"));
}

}  // namespace

void SharedStrings::add(std::string_view text) {
    text_.append(text);
    ends_.push_back(text_.size());
}

std::string_view SharedStrings::at(std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void throwIfBroken(const QXmlStreamReader& reader, const std::string& part,
                   const std::string& file) {
    if (!reader.hasError()) return;
    throw ReadError(messages::badWorkbook(file, "工作簿已损坏（" + part + " 第 " +
                                                    std::to_string(reader.lineNumber()) + " 行：" +
                                                    reader.errorString().toStdString() + "）。"));
}

std::string richText(QXmlStreamReader& reader) {
    std::string out;
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (reader.name() == QLatin1StringView("rPh")) {
                reader.skipCurrentElement();
                --depth;
            } else if (reader.name() == QLatin1StringView("t")) {
                out += reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
                --depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return out;
}

Workbook readWorkbook(const ZipArchive& archive, const std::string& file) {
    const auto packageRelationships = readRelationships(archive, "", file);
    std::string part = targetOfType(packageRelationships, "officeDocument");
    if (part.empty()) part = "xl/workbook.xml";
    const auto device = archive.open(part);
    if (!device) notAWorkbook(file);
    const auto relationships = readRelationships(archive, part, file);

    Workbook book;
    book.sharedStringsPart = targetOfType(relationships, "sharedStrings");
    book.stylesPart = targetOfType(relationships, "styles");
    QXmlStreamReader reader(device.get());
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attributes = reader.attributes();
        if (reader.name() == QLatin1StringView("workbookPr")) {
            book.date1904 = isTrue(attributes.value("date1904"));
        } else if (reader.name() == QLatin1StringView("sheet")) {
            std::string id;
            for (const auto& attribute : attributes)
                if (attribute.name() == QLatin1StringView("id")) id = text(attribute.value());
            const auto found = relationships.find(id);
            if (found == relationships.end()) notAWorkbook(file);
            book.sheets.push_back({text(attributes.value("name")), found->second.target});
        }
    }
    throwIfBroken(reader, part, file);
    if (book.sheets.empty()) notAWorkbook(file);
    return book;
}

SharedStrings readSharedStrings(const ZipArchive& archive, const std::string& part,
                                const std::string& file) {
    SharedStrings strings;
    if (part.empty()) return strings;
    const auto device = archive.open(part);
    if (!device) return strings;
    QXmlStreamReader reader(device.get());
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1StringView("si"))
            strings.add(richText(reader));
    }
    throwIfBroken(reader, part, file);
    return strings;
}

std::vector<celltext::FormatKind> readCellFormats(const ZipArchive& archive,
                                                  const std::string& part,
                                                  const std::string& file) {
    std::vector<celltext::FormatKind> kinds;
    if (part.empty()) return kinds;
    const auto device = archive.open(part);
    if (!device) return kinds;
    std::map<int, celltext::FormatKind> customFormats;
    bool inCellFormats = false;
    QXmlStreamReader reader(device.get());
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::EndElement && reader.name() == QLatin1StringView("cellXfs"))
            inCellFormats = false;
        if (token != QXmlStreamReader::StartElement) continue;
        const auto attributes = reader.attributes();
        if (reader.name() == QLatin1StringView("numFmt")) {
            customFormats[attributes.value("numFmtId").toInt()] =
                celltext::formatKind(text(attributes.value("formatCode")));
        } else if (reader.name() == QLatin1StringView("cellXfs")) {
            inCellFormats = true;
        } else if (inCellFormats && reader.name() == QLatin1StringView("xf")) {
            const int id = attributes.value("numFmtId").toInt();
            const auto custom = customFormats.find(id);
            kinds.push_back(custom != customFormats.end() ? custom->second
                                                          : celltext::builtinFormatKind(id));
        }
    }
    throwIfBroken(reader, part, file);
    return kinds;
}

}  // namespace importing::xlsx
