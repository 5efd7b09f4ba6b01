#include "importing/readers/SheetReader.h"

#include <algorithm>
#include <filesystem>

#include "importing/readers/CsvReader.h"
#include "importing/readers/ReadMessages.h"
#include "importing/readers/WholeFile.h"

namespace importing {

SheetFacts readSheet(const std::string& path, const RowSink& sink, const ReadOptions& options) {
    (void)options;
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".csv") return readCsv(path, sink);
    throw ReadError(messages::unknownType(fileNameOf(path)));
}

}  // namespace importing
