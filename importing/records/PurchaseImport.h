#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "importing/readers/SheetReader.h"
#include "importing/records/ColumnMapping.h"
#include "importing/records/RowCheck.h"

namespace store {
class Connection;
}

// The import of purchases from a file into 表1. The preview's dry run and the import are one and
// the same pass over the file's rows; the dry run only writes nothing.
namespace importing {

// Hands the rows of a file to a sink, the header row first: readSheet on a path, or rows a test
// makes up.
using RowSource = std::function<SheetFacts(const RowSink&)>;
RowSource fileSource(const std::string& path, const ReadOptions& options = {});

inline constexpr int kPreviewRows = 50;

struct ImportSettings {
    // The mapping of the file's columns; when empty, the one remembered for the headers, and
    // without one the headers are mapped by aliases.
    std::optional<ColumnMapping> mapping;
    std::function<std::optional<ColumnMapping>(const std::vector<std::string>& headers)> remembered;
    std::vector<HeaderAlias> aliases = columnNameAliases();
    bool skipFaultyRows = false;  // "跳过有错误的行"
    // Told the number of data rows read so far, every few thousand rows; false stops (取消).
    std::function<bool(std::int64_t rowsRead)> progress;
};

// What the pass found (and, for an import, did).
struct ImportSummary {
    SheetFacts facts;
    std::vector<std::string> headers;
    ColumnMapping mapping;
    std::string unmappedRequired;      // the required fields no column goes into
    std::vector<PurchaseRow> preview;  // the first kPreviewRows rows that can be stored
    std::vector<CellError> errors;     // every problem, in the file's order
    std::int64_t storableRows = 0;
    std::int64_t faultyRows = 0;
    std::int64_t blankRows = 0;
    bool cancelled = false;
    std::int64_t importId = 0;      // of the import written; 0 when nothing was written
    std::int64_t importedRows = 0;  // the rows written

    // Whether an import may run: a header row, every required field mapped, something to store,
    // and no faulty row unless they are skipped.
    bool canImport(bool skipFaultyRows) const;
};

// The import as it is recorded.
struct ImportFile {
    std::string fileName;     // shown in the list of imports
    std::string contentHash;  // contentHash() of the file
    std::string time;         // yyyy-MM-dd HH:mm:ss
};

// The SHA-256 of the file's bytes, as 64 hex digits. Throws ReadError when it cannot be read.
std::string contentHash(const std::string& path);

// The time of the latest import recorded with this content hash; none when there is none.
std::optional<std::string> importedBefore(store::Connection& connection, const std::string& hash);

// Reads the source, maps and checks every row, and writes nothing.
ImportSummary dryRun(const RowSource& source, const ImportSettings& settings);

// The same pass, storing the rows as purchase entry does (销售 figures 0, 库存数量 = 进货数量,
// 进货金额 and 库存金额 = 进货单价 × 进货数量 exactly) in one transaction with the record of the
// import, its goods rows noted. Nothing is written when the pass is cancelled, when canImport()
// says no (a faulty row without skipFaultyRows), or on an error, which is thrown on.
ImportSummary importRows(store::Connection& connection, const RowSource& source,
                         const ImportSettings& settings, const ImportFile& file);

}  // namespace importing
