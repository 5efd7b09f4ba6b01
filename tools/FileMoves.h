#pragma once

#include <string>
#include <system_error>

namespace tools {

// Makes a new empty file beside base with a name no other file has ("<base>.making-XXXXXX"),
// created exclusively so that no existing file is ever taken over. Returns its name; throws
// StoreError when the folder cannot be written.
std::string makeFreeFileBeside(const std::string& base);

// Gives the file from the name to, in one step that never replaces a file named to, even one
// made an instant before. On failure the file keeps its name and ec tells why
// (std::errc::file_exists when to is taken).
bool moveWithoutReplacing(const std::string& from, const std::string& to, std::error_code& ec);

}  // namespace tools
