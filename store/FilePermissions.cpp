#include "store/FilePermissions.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace store {

namespace {

namespace fs = std::filesystem;

std::optional<fs::perms> permissionsOf(const std::string& file) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::exists(status)) return std::nullopt;
    return status.permissions() & fs::perms::all;
}

}  // namespace

void limitPermissionsTo(const std::string& file, const std::string& reference) {
    const auto allowed = permissionsOf(reference);
    if (!allowed) return;
    const fs::perms lacking = fs::perms::all & ~*allowed;
    if (lacking != fs::perms::none) fs::permissions(file, lacking, fs::perm_options::remove);
}

bool copyPermissionsFrom(const std::string& file, const std::string& reference) {
    const auto wanted = permissionsOf(reference);
    if (!wanted) return false;
    fs::permissions(file, *wanted, fs::perm_options::replace);
    return true;
}

}  // namespace store
