#include "store/TableCache.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace store {

namespace {

// Table names compare without regard to ASCII case, as in SQL.
std::string tableKey(std::string_view table) {
    std::string key(table);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

}  // namespace

struct TableCache::File {
    std::string path;  // absolute, as it was when the file was first read; empty for a server
    std::unique_ptr<ChangeWatch> watch;
    struct Kept {
        std::int64_t version = 0;  // the table's version the rows were read at
        Table table;
    };
    std::map<std::string, Kept> tables;

    // The table's version now; empty when the watch cannot tell (locked, gone, unreachable).
    std::optional<std::int64_t> currentVersion(const std::string& table) const noexcept {
        try {
            return watch->version(table);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
};

TableCache& TableCache::instance() {
    static TableCache cache;
    return cache;
}

TableCache::~TableCache() = default;

void TableCache::clear() {
    files_.clear();
    fileReads_.clear();
}

void TableCache::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) files_.clear();
}

std::size_t TableCache::memoryUsage() const {
    std::size_t bytes = 0;
    for (const auto& [identity, file] : files_)
        for (const auto& [name, kept] : file->tables) bytes += kept.table.rows->memoryUsage();
    return bytes;
}

int TableCache::fileReads(std::string_view table) const {
    auto it = fileReads_.find(tableKey(table));
    return it == fileReads_.end() ? 0 : it->second;
}

// Files that are gone or were replaced under their name are not read through these entries
// again; their watchers would only hold the old files open.
void TableCache::forgetReplacedFiles() {
    for (auto it = files_.begin(); it != files_.end();) {
        if (!it->second->path.empty() && fileIdentityOf(it->second->path) != it->first)
            it = files_.erase(it);
        else
            ++it;
    }
}

TableCache::File* TableCache::watch(const Database& db) {
    const Database::FileIdentity identity = db.fileIdentity();
    if (!identity.known()) return nullptr;
    if (auto it = files_.find(identity); it != files_.end()) return it->second.get();

    forgetReplacedFiles();
    auto file = std::make_unique<File>();
    if (!db.isServer()) {
        std::error_code ec;
        file->path = std::filesystem::absolute(db.file(), ec).string();
        if (ec) return nullptr;
    }
    try {
        file->watch = db.engine().watchChanges();
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!file->watch) return nullptr;
    return files_.emplace(identity, std::move(file)).first->second.get();
}

TableCache::Read TableCache::begin(const Database& db, std::string_view table) {
    Read read;
    read.table_ = tableKey(table);
    ++fileReads_[read.table_];  // taken back below when the table is found
    File* file = enabled_ ? watch(db) : nullptr;
    if (file == nullptr) return read;
    const std::optional<std::int64_t> version = file->currentVersion(std::string(table));
    if (!version) {
        files_.erase(db.fileIdentity());
        return read;
    }
    if (file->watch->oneVersionForAllTables())
        std::erase_if(file->tables,
                      [&](const auto& kept) { return kept.second.version != *version; });
    read.cache_ = this;
    read.file_ = db.fileIdentity();
    read.version_ = *version;
    if (auto it = file->tables.find(read.table_); it != file->tables.end()) {
        if (it->second.version == *version) {
            read.found_ = &it->second.table;
            --fileReads_[read.table_];
        } else {
            file->tables.erase(it);  // something was committed since it was read
        }
    }
    return read;
}

void TableCache::Read::keep(const std::vector<FieldDef>& fields,
                            std::shared_ptr<const TableRows> rows) {
    if (cache_ == nullptr || found_ != nullptr) return;
    auto it = cache_->files_.find(file_);
    if (it == cache_->files_.end()) return;
    // Kept only when no later read has kept the table at a newer version meanwhile.
    auto& tables = it->second->tables;
    if (auto kept = tables.find(table_); kept != tables.end() && kept->second.version > version_)
        return;
    tables[table_] = File::Kept{version_, Table{fields, std::move(rows)}};
}

}  // namespace store
