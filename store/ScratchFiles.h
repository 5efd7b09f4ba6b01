#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

// The files the program writes beside a target before renaming them into place (exports,
// backups, restores): "<target>.quenvar-partial", or "<target>.quenvar-partialN" (N = 2, 3, ...)
// when that name is taken, and the engine's "-journal", "-wal" and "-shm" beside them. The infix
// tells them from the user's own files, so that what a killed write left behind can be removed
// without touching anything else.
namespace store {

inline constexpr std::string_view kScratchInfix = ".quenvar-partial";

// A scratch name beside target that no file has yet.
std::string freeScratchNameBeside(const std::string& target);

// Whether fileName (without its folder) is one of the program's scratch files.
bool isScratchFileName(std::string_view fileName);

// Removes from folder the program's scratch files (and those alsoOurs names) that were last
// changed more than maxAge ago: a younger one may belong to a write still running, in this
// program or in another copy of it. Failures are ignored; the next call tries again.
void removeStaleScratchFiles(const std::string& folder,
                             const std::function<bool(std::string_view fileName)>& alsoOurs = {},
                             std::chrono::seconds maxAge = std::chrono::hours(1));

}  // namespace store
