#pragma once

#include <string>

namespace importing {

// The bytes of a file, read at once. Throws ReadError naming the file when it cannot be read.
std::string readWholeFile(const std::string& path);

// The name of path without its folders, as messages name a file.
std::string fileNameOf(const std::string& path);

}  // namespace importing
