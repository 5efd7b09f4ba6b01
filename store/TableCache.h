#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/Database.h"
#include "store/Query.h"
#include "store/RowArena.h"
#include "store/TextMap.h"
#include "store/Values.h"

namespace store {

// The rows of a result set. Rows of a whole table, once read, are shared by the table cache and
// by every query that reads the same table at the same version of the file, and never change: a
// query that writes a row works on a copy of its own from then on.
struct TableRows : RowArena {
    // Column totals (Query::columnTotal), worked out once for these rows.
    mutable std::map<int, values::Total> columnTotals;
    // Each indexed column's trimmed texts, each with its row (Query::rowsWithText), made at the
    // first look-up in these rows. The texts point into the rows.
    using TextIndex = std::unordered_multimap<std::string_view, int>;
    mutable std::map<int, TextIndex> textIndexes;

    // The sums of a number column over the rows that share a trimmed text in another column
    // (Query::sumWithText), made at the first look-up and, unlike the indexes above, kept up to
    // date by the row changes below: a sale finds the new stock of its code without a pass over
    // the rows. The keys are copies, so the sums survive a copy of the rows.
    using Sums = TextMap<values::Total>;
    struct TextSums {
        int textColumn = 0;
        int numberColumn = 0;
        Sums sums;
    };
    mutable std::vector<TextSums> textSums;
    const TextSums& textSumsOf(int textColumn, int numberColumn) const;

    // RowArena's row changes, with the sums above following them.
    void appendRow(std::int64_t rowId, const std::vector<std::string>& cells,
                   const std::vector<bool>& nulls);
    void replaceRow(std::size_t row, const std::vector<std::string>& cells,
                    const std::vector<bool>& nulls);
    void removeRow(std::size_t row);
    void removeRows(const std::vector<int>& ascendingRows);

  private:
    void addToSums(std::size_t row, bool add);
};

// "select * from <table>" result sets of each database file, served again while the file is at
// the version at which they were read. The versions come from the engine's change watch, kept by
// the cache for each database: a file's own "PRAGMA data_version" on a connection of the watch,
// which changes with every commit of any other connection, of this process or of another one; a
// server's change counter of each table. Files are known by device and inode, so a file
// put in place under the same name (a restore) is never served from the old file's rows.
class TableCache {
  public:
    static TableCache& instance();

    TableCache() = default;
    ~TableCache();
    TableCache(const TableCache&) = delete;
    TableCache& operator=(const TableCache&) = delete;

    struct Table {
        std::vector<FieldDef> fields;
        std::shared_ptr<const TableRows> rows;
    };

    // One read of a whole table. found() is the table read at the file's current version, when
    // there is one; otherwise the reader reads the file and hands its rows to keep(), which keeps
    // them under the version taken before the read (a commit during the read only costs a later
    // read, never a stale list).
    class Read {
      public:
        const Table* found() const noexcept { return found_; }
        void keep(const std::vector<FieldDef>& fields, std::shared_ptr<const TableRows> rows);

      private:
        friend class TableCache;
        TableCache* cache_ = nullptr;  // null: the read is not shared
        Database::FileIdentity file_;
        std::int64_t version_ = 0;
        std::string table_;
        const Table* found_ = nullptr;
    };

    // Begins a read of table on db. The caller makes sure the read is one to share: a whole
    // table, no parameters, outside any transaction of its connection.
    Read begin(const Database& db, std::string_view table);

    // Reads of whole tables that went to a file, counted by table name (for checks).
    int fileReads(std::string_view table) const;
    void clear();                     // forgets every file (for checks)
    std::size_t memoryUsage() const;  // bytes of the rows kept (for measurements)
    // Off, every read goes to the file as if nothing were kept (for measurements).
    void setEnabled(bool enabled);

  private:
    struct File;
    File* watch(const Database& db);
    void forgetReplacedFiles();

    std::map<Database::FileIdentity, std::unique_ptr<File>> files_;
    std::map<std::string, int> fileReads_;
    bool enabled_ = true;
};

}  // namespace store
