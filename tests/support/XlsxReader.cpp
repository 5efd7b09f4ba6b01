#include "tests/support/XlsxReader.h"

#include <libxml/xmlreader.h>
#include <zip.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace testsupport {

namespace {

struct ZipCloser {
    void operator()(zip_t* archive) const noexcept { zip_discard(archive); }
};
struct ReaderFree {
    void operator()(xmlTextReaderPtr reader) const noexcept { xmlFreeTextReader(reader); }
};
using XmlReader = std::unique_ptr<xmlTextReader, ReaderFree>;

// A member of the archive, or nullopt-like false when it is missing.
bool readMember(zip_t* archive, const std::string& name, std::string& contents) {
    zip_stat_t stat;
    if (zip_stat(archive, name.c_str(), 0, &stat) != 0) return false;
    zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
    if (file == nullptr) return false;
    contents.resize(stat.size);
    const zip_int64_t read = zip_fread(file, contents.data(), stat.size);
    zip_fclose(file);
    return read == static_cast<zip_int64_t>(stat.size);
}

XmlReader parse(const std::string& xml) {
    XmlReader reader(xmlReaderForMemory(xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8",
                                        XML_PARSE_NONET | XML_PARSE_HUGE));
    if (!reader) throw std::runtime_error("not XML");
    return reader;
}

std::string name(xmlTextReaderPtr reader) {
    const xmlChar* n = xmlTextReaderConstLocalName(reader);
    return n != nullptr ? reinterpret_cast<const char*>(n) : "";
}

bool isStart(xmlTextReaderPtr reader) {
    return xmlTextReaderNodeType(reader) == XML_READER_TYPE_ELEMENT;
}

std::string attribute(xmlTextReaderPtr reader, const char* attributeName) {
    xmlChar* value = xmlTextReaderGetAttribute(reader, BAD_CAST attributeName);
    if (value == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

std::string innerText(xmlTextReaderPtr reader) {
    xmlChar* value = xmlTextReaderReadString(reader);
    if (value == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Undoes the format's "_xHHHH_" escapes, as Excel does when it reads a text.
std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_') {
            char* end = nullptr;
            const std::string hex = text.substr(i + 2, 4);
            const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 4) {
                appendUtf8(out, static_cast<unsigned>(code));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// "BC12" -> (11, 54): row and column from 0.
std::pair<unsigned, unsigned> cellPosition(const std::string& reference) {
    unsigned column = 0;
    std::size_t i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i)
        column = column * 26 + static_cast<unsigned>(reference[i] - 'A' + 1);
    return {static_cast<unsigned>(std::stoul(reference.substr(i))) - 1, column - 1};
}

std::vector<std::string> sharedStrings(zip_t* archive) {
    std::vector<std::string> strings;
    std::string xml;
    if (!readMember(archive, "xl/sharedStrings.xml", xml)) return strings;
    XmlReader reader = parse(xml);
    while (xmlTextReaderRead(reader.get()) == 1) {
        if (!isStart(reader.get())) continue;
        if (name(reader.get()) == "si") strings.emplace_back();
        if (name(reader.get()) == "t") strings.back() += unescaped(innerText(reader.get()));
    }
    return strings;
}

void readStyles(zip_t* archive, XlsxBook& out) {
    std::string xml;
    if (!readMember(archive, "xl/styles.xml", xml)) return;
    XmlReader reader = parse(xml);
    bool inFonts = false, inCellXfs = false;
    while (xmlTextReaderRead(reader.get()) == 1) {
        xmlTextReaderPtr r = reader.get();
        const std::string element = name(r);
        if (xmlTextReaderNodeType(r) == XML_READER_TYPE_END_ELEMENT) {
            if (element == "fonts") inFonts = false;
            if (element == "cellXfs") inCellXfs = false;
            continue;
        }
        if (!isStart(r)) continue;
        if (element == "fonts") inFonts = true;
        if (element == "cellXfs") inCellXfs = true;
        if (inFonts && element == "font") out.fonts.emplace_back();
        if (inFonts && element == "b") out.fonts.back().bold = attribute(r, "val") != "0";
        if (inFonts && element == "sz") out.fonts.back().points = std::stod(attribute(r, "val"));
        if (inFonts && element == "name") out.fonts.back().name = attribute(r, "val");
        if (inFonts && element == "charset")
            out.fonts.back().charset = std::stoi(attribute(r, "val"));
        if (inCellXfs && element == "xf")
            out.formatFonts.push_back(std::stoi(attribute(r, "fontId")));
    }
}

void readSheet(zip_t* archive, const std::string& member, const std::vector<std::string>& strings,
               XlsxBook& out, ReadSheet& sheet) {
    std::string xml;
    if (!readMember(archive, member, xml)) throw std::runtime_error("no " + member);
    XmlReader reader = parse(xml);
    std::pair<unsigned, unsigned> at;
    std::string type;
    while (xmlTextReaderRead(reader.get()) == 1) {
        xmlTextReaderPtr r = reader.get();
        if (!isStart(r)) continue;
        const std::string element = name(r);
        if (element == "col") {
            const unsigned first = static_cast<unsigned>(std::stoul(attribute(r, "min")));
            const unsigned last = static_cast<unsigned>(std::stoul(attribute(r, "max")));
            for (unsigned c = first; c <= last; ++c)
                out.columnWidths[c - 1] = std::stod(attribute(r, "width"));
        } else if (element == "c") {
            at = cellPosition(attribute(r, "r"));
            type = attribute(r, "t");
            out.cellTypes[at] = type;
            const std::string style = attribute(r, "s");
            if (!style.empty()) out.cellFormats[at] = std::stoi(style);
            sheet.rows = std::max(sheet.rows, at.first + 1);
            sheet.columns = std::max(sheet.columns, at.second + 1);
        } else if (element == "v") {
            const std::string value = innerText(r);
            if (type == "s")
                sheet.cells[at] = textCell(strings.at(std::stoul(value)));
            else if (type == "str")
                sheet.cells[at] = textCell(unescaped(value));
            else
                sheet.cells[at] = numberCell(std::strtod(value.c_str(), nullptr));
        } else if (element == "t" && type == "inlineStr") {
            sheet.cells[at] = textCell(unescaped(innerText(r)));
        }
    }
}

}  // namespace

const XlsxFont& XlsxBook::fontAt(unsigned row, unsigned column) const {
    const auto format = cellFormats.find({row, column});
    const int xf = format == cellFormats.end() ? 0 : format->second;
    return fonts.at(static_cast<std::size_t>(formatFonts.at(static_cast<std::size_t>(xf))));
}

XlsxBook readXlsxWorkbook(const std::string& file) {
    XlsxBook out;
    int error = 0;
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open(file.c_str(), ZIP_RDONLY, &error));
    if (!archive) {
        out.book.error = "zip_open: " + std::to_string(error);
        return out;
    }
    try {
        std::string xml;
        if (!readMember(archive.get(), "xl/workbook.xml", xml))
            throw std::runtime_error("no xl/workbook.xml");
        XmlReader reader = parse(xml);
        while (xmlTextReaderRead(reader.get()) == 1)
            if (isStart(reader.get()) && name(reader.get()) == "sheet") {
                out.book.sheets.emplace_back();
                out.book.sheets.back().name = attribute(reader.get(), "name");
            }
        const std::vector<std::string> strings = sharedStrings(archive.get());
        readStyles(archive.get(), out);
        for (std::size_t s = 0; s < out.book.sheets.size(); ++s)
            readSheet(archive.get(), "xl/worksheets/sheet" + std::to_string(s + 1) + ".xml",
                      strings, out, out.book.sheets[s]);
        out.book.opened = true;
    } catch (const std::exception& e) {
        out.book.error = e.what();
    }
    return out;
}

}  // namespace testsupport
