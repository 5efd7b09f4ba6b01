#include "store/ScratchFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace store {

namespace {

namespace fs = std::filesystem;

bool taken(const std::string& name) {
    std::error_code ec;
    const auto type = fs::symlink_status(name, ec).type();
    // An unreadable folder (none) is left to the writing, which reports it.
    return type != fs::file_type::not_found && type != fs::file_type::none;
}

bool endsWithCompanion(std::string_view& rest) {
    for (std::string_view companion : {"-journal", "-wal", "-shm"}) {
        if (rest.size() >= companion.size() &&
            rest.substr(rest.size() - companion.size()) == companion) {
            rest.remove_suffix(companion.size());
            return true;
        }
    }
    return false;
}

}  // namespace

std::string freeScratchNameBeside(const std::string& target) {
    const std::string first = target + std::string(kScratchInfix);
    std::string name = first;
    for (int n = 2; taken(name); ++n) name = first + std::to_string(n);
    return name;
}

bool isScratchFileName(std::string_view fileName) {
    const std::size_t at = fileName.rfind(kScratchInfix);
    if (at == std::string_view::npos || at == 0) return false;
    std::string_view rest = fileName.substr(at + kScratchInfix.size());
    endsWithCompanion(rest);
    if (rest.empty()) return true;
    return rest.front() != '0' && std::all_of(rest.begin(), rest.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) != 0;
           });
}

void removeStaleScratchFiles(const std::string& folder,
                             const std::function<bool(std::string_view fileName)>& alsoOurs,
                             std::chrono::seconds maxAge) {
    std::error_code ec;
    const auto before = fs::file_time_type::clock::now() - maxAge;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isScratchFileName(name) && !(alsoOurs && alsoOurs(name))) continue;
        std::error_code fileError;
        if (!it->is_regular_file(fileError)) continue;
        const auto changed = it->last_write_time(fileError);
        if (!fileError && changed < before) fs::remove(it->path(), fileError);
    }
}

}  // namespace store
