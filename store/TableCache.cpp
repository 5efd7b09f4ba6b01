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
    std::string path;  // absolute, as it was when the file was first read
    std::unique_ptr<Database> watcher;
    std::int64_t version = 0;  // the version the tables were read at
    std::map<std::string, Table> tables;

    // The file's version now; empty when the watching connection cannot tell (locked, gone).
    std::optional<std::int64_t> currentVersion() const noexcept {
        try {
            // Finished at once: the watcher never keeps a read open that would hold up writers.
            Statement version(*watcher, "PRAGMA data_version");
            if (version.step()) return version.int64Value(0);
        } catch (const std::exception&) {
        }
        return std::nullopt;
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
        for (const auto& [name, table] : file->tables) bytes += table.rows->memoryUsage();
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
        if (fileIdentityOf(it->second->path) != it->first)
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
    std::error_code ec;
    auto file = std::make_unique<File>();
    file->path = std::filesystem::absolute(db.file(), ec).string();
    if (ec) return nullptr;
    try {
        file->watcher = std::make_unique<Database>(file->path, db.key_, Database::Mode::ReadOnly);
    } catch (const std::exception&) {
        return nullptr;
    }
    // The name may have been given to another file since db opened it.
    if (file->watcher->fileIdentity() != identity) return nullptr;
    const std::optional<std::int64_t> version = file->currentVersion();
    if (!version) return nullptr;
    file->version = *version;
    return files_.emplace(identity, std::move(file)).first->second.get();
}

TableCache::Read TableCache::begin(const Database& db, std::string_view table) {
    Read read;
    read.table_ = tableKey(table);
    ++fileReads_[read.table_];  // taken back below when the table is found
    File* file = enabled_ ? watch(db) : nullptr;
    if (file == nullptr) return read;
    const std::optional<std::int64_t> version = file->currentVersion();
    if (!version) {
        files_.erase(db.fileIdentity());
        return read;
    }
    if (*version != file->version) {
        file->tables.clear();  // something was committed since they were read
        file->version = *version;
    }
    read.cache_ = this;
    read.file_ = db.fileIdentity();
    read.version_ = *version;
    if (auto it = file->tables.find(read.table_); it != file->tables.end()) {
        read.found_ = &it->second;
        --fileReads_[read.table_];
    }
    return read;
}

void TableCache::Read::keep(const std::vector<FieldDef>& fields,
                            std::shared_ptr<const TableRows> rows) {
    if (cache_ == nullptr || found_ != nullptr) return;
    auto it = cache_->files_.find(file_);
    // Kept only when no later read has seen the file at a newer version meanwhile.
    if (it == cache_->files_.end() || it->second->version != version_) return;
    it->second->tables[table_] = Table{fields, std::move(rows)};
}

}  // namespace store
