#include "importing/readers/SheetReader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "importing/readers/CsvReader.h"
#include "importing/readers/ReadMessages.h"
#include "importing/readers/WholeFile.h"
#include "importing/readers/XlsReader.h"
#include "importing/readers/XlsxReader.h"

namespace importing {

namespace {

enum class Container { Compound, Zip, Text, Other };

// A workbook is known by its first bytes, whatever its name says: a .xlsx saved with the name
// .xls is read all the same, and so is the tab-separated text that many shop and web systems
// save as ".xls". A web page saved so (<html>…) is none of them.
Container containerOf(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw ReadError(messages::cannotOpen(fileNameOf(path)));
    std::string head(4096, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file.get()));
    if (head.rfind("\xD0\xCF\x11\xE0", 0) == 0) return Container::Compound;
    if (head.rfind("PK\x03\x04", 0) == 0) return Container::Zip;
    if (head.rfind("\xEF\xBB\xBF", 0) == 0) head.erase(0, 3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || head[first] == '<' || head.find('\0') != std::string::npos)
        return Container::Other;
    return Container::Text;
}

}  // namespace

SheetFacts readSheet(const std::string& path, const RowSink& sink, const ReadOptions& options) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".csv") return readCsv(path, sink);
    if (extension != ".xls" && extension != ".xlsx")
        throw ReadError(messages::unknownType(fileNameOf(path)));
    switch (containerOf(path)) {
        case Container::Compound:
            return readXls(path, sink, options);
        case Container::Zip:
            return readXlsx(path, sink, options);
        case Container::Text:
            return readCsv(path, sink);
        default:
            throw ReadError(messages::notAWorkbook(fileNameOf(path)));
    }
}

}  // namespace importing
