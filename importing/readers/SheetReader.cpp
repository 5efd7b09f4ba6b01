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

enum class Container { Compound, Zip, Other };

// A workbook is known by its first bytes, whatever its name says: a .xlsx saved with the name
// .xls (as some web shops send them) is read all the same.
Container containerOf(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw ReadError(messages::cannotOpen(fileNameOf(path)));
    unsigned char head[4] = {};
    if (std::fread(head, 1, sizeof head, file.get()) != sizeof head) return Container::Other;
    if (head[0] == 0xD0 && head[1] == 0xCF && head[2] == 0x11 && head[3] == 0xE0)
        return Container::Compound;
    if (head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4) return Container::Zip;
    return Container::Other;
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
        default:
            throw ReadError(messages::notAWorkbook(fileNameOf(path)));
    }
}

}  // namespace importing
