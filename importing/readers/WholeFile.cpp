#include "importing/readers/WholeFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "importing/readers/ReadMessages.h"
#include "importing/readers/SheetReader.h"

namespace importing {

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string readWholeFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw ReadError(messages::cannotOpen(fileNameOf(path)));
    std::string bytes;
    std::error_code ignored;
    const auto size = std::filesystem::file_size(path, ignored);
    if (!ignored) bytes.reserve(static_cast<std::size_t>(size));
    char chunk[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
    if (std::ferror(file.get())) throw ReadError(messages::cannotOpen(fileNameOf(path)));
    return bytes;
}

}  // namespace importing
