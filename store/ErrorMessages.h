#pragma once

#include <string>

namespace store {

// What the user is told when SQLite fails on file with code (a primary or an extended result
// code): what happened, which file, and what to do about it. Empty for codes that have no
// message of their own (a statement's own mistake, a refused value): the engine's text stands.
std::string failureMessage(int code, const std::string& file);

// SQLITE_READONLY_DIRECTORY of newer engines (the folder takes no journal); the program's engine
// predates it, and the program uses it for a read-only folder found before the engine fails.
inline constexpr int kReadOnlyFolderCode = 8 | (6 << 8);

// The primary code of a primary or extended result code.
constexpr int primaryCode(int code) noexcept { return code & 0xff; }

// Whether code says the file is damaged (or is no database of ours any more).
bool isDamageCode(int code) noexcept;

// Empty when this process may write file and create files beside it (the engine's journal);
// otherwise what the user is told at start: the data can be looked at but not saved, and why.
std::string readOnlyNotice(const std::string& file);

}  // namespace store
